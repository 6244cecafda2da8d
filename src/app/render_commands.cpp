// SPDX-License-Identifier: MIT
#include "app/render_commands.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include <QEventLoop>
#include <QFileInfo>
#include <QMainWindow>

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/file_failure_text.h"
#include "app/progress_dialog.h"
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
                               QMainWindow& window)
    : document_(document), interaction_(interaction), window_(window) {
    connect(&service_, &RenderService::busyChanged, this, &RenderCommands::busyChanged);
}

bool RenderCommands::handlesCommand(int id) const {
    return id == command::kRenderAs || id == command::kReRender || id == command::kRenderSettings ||
           id == command::kFineMatching;
}

CommandState RenderCommands::commandState(int id) const {
    if (id == command::kReRender) {
        return {!document_.renderTarget().path.isEmpty(), false};
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
    if (renderToFile(choice->path, choice->extension)) {
        document_.setRenderTarget(choice->path, choice->extension);
        interaction_.reportFinished(&window_);
    }
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
    if (renderToFile(target.path, target.extension)) {
        document_.setRenderTarget(target.path, target.extension);
    }
}

std::shared_ptr<const RenderOutcome> RenderCommands::renderForFile() {
    std::shared_ptr<const RenderOutcome> outcome =
        renderWithProgress({std::make_shared<const VectorSet>(document_.vectors()),
                            document_.renderSettings(), document_.random()});
    if (!outcome) {
        return nullptr;
    }
    // The next file goes on with the dot sequence where this one left it.
    document_.advanceDots(outcome->random);
    emit rendered(outcome);
    return outcome;
}

std::shared_ptr<const RenderOutcome> RenderCommands::renderCopiedForFile(
    std::shared_ptr<const VectorSet> drawing) {
    std::shared_ptr<const RenderOutcome> outcome =
        renderWithProgress({std::move(drawing), document_.renderSettings(), document_.random()});
    if (outcome) {
        document_.advanceDots(outcome->random);
    }
    return outcome;
}

bool RenderCommands::renderToFile(const QString& path, const QString& extension) {
    const std::shared_ptr<const RenderOutcome> outcome = renderForFile();
    if (!outcome) {
        return false;
    }
    const FileStatus written = saveRenderedText(toFilePath(path), outcome->result.text,
                                                outputFormatFor(extension.toStdString()));
    if (!written.ok()) {
        message(fileFailureText(text::kOutputWriteError, written));
        return false;
    }
    return true;
}

std::shared_ptr<const RenderOutcome> RenderCommands::renderWithProgress(RenderJob job) {
    QString failure;
    const bool wasActive = window_.isActiveWindow();
    std::shared_ptr<const RenderOutcome> outcome;
    {
        CProgressDialog progress(&window_);
        progress.showNow();
        QEventLoop loop;
        RenderService::Ticket ticket = 0;
        connect(&service_, &RenderService::progressed, &progress, &CProgressDialog::reportProgress);
        connect(&service_, &RenderService::finished, &loop,
                [&](RenderService::Ticket done, std::shared_ptr<const RenderOutcome> result) {
                    if (done == ticket) {
                        outcome = std::move(result);
                        loop.quit();
                    }
                });
        connect(&service_, &RenderService::dropped, &loop, [&](RenderService::Ticket done) {
            if (done == ticket) {
                loop.quit();
            }
        });
        connect(&service_, &RenderService::failed, &loop,
                [&](RenderService::Ticket done, const QString& why) {
                    if (done == ticket) {
                        failure = why;
                        loop.quit();
                    }
                });
        // The service's stop reports the rendering dropped, which ends the loop.
        connect(&progress, &CProgressDialog::cancelled, &service_, &RenderService::stop);
        ticket = service_.render(std::move(job));
        // The window keeps painting; the progress dialog is modal, so the drawing cannot change
        // under a rendering that is to be saved, and only its Cancel takes input.
        loop.exec();
    }
    // Some window systems leave no window active when the progress window goes; the keys,
    // Ctrl+R above all, must keep working without a click.
    if (wasActive && !window_.isActiveWindow()) {
        window_.activateWindow();
    }
    // Cancelled: nothing needs saying.
    if (!failure.isEmpty()) {
        message(failure);
    }
    return outcome;
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
