// SPDX-License-Identifier: MIT
#include "app/drawing_saving.h"

#include "app/app_texts.h"
#include "app/file_failure_text.h"
#include "app/recent_files.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"

namespace penmoji {

FileDialogSetup vectorFileDialog() {
    return {{QString::fromUtf8(text::kVectorFileFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("pmj")};
}

DrawingSaving::DrawingSaving(EditorDocument& document, UserInteraction& interaction,
                             RecentFiles* recentFiles, QWidget& window)
    : document_(document), interaction_(interaction), recentFiles_(recentFiles), window_(window) {}

bool DrawingSaving::maySaveChanges() {
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

bool DrawingSaving::save() {
    if (document_.filePath().isEmpty()) {
        return saveAs();
    }
    return writeTo(document_.filePath());
}

bool DrawingSaving::saveAs() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, vectorFileDialog());
    if (!choice || !writeTo(choice->path)) {
        return false;
    }
    interaction_.reportFinished(&window_);
    return true;
}

bool DrawingSaving::writeTo(const QString& path) {
    const FileStatus status = document_.save(path);
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return false;
    }
    rememberFile(path);
    return true;
}

void DrawingSaving::rememberFile(const QString& path) {
    if (recentFiles_ != nullptr) {
        recentFiles_->add(path);
    }
}

}  // namespace penmoji
