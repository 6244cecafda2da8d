#pragma once

#include <optional>

#include <QImage>
#include <QObject>
#include <QString>

#include "app/command_target.h"
#include "app/trace_sidecar.h"

class QWidget;

namespace penmoji {

struct AppState;
class CEditCanvas;
class UserInteraction;

// The picture to draw over (下絵): opening and closing it, showing it, its opacity, position and
// size, tracing it into vectors, and keeping it with the drawing in the sidecar file. The canvas
// only paints what it is given here.
class TraceCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    TraceCommands(AppState& state, UserInteraction& interaction, CEditCanvas& canvas,
                  QWidget& window);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    bool hasImage() const { return !image_.isNull(); }
    const TraceImageSettings& settings() const { return settings_; }

public slots:
    // A drawing was opened: its sidecar's picture, if any, replaces the one shown.
    void drawingOpened(const QString& drawingPath);
    // A drawing was saved: the sidecar beside it follows the picture.
    void drawingSaved(const QString& drawingPath);

signals:
    // The picture or its settings changed, so the menus' states may have.
    void changed();

private:
    void openImage();
    void closeImage();
    void toggleVisible();
    void chooseOpacity();
    void choosePlacement();
    void traceIntoDrawing();
    bool loadImage(const QString& path, QString& error);
    void apply(const TraceImageSettings& settings);
    void showOnCanvas();

    AppState& state_;
    UserInteraction& interaction_;
    CEditCanvas& canvas_;
    QWidget& window_;
    QImage image_;
    TraceImageSettings settings_;
};

}  // namespace penmoji
