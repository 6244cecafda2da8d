#pragma once

#include <QCursor>
#include <QFrame>

#include "canvas/preview/preview_window.h"
#include "canvas/trace_layer.h"
#include "edit/grid_settings.h"
#include "edit/mouse_editor.h"
#include "render/glyph_box_list.h"

namespace penmoji {

class CharWidthTable;
class DocumentModel;

// The frame's client window: paints the drawing over the grid and the glyph boxes of the last
// rendering, and forwards the mouse to the editing state. It only paints and handles input:
// what it shows comes in through its slots and the document's change signal. Canvas pixel
// (0, 0) is the top left of the area inside the sunken edge; there is no scrolling and no zoom.
class CEditCanvas : public QFrame, private GestureObserver {
    Q_OBJECT
public:
    CEditCanvas(DocumentModel& model, CharWidthTable& charWidths, QWidget* parent = nullptr);

    CPreviewWindow& preview() { return preview_; }
    const MouseEditor& editor() const { return editor_; }
    bool showGuides() const { return showGuides_; }
    const GridSettings& grid() const { return grid_; }
    const GlyphBoxList& glyphBoxes() const { return boxes_; }

public slots:
    // Starts drawing a new vector; does nothing while one is being drawn.
    void newVector();
    void setShowGuides(bool show);
    void setGrid(const penmoji::GridSettings& grid);
    void setGlyphBoxes(const penmoji::GlyphBoxList& boxes);
    // The picture painted under everything else; a null image takes it away.
    void setTraceImage(const QImage& image, QPointF offset, double scale, double opacity);

signals:
    // Drawing or moving began or ended.
    void editingStateChanged();
    void gestureStarted(penmoji::Gesture gesture);
    void gestureFinished(penmoji::Gesture gesture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The second press of a double click is no press for the canvas.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void gestureBegan(Gesture gesture) override;
    void gestureEnded(Gesture gesture) override;
    Point canvasPosition(const QMouseEvent* event) const;
    void paintDrawing(QPainter& painter, QSize client) const;
    // Grabs the mouse and puts up the matching cursor while drawing or moving; lets go after.
    void followEditingState();

    DocumentModel& model_;
    CharWidthTable& charWidths_;
    GridSettings grid_;
    MouseEditor editor_;
    GlyphBoxList boxes_;
    bool showGuides_ = true;
    CPreviewWindow preview_;
    QCursor drawCursor_;
    QCursor dragCursor_;
    QImage traceImage_;
    TracePlacement tracePlacement_;
    bool capturing_ = false;
    enum class CursorMode { Arrow, Draw, Drag };
    CursorMode cursorMode_ = CursorMode::Arrow;
};

}  // namespace penmoji
