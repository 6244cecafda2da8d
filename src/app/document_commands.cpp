#include "app/document_commands.h"

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/file_failure_text.h"
#include "app/file_paths.h"
#include "app/user_interaction.h"
#include "canvas/edit_canvas.h"
#include "document/vector_file.h"

namespace penmoji {
namespace {

FileDialogSetup vectorFileDialog() {
    return {{QString::fromUtf8(text::kVectorFileFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("pmj")};
}

}  // namespace

DocumentCommands::DocumentCommands(AppState& state, UserInteraction& interaction,
                                   CEditCanvas& canvas, QWidget& window)
    : state_(state), interaction_(interaction), canvas_(canvas), window_(window) {}

bool DocumentCommands::handlesCommand(int id) const {
    switch (id) {
        case command::kNewVector:
        case command::kDeleteSelected:
        case command::kInitialise:
        case command::kOpen:
        case command::kSaveAs:
            return true;
        default:
            return false;
    }
}

CommandState DocumentCommands::commandState(int id) const {
    if (id == command::kNewVector) {
        return {!canvas_.editor().drawing(), false};
    }
    return {true, false};
}

void DocumentCommands::executeCommand(int id) {
    switch (id) {
        case command::kNewVector:
            canvas_.newVector();
            break;
        case command::kDeleteSelected:
            deleteSelected();
            break;
        case command::kInitialise:
            initialise();
            break;
        case command::kOpen:
            openVectorFile();
            break;
        case command::kSaveAs:
            saveVectorFileAs();
            break;
        default:
            break;
    }
}

void DocumentCommands::initialise() {
    if (interaction_.askYesNo(&window_, QString::fromUtf8(text::kAreYouSure))) {
        state_.document.document().clear();
        canvas_.setGlyphBoxes({});
        setDrawingPath({});
    }
}

void DocumentCommands::openVectorFile() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(&window_, vectorFileDialog());
    if (!choice) {
        return;
    }
    const FileStatus status = state_.document.document().load(toFilePath(choice->path));
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return;
    }
    interaction_.showMessage(&window_, QString::fromUtf8(text::kFinished));
    canvas_.setGlyphBoxes({});
    setDrawingPath(choice->path);
    emit drawingOpened(choice->path);
}

void DocumentCommands::saveVectorFileAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, vectorFileDialog());
    if (!choice) {
        return;
    }
    // The file on disk is left as it was when the save fails.
    const FileStatus status = saveVectorFile(toFilePath(choice->path), state_.document.vectors());
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return;
    }
    interaction_.showMessage(&window_, QString::fromUtf8(text::kFinished));
    setDrawingPath(choice->path);
    emit drawingSaved(choice->path);
}

void DocumentCommands::deleteSelected() {
    // Deleting the vector being drawn ends the drawing: the editor hears of the change.
    state_.document.document().deleteVector(canvas_.editor().selectedSlot());
}

void DocumentCommands::setDrawingPath(const QString& path) {
    if (path != drawingPath_) {
        drawingPath_ = path;
        emit drawingPathChanged(path);
    }
}

}  // namespace penmoji
