// SPDX-License-Identifier: MIT
#include "app/document_commands.h"

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/edit_texts.h"
#include "app/file_failure_text.h"
#include "app/recent_files.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"
#include "canvas/file_paths.h"
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

}  // namespace

DocumentCommands::DocumentCommands(EditorDocument& document, UserInteraction& interaction,
                                   RecentFiles* recentFiles, QWidget& window)
    : document_(document), interaction_(interaction), recentFiles_(recentFiles), window_(window) {}

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
        return {!document_.editor().drawing(), false};
    }
    return {true, false};
}

void DocumentCommands::executeCommand(int id) {
    switch (id) {
        case command::kNewVector:
            newVector();
            break;
        case command::kDeleteSelected:
            document_.deleteSelected();
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

bool DocumentCommands::maySaveChanges() {
    document_.endVector();
    if (!document_.isModified()) {
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
    if (!document_.newVector()) {
        interaction_.showStatus(&window_, QString::fromUtf8(text::kNoFreeSlot).arg(kSlotCount));
    }
}

void DocumentCommands::initialise() {
    if (interaction_.askYesNo(&window_, QString::fromUtf8(text::kAreYouSure)) && maySaveChanges()) {
        document_.initialise();
    }
}

void DocumentCommands::openVectorFile() {
    if (!maySaveChanges()) {
        return;
    }
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(&window_, vectorFileDialog());
    if (choice && load(choice->path)) {
        interaction_.reportFinished(&window_);
    }
}

bool DocumentCommands::openFile(const QString& path) {
    return maySaveChanges() && load(path);
}

void DocumentCommands::openAtStart(const QString& path) {
    if (load(path)) {
        document_.startHistoryHere();
    }
}

void DocumentCommands::openRecentFile(int index) {
    if (recentFiles_ == nullptr) {
        return;
    }
    const QStringList entries = recentFiles_->entries();
    if (index < entries.size()) {
        openFile(entries[index]);
    }
}

bool DocumentCommands::load(const QString& path) {
    // The picture under the drawing comes back with it, in the same step.
    const FileStatus status = document_.load(path, [&] { emit drawingOpened(path); });
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return false;
    }
    rememberFile(path);
    return true;
}

bool DocumentCommands::save() {
    if (document_.filePath().isEmpty()) {
        return saveVectorFileAs();
    }
    return writeTo(document_.filePath());
}

bool DocumentCommands::saveVectorFileAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, vectorFileDialog());
    if (!choice || !writeTo(choice->path)) {
        return false;
    }
    interaction_.reportFinished(&window_);
    return true;
}

bool DocumentCommands::writeTo(const QString& path) {
    const FileStatus status = document_.save(path);
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return false;
    }
    rememberFile(path);
    return true;
}

void DocumentCommands::rememberFile(const QString& path) {
    if (recentFiles_ != nullptr) {
        recentFiles_->add(path);
    }
}

}  // namespace penmoji
