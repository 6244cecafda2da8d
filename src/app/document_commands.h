// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace penmoji {

class CommandRegistry;
class DrawingSaving;
class EditorDocument;
class RecentFiles;
class UserInteraction;

// The commands that change the drawing as a whole or move it to and from files: new vector,
// delete the selected vector, initialise, open, save, save as and the recent files.
class DocumentCommands final : public QObject {
    Q_OBJECT
public:
    DocumentCommands(EditorDocument& document, UserInteraction& interaction, DrawingSaving& saving,
                     RecentFiles* recentFiles, QWidget& window, CommandRegistry& commands);

    // Opens a drawing named outside the dialog (a dropped file, a recent one), after asking
    // about unsaved changes. False when it was not opened.
    bool openFile(const QString& path);
    // Opens the drawing named on the command line: a file that cannot be read is reported and
    // leaves the empty drawing. No undo step: the run starts with this drawing.
    void openAtStart(const QString& path);

signals:
    // A drawing was read from `path`, inside the open's undo step, so that what goes with the
    // drawing can join that step.
    void drawingOpened(const QString& path);

private:
    // Starts a vector, or says why not when every slot holds one.
    void newVector();
    void initialise();
    void openVectorFile();
    // Reads the file into the drawing as one undo step; reports a failure.
    bool load(const QString& path);
    void openRecentFile(int index);

    EditorDocument& document_;
    UserInteraction& interaction_;
    DrawingSaving& saving_;
    RecentFiles* recentFiles_;
    QWidget& window_;
};

}  // namespace penmoji
