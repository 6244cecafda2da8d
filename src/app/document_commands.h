// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include "app/command_target.h"

class QWidget;

namespace penmoji {

struct AppState;
struct VectorSet;
class CEditCanvas;
class UserInteraction;

// The commands that change the drawing as a whole or move it to and from files: new vector,
// delete the selected vector, initialise, open, save, save as and the recent files. It also
// knows which file the drawing came from, and asks before unsaved changes would be lost.
class DocumentCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    DocumentCommands(AppState& state, UserInteraction& interaction, CEditCanvas& canvas,
                     QWidget& window);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    // The file the drawing was last opened from or saved to; empty for a new drawing.
    const QString& drawingPath() const { return drawingPath_; }

    // True when the drawing may go: it has no unsaved changes, or the user had them saved or
    // let them go. False when the user cancelled or the save failed.
    bool maySaveChanges();
    // Opens a drawing named outside the dialog (a dropped file, a recent one), after asking
    // about unsaved changes. False when it was not opened.
    bool openFile(const QString& path);
    // Opens the drawing named on the command line: a file that cannot be read is reported and
    // leaves the empty drawing. No undo step: the run starts with this drawing.
    void openAtStart(const QString& path);

    // Replaces the drawing with one made elsewhere (an imported picture) as one undo step named
    // `stepName`. The drawing then has no file of its own, so that saving asks for a name and
    // never writes the picture over the drawing it replaced.
    void replaceWithUntitled(const VectorSet& vectors, const char* stepName);

signals:
    void drawingPathChanged(const QString& path);
    // A drawing was read from `path`, inside the open's undo step, so that what goes with the
    // drawing can join that step; or written to `path`.
    void drawingOpened(const QString& path);
    void drawingSaved(const QString& path);
    // Another drawing took the place of the one edited: opened, initialised or imported.
    void drawingReplaced();

private:
    // Starts a vector, or says why not when every slot holds one.
    void newVector();
    void initialise();
    void openVectorFile();
    // Reads the file into the drawing as one undo step; reports a failure.
    bool load(const QString& path);
    bool save();
    bool saveVectorFileAs();
    bool writeTo(const QString& path);
    void openRecentFile(int index);
    void deleteSelected();
    void setDrawingPath(const QString& path);
    // The canvas stops drawing or moving before the drawing changes under it, so that the
    // gesture's step comes first.
    void endGesture();

    AppState& state_;
    UserInteraction& interaction_;
    CEditCanvas& canvas_;
    QWidget& window_;
    QString drawingPath_;
};

}  // namespace penmoji
