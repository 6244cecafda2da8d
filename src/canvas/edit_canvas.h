// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QFrame>

#include "canvas/drawing_damage.h"
#include "canvas/preview/preview_window.h"
#include "canvas/text_art_layer.h"
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
// (0, 0) is the top left of the area inside the sunken edge; at a zoom of n each canvas pixel
// is an n x n block of the screen, and the editing state still works in canvas pixels.
class CEditCanvas : public QFrame, private GestureObserver {
    Q_OBJECT
public:
    CEditCanvas(DocumentModel& model, CharWidthTable& charWidths, QWidget* parent = nullptr);

    CPreviewWindow& preview() { return preview_; }
    const MouseEditor& editor() const { return editor_; }
    bool showGuides() const { return showGuides_; }
    bool showTextArt() const { return showTextArt_; }
    // Only the art, in black where it will stand: no lines, marks, boxes, grid or picture.
    bool artOnly() const { return artOnly_; }
    const GridSettings& grid() const { return grid_; }
    const GlyphBoxList& glyphBoxes() const { return boxes_; }
    const TraceLayer& traceLayer() const { return traceLayer_; }
    int zoom() const { return zoom_; }
    // The canvas pixels the drawing and the rendered boxes reach, with room beyond.
    QSize extent() const;

public slots:
    // Starts drawing a new vector; does nothing while one is being drawn.
    void newVector();
    void setShowGuides(bool show);
    void setGrid(const penmoji::GridSettings& grid);
    void setGlyphBoxes(const penmoji::GlyphBoxList& boxes);
    // The characters of the rendering, drawn under the lines while the text art is shown.
    void setTextArt(std::span<const penmoji::PlacedGlyph> glyphs);
    void setShowTextArt(bool show);
    void setArtOnly(bool artOnly);
    // Forgets the boxes and the text art of the last rendering.
    void clearRendering();
    // Puts the preview back where it starts, at (200, 200) in the canvas.
    void placePreviewAtHome();
    void setZoom(int zoom);
    // Ends the vector being drawn, as the right button does.
    void endVector();
    // Takes back the last point of the vector being drawn.
    void removeLastPoint();
    // The picture painted under everything else; a null image takes it away.
    void setTraceImage(const QImage& image, const penmoji::TracePlacement& placement);
    void setTraceSmooth(bool smooth);

signals:
    // Drawing or moving began or ended, or a press changed the selection.
    void editingStateChanged();
    void gestureStarted(penmoji::Gesture gesture);
    void gestureFinished(penmoji::Gesture gesture);
    // What extent() reports may have changed.
    void extentChanged();
    // A Ctrl+Alt drag moved the picture under the drawing from one place to another.
    void traceImageDragged(QPointF from, QPointF to);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The second press of a double click is no press for the canvas.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // The preview stays inside the canvas, so it can always be brought back.
    void resizeEvent(QResizeEvent* event) override;

private:
    void gestureBegan(Gesture gesture) override;
    void gestureEnded(Gesture gesture) override;
    Point canvasPosition(const QMouseEvent* event) const;
    bool startTraceDrag(const QMouseEvent* event);
    // Paints the canvas pixels of `exposed`; what lies wholly outside it is left out, since a
    // large drawing has eighty thousand lines and an edit exposes a few of them. With `paper`,
    // the white ground and the picture under the drawing come first.
    void paintDrawing(QPainter& painter, QSize client, const QRect& exposed,
                      bool paper = true) const;
    void paintSelectedVector(QPainter& painter, const VectorLine& line, const QPen& pen,
                             const QRect& exposed) const;
    // Asks for a repaint of what changed in the drawing or its highlight since the last call.
    void updateDrawingChanges();
    // Asks for a repaint of canvas pixels.
    void updateCanvasArea(const QRegion& canvasArea);
    // Paints the exposed canvas pixels into an image, then each pixel as a block.
    void paintZoomed(QPainter& painter, const QRect& exposed) const;
    // Grabs the mouse and puts up the matching cursor while drawing or moving; lets go after.
    void followEditingState();

    DocumentModel& model_;
    CharWidthTable& charWidths_;
    GridSettings grid_;
    MouseEditor editor_;
    GlyphBoxList boxes_;
    DrawingDamage drawingDamage_;
    bool showGuides_ = true;
    TextArtLayer textArt_;
    bool showTextArt_ = true;
    bool artOnly_ = false;
    int zoom_ = 1;
    CPreviewWindow preview_;
    QCursor drawCursor_;
    QCursor dragCursor_;
    TraceLayer traceLayer_;
    bool capturing_ = false;
    enum class CursorMode { Arrow, Draw, Drag };
    CursorMode cursorMode_ = CursorMode::Arrow;
};

}  // namespace penmoji
