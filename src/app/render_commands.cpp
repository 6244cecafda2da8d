// SPDX-License-Identifier: MIT
#include "app/render_commands.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include <QFileInfo>
#include <QMainWindow>

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/file_failure_text.h"
#include "app/file_renderer.h"
#include "app/render_options_dialog.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"
#include "canvas/file_paths.h"
#include "compose/output_writers.h"

namespace penmoji {
namespace {

FileDialogSetup renderFileDialog() {
    return {{QString::fromUtf8(text::kTextFilter), QString::fromUtf8(text::kTxFilter),
             QString::fromUtf8(text::kHtmlFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("txt")};
}

// The output is written beside the file and renamed over it only once complete, so this only
// finds out beforehand whether the file can be written at all, without truncating it.
bool canOpenForWriting(const std::filesystem::path& path) {
    std::error_code error;
    const bool existed = std::filesystem::exists(path, error);
    {
        std::ofstream probe(path, std::ios::binary | std::ios::app);
        if (!probe) {
            return false;
        }
    }
    if (!existed) {
        std::filesystem::remove(path, error);
    }
    return true;
}

}  // namespace

RenderCommands::RenderCommands(EditorDocument& document, UserInteraction& interaction,
                               FileRenderer& renderer, QMainWindow& window,
                               CommandRegistry& commands)
    : document_(document), interaction_(interaction), renderer_(renderer), window_(window) {
    const auto idle = [this] { return !renderer_.busy(); };
    commands.add({
        .id = command::kRenderAs,
        .text = QT_TRANSLATE_NOOP("Penmoji", "名前を付けてレンダリング"),
        .prompt = text::kRenderAsPrompt,
        .run = [this] { renderAs(); },
        .enabledWhen = idle,
    });
    commands.add({
        .id = command::kReRender,
        .text = QT_TRANSLATE_NOOP("Penmoji", "再レンダリング\tctrl-R"),
        .prompt = text::kReRenderPrompt,
        .keys = {Qt::CTRL | Qt::Key_R},
        .run = [this] { reRender(); },
        .enabledWhen =
            [this] { return !document_.renderTarget().path.isEmpty() && !renderer_.busy(); },
    });
    commands.add({
        .id = command::kRenderSettings,
        .text = QT_TRANSLATE_NOOP("Penmoji", "レンダリング設定"),
        .run = [this] { runRenderOptionsDialog(); },
    });
    commands.add({
        .id = command::kFineMatching,
        .text = text::kFineMatching,
        .prompt = text::kFineMatchingPrompt,
        .run = [this] { toggleFineMatching(); },
        .checkedWhen = [this] { return document_.renderSettings().fine; },
    });
    commands.refreshOn(&renderer_, &FileRenderer::busyChanged,
                       {command::kRenderAs, command::kReRender});
    commands.refreshOn(&document_, &EditorDocument::renderTargetChanged, {command::kReRender});
    commands.refreshOn(&document_, &EditorDocument::renderSettingsChanged,
                       {command::kFineMatching});
}

void RenderCommands::toggleFineMatching() {
    RenderSettings settings = document_.renderSettings();
    settings.fine = !settings.fine;
    document_.setRenderSettings(settings);
}

void RenderCommands::message(const QString& text) {
    interaction_.showMessage(&window_, text);
}

void RenderCommands::renderAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, renderFileDialog());
    if (!choice) {
        return;
    }
    if (!canOpenForWriting(toFilePath(choice->path))) {
        message(QString::fromUtf8(text::kOutputOpenError));
        return;
    }
    // A cancelled or failed rendering leaves re-render where it was: nothing was written here.
    renderToFile(choice->path, choice->extension, [this, choice = *choice] {
        document_.setRenderTarget(choice.path, choice.extension);
        interaction_.reportFinished(&window_);
    });
}

void RenderCommands::reRender() {
    const RenderTarget target = document_.renderTarget();
    if (target.path.isEmpty()) {
        return;
    }
    if (target.ofEarlierDrawing &&
        !interaction_.askYesNo(&window_, QString::fromUtf8(text::kOverwriteEarlierRendering)
                                             .arg(QFileInfo(target.path).fileName()))) {
        renderAs();
        return;
    }
    if (!canOpenForWriting(toFilePath(target.path))) {
        message(QString::fromUtf8(text::kOutputOpenError));
        return;
    }
    renderToFile(target.path, target.extension,
                 [this, target] { document_.setRenderTarget(target.path, target.extension); });
}

void RenderCommands::renderToFile(const QString& path, const QString& extension,
                                  std::function<void()> written) {
    renderer_.renderDrawing(
        [this, path, extension, written](std::shared_ptr<const RenderOutcome> outcome) {
            if (!outcome) {
                return;
            }
            const FileStatus status = saveRenderedText(toFilePath(path), outcome->result.text,
                                                       outputFormatFor(extension.toStdString()));
            if (!status.ok()) {
                message(fileFailureText(text::kOutputWriteError, status));
                return;
            }
            written();
        });
}

void RenderCommands::runRenderOptionsDialog() {
    CRenderOptionsDialog dialog(interaction_, &window_);
    dialog.loadFrom(document_.renderSettings());
    dialog.boardProfile = document_.boardProfile();
    if (interaction_.runDialog(dialog) == QDialog::Accepted) {
        document_.setBoardProfile(dialog.boardProfile);
        document_.setRenderSettings(clampSettings(dialog.storedSettings()));
    }
}

}  // namespace penmoji
