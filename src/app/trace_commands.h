// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
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

// The picture under the drawing as the undo history keeps it: a null image when there is none.
struct TraceImageState {
    QImage image;
    TraceImageSettings settings;
};

// The picture to draw over (下絵): opening and closing it, showing it, its opacity, position
// and size, moving it by drag and by key, tracing it into vectors, and keeping it with the
// drawing in the sidecar file. Each change is a step of the drawing's undo history. The canvas
// only paints what it is given here.
class TraceCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    TraceCommands(AppState& state, UserInteraction& interaction, CEditCanvas& canvas,
                  QWidget& window);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    bool hasImage() const { return !current_.image.isNull(); }
    const TraceImageSettings& settings() const { return current_.settings; }
    bool smooth() const { return smooth_; }

    // Puts the picture and its settings on the canvas, with no undo step (undo and redo use it).
    void show(const TraceImageState& state);

    // Nudges further apart than this start a new undo step.
    static constexpr int kNudgeRunMs = 1000;

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
    void chooseOpacity();
    void choosePlacement();
    void traceIntoDrawing();
    void nudge(int dx, int dy);
    void toggleSmooth();
    QImage loadImage(const QString& path, QString& error) const;
    // Makes `after` the picture's state as one undo step named `name`; nothing when it is the
    // state already. A nudge that does not start a run merges into the nudge step before it.
    void change(const TraceImageState& after, const char* name, bool nudge = false,
                bool startsRun = true);
    TraceImageState withSettings(const TraceImageSettings& settings) const;

    AppState& state_;
    UserInteraction& interaction_;
    CEditCanvas& canvas_;
    QWidget& window_;
    TraceImageState current_;
    bool smooth_ = true;
    QElapsedTimer lastNudge_;
};

}  // namespace penmoji
