// The frame's own commands: the document, rendering into a file, and the settings dialogs.

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/main_frame.h"
#include "app/progress_dialog.h"
#include "app/render_options_dialog.h"
#include "app/user_interaction.h"
#include "canvas/edit_canvas.h"
#include "app/grid_commands.h"
#include "compose/output_writers.h"
#include "compose/render_driver.h"
#include "document/file_status.h"
#include "document/vector_file.h"

namespace penmoji {
namespace {

FileDialogSetup vectorFileDialog() {
    return {{QString::fromUtf8(text::kVectorFileFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("pmj")};
}

FileDialogSetup renderFileDialog() {
    return {{QString::fromUtf8(text::kTextFilter), QString::fromUtf8(text::kTxFilter),
             QString::fromUtf8(text::kHtmlFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("txt")};
}

std::filesystem::path toFilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
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

void CMainFrame::message(const char* text) {
    interaction_.showMessage(this, QString::fromUtf8(text));
}

void CMainFrame::initialise() {
    if (interaction_.askYesNo(this, QString::fromUtf8(text::kAreYouSure))) {
        state_.vectors.clearAll();
        state_.boxes.clearBoxes();
    }
    canvas_->update();
}

void CMainFrame::openVectorFile() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(this, vectorFileDialog());
    if (!choice) {
        return;
    }
    if (!loadVectorFile(toFilePath(choice->path), state_.vectors).ok()) {
        message(text::kCannotOpenFile);
        return;
    }
    message(text::kFinished);
    state_.boxes.clearBoxes();
    canvas_->update();
}

void CMainFrame::saveVectorFileAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(this, vectorFileDialog());
    if (!choice) {
        return;
    }
    // A failed write is reported like a file that cannot be opened; the file on disk is left
    // as it was either way.
    const bool saved = saveVectorFile(toFilePath(choice->path), state_.vectors).ok();
    message(saved ? text::kFinished : text::kCannotOpenFile);
}

void CMainFrame::deleteSelected() {
    state_.vectors.deleteSelected();
    canvas_->update();
}

void CMainFrame::renderAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(this, renderFileDialog());
    if (!choice) {
        canvas_->update();
        return;
    }
    if (!canOpenForWriting(toFilePath(choice->path))) {
        message(text::kOutputOpenError);
        return;
    }
    renderPath_ = choice->path;
    renderExtension_ = choice->extension;
    if (renderToFile()) {
        message(text::kFinished);
    }
    canvas_->update();
}

void CMainFrame::reRender() {
    if (renderPath_.isEmpty()) {
        canvas_->update();
        return;
    }
    if (!canOpenForWriting(toFilePath(renderPath_))) {
        message(text::kOutputOpenError);
        return;
    }
    renderToFile();
    canvas_->update();
}

bool CMainFrame::renderToFile() {
    const bool wasActive = isActiveWindow();
    std::string rendered;
    {
        CProgressDialog progress(this);
        progress.showNow();
        rendered = renderText(state_.vectors, state_.renderSettings, state_.boxes, progress,
                              state_.random);
    }
    // Some window systems leave no window active when the progress window goes; the keys,
    // Ctrl+R above all, must keep working without a click.
    if (wasActive && !isActiveWindow()) {
        activateWindow();
    }
    canvas_->preview().setPreviewText(rendered);
    const FileStatus written = saveRenderedText(toFilePath(renderPath_), rendered,
                                                outputFormatFor(renderExtension_.toStdString()));
    if (!written.ok()) {
        message(text::kOutputWriteError);
        return false;
    }
    return true;
}

void CMainFrame::runRenderOptionsDialog() {
    CRenderOptionsDialog dialog(interaction_, this);
    dialog.loadFrom(state_.renderSettings);
    if (interaction_.runDialog(dialog) == QDialog::Accepted) {
        state_.renderSettings = clampSettings(dialog.storedSettings());
    }
}

void CMainFrame::switchGrid() {
    toggleGrid(state_.grid);
    canvas_->update();
}

void CMainFrame::runGridDialog() {
    if (const std::optional<GridSettings> grid =
            editGridSettings(state_.grid, interaction_, this)) {
        state_.grid = *grid;
        canvas_->update();
    }
}

}  // namespace penmoji
