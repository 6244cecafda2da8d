#pragma once

#include <QObject>
#include <QString>

#include "app/command_target.h"

class QWidget;

namespace penmoji {

struct AppState;
class CEditCanvas;
class UserInteraction;

// The commands that change the drawing or move it to and from files: new vector, delete the
// selected vector, initialise, open and save as. It also knows which file the drawing came from.
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

signals:
    void drawingPathChanged(const QString& path);
    // A drawing was read from or written to `path`, after the change of path.
    void drawingOpened(const QString& path);
    void drawingSaved(const QString& path);

private:
    void initialise();
    void openVectorFile();
    void saveVectorFileAs();
    void deleteSelected();
    void setDrawingPath(const QString& path);

    AppState& state_;
    UserInteraction& interaction_;
    CEditCanvas& canvas_;
    QWidget& window_;
    QString drawingPath_;
};

}  // namespace penmoji
