// SPDX-License-Identifier: MIT
#include "app/render_commands.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include <QFileInfo>
#include <QMainWindow>

#include "app/app_texts.h"
#include "app/command_ids.h"
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
                               FileRenderer& renderer, QMainWindow& window)
    : document_(document), interaction_(interaction), renderer_(renderer), window_(window) {}

bool RenderCommands::handlesCommand(int id) const {
    return id == command::kRenderAs || id == command::kReRender || id == command::kRenderSettings ||
           id == command::kFineMatching;
}

CommandState RenderCommands::commandState(int id) const {
    if (id == command::kReRender) {
        return {!document_.renderTarget().path.isEmpty() && !renderer_.busy(), false};
    }
    if (id == command::kRenderAs) {
        return {!renderer_.busy(), false};
    }
    if (id == command::kFineMatching) {
        return {true, document_.renderSettings().fine};
    }
    return {true, false};
}

void RenderCommands::executeCommand(int id) {
    if (id == command::kRenderAs) {
        renderAs();
    } else if (id == command::kReRender) {
        reRender();
    } else if (id == command::kRenderSettings) {
        runRenderOptionsDialog();
    } else if (id == command::kFineMatching) {
        RenderSettings settings = document_.renderSettings();
        settings.fine = !settings.fine;
        document_.setRenderSettings(settings);
    }
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
