// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QFrame>

#include <optional>
#include <vector>

#include "canvas/drawing_damage.h"
#include "canvas/placed_text_layer.h"
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

    // What a left click does: edit the vectors (and take placed pieces), put typed text, or
    // touch up a character of the rendered art.
    enum class Tool { Draw, TypeText, TouchUp };
    Tool tool() const { return tool_; }
    // Where pasted art goes: the canvas pixel under the mouse, or the middle of what is seen
    // when the mouse is elsewhere.
    Point pastePosition() const;
    // The piece being typed, not yet part of the drawing.
    const std::optional<PlacedPiece>& typedPiece() const { return typing_; }
    // The rendered characters, as the last rendering placed them.
    const std::vector<PlacedGlyph>& renderedGlyphs() const { return glyphs_; }

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
    // Ends typing (the typed piece becomes one undo step) and switches the left click to `tool`.
    void setTool(penmoji::CEditCanvas::Tool tool);
    // The pieces the rendering could not compose exactly, marked until the next rendering.
    void setInexactPieces(std::vector<int> pieces);
    // Puts the typed piece into the drawing as one step and ends typing.
    void finishTyping();

signals:
    // What extent() reports may have changed.
    void extentChanged();
    void toolChanged(penmoji::CEditCanvas::Tool tool);
    // A double click on the touched-up character asks for the palette of characters.
    void paletteRequested();
    // A word for the status bar: a character refused, a mode begun.
    void statusMessage(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The second press of a double click is no press for the canvas.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // While text is typed or a character touched up, the keys that type belong to the canvas
    // rather than to the window's commands.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
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
    // A left press on a piece selects it and starts dragging it; true when one was hit.
    bool startPieceDrag(Point at);
    // A left press in touch-up: pins the rendered character under `at` as a piece of its own.
    bool touchUpAt(Point at);
    // Pins `glyph`, or selects the piece that already holds its place.
    void touchUp(const PlacedGlyph& glyph);
    // A character picked in the preview: the rendered one nearest to it in its row.
    void touchUpPreviewCharacter(int row, int previewX);
    // Typing: the text goes into the piece being typed, or replaces the touched-up character.
    void typeText(const QString& text);
    void typeCharacter(char32_t character);
    bool typingKey(const QKeyEvent* event) const;
    void showTyping();
    // Deletes the touched-up character: it becomes a pinned blank of its width.
    void blankTouchedUp();

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
    PlacedTextLayer placedLayer_;
    PlacedTextLayer typingLayer_;
    std::vector<PlacedGlyph> glyphs_;
    Tool tool_ = Tool::Draw;
    std::optional<PlacedPiece> typing_;
    // The piece being dragged, as it was when the drag began, and where the press was.
    int draggedPiece_ = -1;
    PlacedPiece dragFrom_;
    Point dragPress_;
    bool capturing_ = false;
    enum class CursorMode { Arrow, Draw, Drag };
    CursorMode cursorMode_ = CursorMode::Arrow;
};

}  // namespace penmoji
