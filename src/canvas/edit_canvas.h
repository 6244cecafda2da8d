// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QFrame>

#include "canvas/drawing_damage.h"
#include "canvas/preview/preview_window.h"
#include "canvas/text_art_layer.h"
#include "canvas/trace_layer.h"
#include "edit/mouse_editor.h"
#include "render/glyph_box_list.h"

namespace penmoji {

class CharWidthTable;
class EditorDocument;

// The frame's client window: paints the drawing over the grid and the glyph boxes of the last
// rendering, and forwards the mouse to the document's editing state. It only paints and handles
// input: what it shows comes in through its slots and the document's signals. Canvas pixel
// (0, 0) is the top left of the area inside the sunken edge; at a zoom of n each canvas pixel
// is an n x n block of the screen, and the editing state still works in canvas pixels.
class CEditCanvas : public QFrame {
    Q_OBJECT
public:
    CEditCanvas(EditorDocument& document, CharWidthTable& charWidths, QWidget* parent = nullptr);

    CPreviewWindow& preview() { return preview_; }
    const MouseEditor& editor() const;
    bool showGuides() const { return showGuides_; }
    bool showTextArt() const { return showTextArt_; }
    // Only the art, in black where it will stand: no lines, marks, boxes, grid or picture.
    bool artOnly() const { return artOnly_; }
    const GlyphBoxList& glyphBoxes() const { return boxes_; }
    const TraceLayer& traceLayer() const { return traceLayer_; }
    int zoom() const { return zoom_; }
    // The canvas pixels the drawing and the rendered boxes reach, with room beyond.
    QSize extent() const;

public slots:
    void setShowGuides(bool show);
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
    void setTraceSmooth(bool smooth);

signals:
    // What extent() reports may have changed.
    void extentChanged();

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
    // The picture under the drawing as the document has it, shown while it is visible.
    void showPicture();
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

    EditorDocument& document_;
    CharWidthTable& charWidths_;
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
