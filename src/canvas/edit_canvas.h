#pragma once

#include <QCursor>
#include <QFrame>

#include "app/command_target.h"
#include "canvas/preview/preview_window.h"
#include "edit/mouse_editor.h"

namespace penmoji {

struct AppState;

// The frame's client window: paints the drawing over the grid and the glyph boxes of the last
// rendering, and forwards the mouse to the editing state. It sees every command first and
// handles new vector and guide lines. Canvas pixel (0, 0) is the top left of the area inside
// the sunken edge; there is no scrolling and no zoom.
class CEditCanvas : public QFrame, public CommandTarget {
    Q_OBJECT
public:
    explicit CEditCanvas(AppState& state, QWidget* parent = nullptr);

    CPreviewWindow& preview() { return preview_; }
    const MouseEditor& editor() const { return editor_; }
    bool showGuides() const { return showGuides_; }

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

signals:
    // The enabled or checked state of a command may have changed without a command being run
    // (a drawing ended by the right button).
    void commandStatesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The second press of a double click is no press for the canvas.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Point canvasPosition(const QMouseEvent* event) const;
    void paintDrawing(QPainter& painter, QSize client) const;
    // Grabs the mouse and puts up the matching cursor while drawing or moving; lets go after.
    void followEditingState();

    AppState& state_;
    MouseEditor editor_;
    bool showGuides_ = true;
    CPreviewWindow preview_;
    QCursor drawCursor_;
    QCursor dragCursor_;
    bool capturing_ = false;
    enum class CursorMode { Arrow, Draw, Drag };
    CursorMode cursorMode_ = CursorMode::Arrow;
    // The drawing state the command states were last announced for.
    bool drawingAnnounced_ = false;
};

}  // namespace penmoji
