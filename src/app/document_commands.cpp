// SPDX-License-Identifier: MIT
#include "app/document_commands.h"

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/edit_texts.h"
#include "app/file_failure_text.h"
#include "app/file_paths.h"
#include "app/finished_report.h"
#include "app/user_interaction.h"
#include "canvas/edit_canvas.h"
#include "document/vector_file.h"

namespace penmoji {
namespace {

FileDialogSetup vectorFileDialog() {
    return {{QString::fromUtf8(text::kVectorFileFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("pmj")};
}

bool isRecentFile(int id) {
    return id >= command::kRecentFileFirst &&
           id < command::kRecentFileFirst + command::kRecentFileCount;
}

// Makes the changes of its lifetime one undo step.
class StepScope {
public:
    StepScope(DocumentHistory& history, const char* name) : history_(history) {
        history_.beginStep(QString::fromUtf8(name));
    }
    ~StepScope() { history_.endStep(); }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    DocumentHistory& history_;
};

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
        case command::kSave:
        case command::kSaveAs:
            return true;
        default:
            return isRecentFile(id);
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
            newVector();
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
        case command::kSave:
            save();
            break;
        case command::kSaveAs:
            saveVectorFileAs();
            break;
        default:
            if (isRecentFile(id)) {
                openRecentFile(id - command::kRecentFileFirst);
            }
            break;
    }
}

void DocumentCommands::endGesture() {
    canvas_.endVector();
}

bool DocumentCommands::maySaveChanges() {
    endGesture();
    if (state_.history.clean()) {
        return true;
    }
    switch (interaction_.askSaveChanges(&window_, QString::fromUtf8(text::kSaveChanges))) {
        case SaveAnswer::Save:
            return save();
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            return false;
    }
    return false;
}

void DocumentCommands::newVector() {
    if (!state_.document.vectors().firstFree()) {
        interaction_.showStatus(&window_, QString::fromUtf8(text::kNoFreeSlot).arg(kSlotCount));
        return;
    }
    canvas_.newVector();
}

void DocumentCommands::initialise() {
    if (!interaction_.askYesNo(&window_, QString::fromUtf8(text::kAreYouSure)) ||
        !maySaveChanges()) {
        return;
    }
    {
        StepScope step(state_.history, text::kStepInitialise);
        state_.document.document().clear();
    }
    state_.history.setClean();
    canvas_.clearRendering();
    setDrawingPath({});
    emit drawingReplaced();
}

void DocumentCommands::openVectorFile() {
    if (!maySaveChanges()) {
        return;
    }
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(&window_, vectorFileDialog());
    if (choice && load(choice->path)) {
        reportFinished(state_, interaction_, &window_);
    }
}

bool DocumentCommands::openFile(const QString& path) {
    return maySaveChanges() && load(path);
}

void DocumentCommands::openAtStart(const QString& path) {
    if (load(path)) {
        state_.history.clearSteps();
    }
}

void DocumentCommands::openRecentFile(int index) {
    if (!state_.recentFiles) {
        return;
    }
    const QStringList entries = state_.recentFiles->entries();
    if (index < entries.size()) {
        openFile(entries[index]);
    }
}

bool DocumentCommands::load(const QString& path) {
    endGesture();
    FileStatus status = FileStatus::success();
    {
        StepScope step(state_.history, text::kStepOpen);
        status = state_.document.document().load(toFilePath(path));
        if (status.ok()) {
            // The picture under the drawing comes back with it, in the same step.
            emit drawingOpened(path);
        }
    }
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return false;
    }
    state_.history.setClean();
    canvas_.clearRendering();
    setDrawingPath(path);
    emit drawingReplaced();
    if (state_.recentFiles) {
        state_.recentFiles->add(path);
    }
    return true;
}

void DocumentCommands::replaceWithUntitled(const VectorSet& vectors, const char* stepName) {
    endGesture();
    {
        StepScope step(state_.history, stepName);
        state_.document.document().replaceAll(vectors);
    }
    canvas_.clearRendering();
    setDrawingPath({});
    emit drawingReplaced();
}

bool DocumentCommands::save() {
    if (drawingPath_.isEmpty()) {
        return saveVectorFileAs();
    }
    return writeTo(drawingPath_);
}

bool DocumentCommands::saveVectorFileAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, vectorFileDialog());
    if (!choice || !writeTo(choice->path)) {
        return false;
    }
    reportFinished(state_, interaction_, &window_);
    setDrawingPath(choice->path);
    return true;
}

bool DocumentCommands::writeTo(const QString& path) {
    // The file on disk is left as it was when the save fails.
    const FileStatus status = saveVectorFile(toFilePath(path), state_.document.vectors());
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return false;
    }
    emit drawingSaved(path);
    state_.history.setClean();
    if (state_.recentFiles) {
        state_.recentFiles->add(path);
    }
    return true;
}

void DocumentCommands::deleteSelected() {
    // The vector being drawn is finished first, so that deleting it can be undone.
    endGesture();
    StepScope step(state_.history, text::kStepDelete);
    state_.document.document().deleteVector(canvas_.editor().selectedSlot());
}

void DocumentCommands::setDrawingPath(const QString& path) {
    if (path != drawingPath_) {
        drawingPath_ = path;
        emit drawingPathChanged(path);
    }
}

}  // namespace penmoji
