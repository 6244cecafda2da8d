// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "app/user_interaction.h"

class QWidget;

namespace penmoji {

class EditorDocument;
class RecentFiles;

// The file dialog of drawing files.
FileDialogSetup vectorFileDialog();

// Saves the drawing, to its own file or to one the user names, and asks before unsaved changes
// would be lost: what save, save as, and everything that replaces the drawing or closes the
// window share.
class DrawingSaving final {
public:
    DrawingSaving(EditorDocument& document, UserInteraction& interaction, RecentFiles* recentFiles,
                  QWidget& window);

    // True when the drawing may go: it has no unsaved changes, or the user had them saved or
    // let them go. False when the user cancelled or the save failed.
    bool maySaveChanges();
    // Writes to the drawing's own file, or asks for one when it has none.
    bool save();
    // Asks for a file and writes the drawing there; "終了" follows.
    bool saveAs();
    // Keeps `path` first among the recent files.
    void rememberFile(const QString& path);

private:
    bool writeTo(const QString& path);

    EditorDocument& document_;
    UserInteraction& interaction_;
    RecentFiles* recentFiles_;
    QWidget& window_;
};

}  // namespace penmoji
