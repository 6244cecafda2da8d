// SPDX-License-Identifier: MIT
#include "canvas/edit_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "canvas/art_text_input.h"
#include "canvas/canvas_cursors.h"
#include "canvas/document_texts.h"
#include "canvas/editor_document.h"
#include "canvas/preview/char_width_table.h"
#include "canvas/preview/preview_text_view.h"
#include "canvas/row_changes.h"
#include "canvas/zoom.h"
#include "compose/text_art_reading.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kVectorColour(0, 0, 0);
const QColor kBoxColour(192, 192, 255);
const QColor kGridColour(192, 192, 192);
const QColor kSelectedWhileDrawing(255, 0, 255);
const QColor kSelected(255, 0, 0);

QPoint toQPoint(Point p) {
    return {p.x, p.y};
}

// The outline of the square from (x - 4, y - 4) to (x + 4, y + 4), as four lines; drawn in
// one call for all the points of a pen, since a large drawing has forty thousand of them.
void addPointMark(QList<QLine>& lines, Point p) {
    const QPoint a(p.x - 4, p.y - 4), b(p.x + 4, p.y - 4), c(p.x + 4, p.y + 4), d(p.x - 4, p.y + 4);
    lines << QLine(a, b) << QLine(b, c) << QLine(c, d) << QLine(d, a);
}

// Whether a line (with the marks and pens at its ends) may show inside `exposed`.
bool mayShow(Point a, Point b, const QRect& exposed) {
    constexpr int kReach = 7;
    return std::max(a.x, b.x) >= exposed.left() - kReach &&
           std::min(a.x, b.x) <= exposed.right() + kReach &&
           std::max(a.y, b.y) >= exposed.top() - kReach &&
           std::min(a.y, b.y) <= exposed.bottom() + kReach;
}

void addLine(QList<QLine>& lines, const VectorLine& line, bool marks, const QRect& exposed) {
    for (int i = 0; i < line.count; ++i) {
        if (marks && mayShow(line.points[i], line.points[i], exposed)) {
            addPointMark(lines, line.points[i]);
        }
        if (i >= 1 && mayShow(line.points[i - 1], line.points[i], exposed)) {
            lines << QLine(toQPoint(line.points[i - 1]), toQPoint(line.points[i]));
        }
    }
}

int rowOfBox(const GlyphBoxList::Outline& box) {
    return box[0].y;
}

bool byCorners(const GlyphBoxList::Outline& a, const GlyphBoxList::Outline& b) {
    return std::tie(a[0].y, a[0].x, a[2].y, a[2].x) < std::tie(b[0].y, b[0].x, b[2].y, b[2].x);
}

// A box's outline and the pixel around it.
QRect boxArea(const GlyphBoxList::Outline& box) {
    return QRect(toQPoint(box[0]), toQPoint(box[2])).normalized().adjusted(-1, -1, 1, 1);
}

}  // namespace

CEditCanvas::CEditCanvas(EditorDocument& document, CharWidthTable& charWidths, QWidget* parent)
    : QFrame(parent),
      document_(document),
      charWidths_(charWidths),
      preview_(charWidths, this),
      drawCursor_(makeDrawCursor()),
      dragCursor_(makeDragCursor()) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // The floating end of a vector being drawn follows the mouse with no button held.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&document_, &EditorDocument::drawingChanged, this,
            [this](const DocumentChange& change) {
                drawingDamage_.changed(change, document_.vectors());
                updateDrawingChanges();
                emit extentChanged();
            });
    // A gesture can also end inside a change made elsewhere (the drawn vector deleted), so the
    // grab and the cursor follow the editing state wherever it changed.
    connect(&document_, &EditorDocument::editingStateChanged, this, [this] {
        followEditingState();
        updateDrawingChanges();
    });
    connect(&document_, &EditorDocument::gridChanged, this, qOverload<>(&QWidget::update));
    connect(&document_, &EditorDocument::pictureChanged, this, &CEditCanvas::showPicture);
    connect(&document_, &EditorDocument::drawingReplaced, this, &CEditCanvas::clearRendering);
    connect(&document_, &EditorDocument::placedTextChanged, this, [this] {
        updateCanvasArea(placedLayer_.setText(document_.placedText()) +
                         placedLayer_.setSelected(document_.selectedPiece()));
        emit extentChanged();
    });
    connect(&document_, &EditorDocument::pieceSelectionChanged, this,
            [this](int piece) { updateCanvasArea(placedLayer_.setSelected(piece)); });
    connect(&document_, &EditorDocument::drawingReplaced, this, [this] {
        typing_.reset();
        showTyping();
    });
    setFocusPolicy(Qt::ClickFocus);
    connect(&preview_.textView(), &PreviewTextView::characterPicked, this,
            &CEditCanvas::touchUpPreviewCharacter);
    placePreviewAtHome();
    preview_.show();
    showPicture();
    updateDrawingChanges();
}

const MouseEditor& CEditCanvas::editor() const {
    return document_.editor();
}

void CEditCanvas::setShowGuides(bool show) {
    showGuides_ = show;
    update();
}

void CEditCanvas::setGlyphBoxes(const GlyphBoxList& boxes) {
    if (showGuides_) {
        const auto before = groupByRow(boxes_.outlines(), rowOfBox, byCorners);
        const auto after = groupByRow(boxes.outlines(), rowOfBox, byCorners);
        updateCanvasArea(areaOf(changedCells(before, after, boxArea, byCorners)));
    }
    boxes_ = boxes;
    emit extentChanged();
}

QSize CEditCanvas::extent() const {
    QSize size = drawingExtent(document_.vectors(), boxes_);
    // Pieces may lie past the drawing; the room beyond them is that of a glyph box.
    for (const PlacedPiece& piece : document_.placedText()) {
        const QRect area = pieceArea(piece);
        size = size.expandedTo(QSize(area.right() + 32, area.bottom() + 32));
    }
    return size;
}

Point CEditCanvas::pastePosition() const {
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    const QRect client = contentsRect();
    const QRect seen = visibleRegion().boundingRect() & client;
    const QPoint at =
        seen.contains(mouse) ? mouse : (seen.isEmpty() ? client.center() : seen.center());
    const QPoint p = canvasPixelAt(at - client.topLeft(), zoom_);
    return {p.x(), p.y()};
}

void CEditCanvas::setTool(Tool tool) {
    finishTyping();
    if (tool == tool_) {
        return;
    }
    tool_ = tool;
    setAttribute(Qt::WA_InputMethodEnabled, tool_ != Tool::Draw);
    preview_.textView().setPicking(tool_ == Tool::TouchUp);
    if (tool_ == Tool::TypeText) {
        setCursor(Qt::IBeamCursor);
    } else if (tool_ == Tool::TouchUp) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    cursorMode_ = CursorMode::Arrow;
    emit toolChanged(tool_);
}

void CEditCanvas::setInexactPieces(std::vector<int> pieces) {
    updateCanvasArea(placedLayer_.setInexact(std::move(pieces)));
}

void CEditCanvas::setZoom(int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom != zoom_) {
        zoom_ = zoom;
        update();
        emit extentChanged();
    }
}

void CEditCanvas::updateDrawingChanges() {
    const MouseEditor& editor = document_.editor();
    const int drawSlot = editor.drawIndex();
    const DrawingHighlight highlight{editor.selectedSlot(), editor.drawing(), drawSlot,
                                     drawSlot >= 0 ? editor.floatingEnd() : std::nullopt};
    updateCanvasArea(drawingDamage_.follow(document_.vectors(), highlight));
}

void CEditCanvas::updateCanvasArea(const QRegion& canvasArea) {
    const QRect client = contentsRect();
    QRegion area;
    for (const QRect& pixels : canvasArea) {
        const QRect blocks(pixels.topLeft() * zoom_, pixels.size() * zoom_);
        area += blocks.translated(client.topLeft()) & client;
    }
    update(area);
}

void CEditCanvas::paintZoomed(QPainter& painter, const QRect& exposed) const {
    const QRect client = contentsRect();
    if (exposed.isEmpty()) {
        return;
    }
    const QRect pixels = canvasPixelsCovering(exposed.translated(-client.topLeft()), zoom_);
    // A picture under the drawing is painted at the screen's scale, the drawing over it.
    const bool picture = !traceLayer_.isEmpty() && !artOnly_;
    QImage image(pixels.size(),
                 picture ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (picture) {
        image.fill(Qt::transparent);
        painter.fillRect(exposed, kWhite);
        painter.save();
        painter.translate(client.topLeft());
        traceLayer_.paint(painter, zoom_);
        painter.restore();
    }
    QPainter imagePainter(&image);
    imagePainter.translate(-pixels.topLeft());
    const QSize clientPixels((client.width() + zoom_ - 1) / zoom_,
                             (client.height() + zoom_ - 1) / zoom_);
    paintDrawing(imagePainter, clientPixels, pixels, !picture);
    imagePainter.end();
    // Without smoothing each pixel of the image becomes a block of the screen.
    painter.drawImage(QRect(client.topLeft() + pixels.topLeft() * zoom_, pixels.size() * zoom_),
                      image);
}

// A gesture can also end inside a document change made elsewhere (the drawn vector deleted), so
// the grab and the cursor follow from here too.
void CEditCanvas::setTextArt(std::span<const PlacedGlyph> glyphs) {
    glyphs_.assign(glyphs.begin(), glyphs.end());
    const QRegion changed = textArt_.setGlyphs(glyphs);
    if (showTextArt_ || artOnly_) {
        updateCanvasArea(changed);
    }
}

void CEditCanvas::clearRendering() {
    boxes_.clearBoxes();
    textArt_.setGlyphs({});
    glyphs_.clear();
    update();
}

void CEditCanvas::setShowTextArt(bool show) {
    showTextArt_ = show;
    update();
}

void CEditCanvas::setArtOnly(bool artOnly) {
    artOnly_ = artOnly;
    textArt_.setInk(artOnly ? QColor(Qt::black) : QColor());
    update();
}

void CEditCanvas::placePreviewAtHome() {
    preview_.setOuterGeometry(QRect(QPoint(200, 200), QPoint(399, 399)));
}

void CEditCanvas::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    preview_.keepInside(contentsRect());
}

Point CEditCanvas::canvasPosition(const QMouseEvent* event) const {
    const QPoint p = canvasPixelAt(event->position().toPoint() - contentsRect().topLeft(), zoom_);
    return {p.x(), p.y()};
}

void CEditCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && startTraceDrag(event)) {
        return;
    }
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    if (event->button() == Qt::LeftButton && document_.idle() && !shift) {
        const Point at = canvasPosition(event);
        if (tool_ == Tool::TypeText) {
            finishTyping();
            typing_ = PlacedPiece{at.x, at.y, {{}}};
            setFocus();
            showTyping();
            return;
        }
        if (startPieceDrag(at)) {
            setFocus();
            return;
        }
        document_.selectPiece(-1);
        if (tool_ == Tool::TouchUp) {
            touchUpAt(at);
            setFocus();
            return;
        }
    }
    bool changed = false;
    if (event->button() == Qt::LeftButton) {
        changed = document_.leftPress(canvasPosition(event), shift);
    } else if (event->button() == Qt::RightButton) {
        changed = document_.rightPress();
    }
    followEditingState();
    if (changed) {
        updateDrawingChanges();
    }
}

void CEditCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (traceLayer_.dragging()) {
        // Only where the picture was and is: the drawing over it may be large.
        const QRect before = traceLayer_.canvasRect();
        const Point at = canvasPosition(event);
        traceLayer_.dragTo({at.x, at.y});
        updateCanvasArea(QRegion(before) + traceLayer_.canvasRect());
        return;
    }
    if (draggedPiece_ >= 0) {
        // Whole pixels across, whole rows down: a piece's characters keep their rows.
        const Point at = canvasPosition(event);
        PlacedPiece moved = dragFrom_;
        moved.x += at.x - dragPress_.x;
        const int dy = at.y - dragPress_.y;
        moved.y += 16 * ((dy >= 0 ? dy + 8 : dy - 8) / 16);
        document_.showPiece(draggedPiece_, moved);
        return;
    }
    const bool changed = document_.mouseMove(canvasPosition(event));
    followEditingState();
    if (changed) {
        updateDrawingChanges();
    }
}

void CEditCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (traceLayer_.dragging() && event->button() == Qt::LeftButton) {
        if (const auto moved = traceLayer_.endDrag()) {
            // The layer moved the picture already; the step goes from where the drag began.
            TraceImageState dragged = document_.picture();
            dragged.settings.offset = moved->second;
            document_.changePicture(dragged, text::kStepMoveImage);
        }
        return;
    }
    if (draggedPiece_ >= 0 && event->button() == Qt::LeftButton) {
        document_.commitPieceMove(std::exchange(draggedPiece_, -1), dragFrom_);
        releaseMouse();
        return;
    }
    if (event->button() == Qt::LeftButton && document_.leftRelease()) {
        followEditingState();
        updateDrawingChanges();
    }
}

// Ctrl+Alt with the left button takes the picture rather than the drawing, while no vector is
// being drawn or moved.
bool CEditCanvas::startTraceDrag(const QMouseEvent* event) {
    const Qt::KeyboardModifiers keys = Qt::ControlModifier | Qt::AltModifier;
    if (traceLayer_.isEmpty() || (event->modifiers() & keys) != keys || !document_.idle()) {
        return false;
    }
    const Point at = canvasPosition(event);
    traceLayer_.beginDrag({at.x, at.y});
    return true;
}

void CEditCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (tool_ == Tool::TouchUp && event->button() == Qt::LeftButton &&
        document_.selectedPiece() >= 0 &&
        pieceAt(document_.placedText(), canvasPosition(event)) == document_.selectedPiece()) {
        emit paletteRequested();
    }
}

bool CEditCanvas::startPieceDrag(Point at) {
    const int hit = pieceAt(document_.placedText(), at);
    if (hit < 0) {
        return false;
    }
    document_.selectPiece(hit);
    draggedPiece_ = hit;
    dragFrom_ = document_.placedText()[static_cast<std::size_t>(hit)];
    dragPress_ = at;
    grabMouse();
    return true;
}

bool CEditCanvas::touchUpAt(Point at) {
    const auto hit = std::find_if(glyphs_.begin(), glyphs_.end(), [&](const PlacedGlyph& g) {
        return at.x >= g.x && at.x < g.x + placedElementWidth(g.code) && at.y >= g.top &&
               at.y < g.top + 16;
    });
    if (hit == glyphs_.end()) {
        return false;
    }
    touchUp(*hit);
    return true;
}

void CEditCanvas::touchUp(const PlacedGlyph& glyph) {
    // A placed character is in the glyph list too: its piece is taken rather than pinned twice.
    if (const int held = pieceAt(document_.placedText(), {glyph.x, glyph.top + 8}); held >= 0) {
        document_.selectPiece(held);
        return;
    }
    const int piece = document_.addPiece({glyph.x, glyph.top, {{glyph.code}}}, text::kStepTouchUp);
    document_.selectPiece(piece);
    emit statusMessage(
        tr("文字を固定しました: 文字を打つと置き換え、矢印キーで動かし、"
           "Delete で空白に、F2 で一覧から選びます"));
}

void CEditCanvas::touchUpPreviewCharacter(int row, int previewX) {
    // The preview's row starts with the full-width space every rendered row begins with.
    constexpr int kLeadingSpace = 11;
    const int top = 16 * row + 1;
    const PlacedGlyph* nearest = nullptr;
    for (const PlacedGlyph& glyph : glyphs_) {
        if (glyph.top == top &&
            (nearest == nullptr || std::abs(glyph.x + kLeadingSpace - previewX) <
                                       std::abs(nearest->x + kLeadingSpace - previewX))) {
            nearest = &glyph;
        }
    }
    if (nearest != nullptr) {
        touchUp(*nearest);
        setFocus();
    }
}

bool CEditCanvas::typingKey(const QKeyEvent* event) const {
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typing_) {
        // Undo while typing takes back the last character, as it takes back the last point
        // while a vector is drawn.
        return typed || event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
               event->key() == Qt::Key_Enter || event->key() == Qt::Key_Backspace ||
               event->matches(QKeySequence::Undo);
    }
    if (tool_ == Tool::TouchUp && document_.selectedPiece() >= 0) {
        return typed || event->key() == Qt::Key_Delete || event->key() == Qt::Key_Escape;
    }
    return false;
}

bool CEditCanvas::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && typingKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QFrame::event(event);
}

void CEditCanvas::keyPressEvent(QKeyEvent* event) {
    if (!typingKey(event)) {
        QFrame::keyPressEvent(event);
        return;
    }
    const int key =
        typing_ && event->matches(QKeySequence::Undo) ? Qt::Key_Backspace : event->key();
    switch (key) {
        case Qt::Key_Escape:
            if (typing_) {
                finishTyping();
            } else {
                document_.selectPiece(-1);
            }
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            typing_->rows.emplace_back();
            showTyping();
            return;
        case Qt::Key_Backspace:
            if (!typing_->rows.back().empty()) {
                typing_->rows.back().pop_back();
            } else if (typing_->rows.size() > 1) {
                typing_->rows.pop_back();
            }
            showTyping();
            return;
        case Qt::Key_Delete:
            blankTouchedUp();
            return;
        default:
            typeText(event->text());
    }
}

void CEditCanvas::inputMethodEvent(QInputMethodEvent* event) {
    if (typing_ || (tool_ == Tool::TouchUp && document_.selectedPiece() >= 0)) {
        typeText(event->commitString());
    }
    event->accept();
}

QVariant CEditCanvas::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled) {
        return tool_ != Tool::Draw;
    }
    if (query == Qt::ImCursorRectangle && typing_) {
        const QRect area = pieceArea(*typing_);
        const QPoint caret(area.right() + 1, area.bottom() - 15);
        return QRect((caret * zoom_) + contentsRect().topLeft(), QSize(1, 16 * zoom_));
    }
    return QFrame::inputMethodQuery(query);
}

void CEditCanvas::typeText(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        typeCharacter(c);
    }
}

void CEditCanvas::typeCharacter(char32_t character) {
    const std::optional<std::int32_t> code = placedCodeOf(character);
    if (!code) {
        emit statusMessage(
            tr("「%1」は置けません: Shift_JIS か 16 ピクセルのフォントにない文字です")
                .arg(QString::fromUcs4(&character, 1)));
        return;
    }
    if (typing_) {
        typing_->rows.back().push_back(*code);
        showTyping();
        return;
    }
    const int selected = document_.selectedPiece();
    if (selected >= 0) {
        PlacedPiece replaced = document_.placedText()[static_cast<std::size_t>(selected)];
        replaced.rows = {{*code}};
        document_.replacePiece(selected, std::move(replaced), text::kStepTouchUp);
    }
}

void CEditCanvas::blankTouchedUp() {
    const int selected = document_.selectedPiece();
    if (selected < 0) {
        return;
    }
    PlacedPiece blank = document_.placedText()[static_cast<std::size_t>(selected)];
    const QRect area = pieceArea(blank);
    blank.rows = {blanksOfWidth(area.width())};
    document_.replacePiece(selected, std::move(blank), text::kStepTouchUp);
}

void CEditCanvas::showTyping() {
    QRegion changed = typingLayer_.setText(typing_ ? PlacedText{*typing_} : PlacedText{});
    changed += typingLayer_.setSelected(typing_ ? 0 : -1);
    if (typing_) {
        changed += pieceArea(*typing_).adjusted(-3, -3, 4, 3);
    }
    updateCanvasArea(changed);
}

void CEditCanvas::finishTyping() {
    if (!typing_) {
        return;
    }
    PlacedPiece typed = std::move(*typing_);
    typing_.reset();
    showTyping();
    while (!typed.rows.empty() && typed.rows.back().empty()) {
        typed.rows.pop_back();
    }
    if (!typed.rows.empty()) {
        document_.selectPiece(document_.addPiece(std::move(typed), text::kStepTypePiece));
    }
}

void CEditCanvas::followEditingState() {
    if (editor().capturesMouse() != capturing_) {
        capturing_ = editor().capturesMouse();
        if (capturing_) {
            grabMouse();
        } else {
            releaseMouse();
        }
    }
    const CursorMode mode = editor().drawing()    ? CursorMode::Draw
                            : editor().dragging() ? CursorMode::Drag
                                                  : CursorMode::Arrow;
    if (mode != cursorMode_) {
        cursorMode_ = mode;
        if (mode == CursorMode::Draw) {
            setCursor(drawCursor_);
        } else if (mode == CursorMode::Drag) {
            setCursor(dragCursor_);
        } else {
            unsetCursor();
        }
    }
}

void CEditCanvas::showPicture() {
    const TraceImageState& picture = document_.picture();
    const TraceImageSettings& s = picture.settings;
    traceLayer_.setImage(s.visible ? picture.image : QImage(), {s.offset, s.scale, s.opacity});
    update();
}

void CEditCanvas::setTraceSmooth(bool smooth) {
    traceLayer_.setSmooth(smooth);
    update();
}

void CEditCanvas::paintEvent(QPaintEvent* event) {
    // Measured here because the font must be the one the screen really draws with; only the
    // first paint of the run does the work.
    charWidths_.FillFromFont(artFont());

    QPainter painter(this);
    const QRect client = contentsRect();
    // An edit exposes a few small areas far apart; painted one by one they cost a fraction of
    // the rectangle around them.
    constexpr int kMostAreas = 16;
    const QRegion exposed = event->region() & client;
    std::vector<QRect> areas(exposed.begin(), exposed.end());
    if (areas.size() > kMostAreas) {
        areas = {exposed.boundingRect()};
    }
    for (const QRect& area : areas) {
        painter.save();
        painter.setClipRect(area);
        if (zoom_ > 1) {
            paintZoomed(painter, area);
        } else {
            painter.translate(client.topLeft());
            paintDrawing(painter, client.size(), area.translated(-client.topLeft()));
        }
        painter.restore();
    }
    drawFrame(&painter);
}

void CEditCanvas::paintDrawing(QPainter& painter, QSize client, const QRect& exposed,
                               bool paper) const {
    const QPen vectorPen(kVectorColour, 1);
    const QPen boxPen(kBoxColour, 1);
    const QPen gridPen(kGridColour, 1);
    const QPen selectionPen(editor().drawing() ? kSelectedWhileDrawing : kSelected, 2,
                            Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    if (artOnly_) {
        // The picture under the drawing too is left out: what is seen is what is pasted.
        painter.fillRect(QRect(QPoint(0, 0), client) & exposed, kWhite);
        textArt_.paint(painter);
        return;
    }
    if (paper) {
        painter.fillRect(QRect(QPoint(0, 0), client) & exposed, kWhite);
        traceLayer_.paint(painter, 1);
    }

    const int g = document_.grid().gridSize;
    if (showGuides_ && document_.grid().gridEnabled && g > 0) {
        painter.setPen(gridPen);
        for (int y = g; y < client.height(); y += g) {
            painter.drawLine(0, y, client.width(), y);
        }
        for (int x = g; x < client.width(); x += g) {
            painter.drawLine(x, 0, x, client.height());
        }
    }

    if (showTextArt_) {
        textArt_.paint(painter);
    }
    // The pieces in black over the rendered art, which holds them too.
    placedLayer_.paint(painter, exposed);
    if (typing_) {
        typingLayer_.paint(painter, exposed);
        const QRect area = pieceArea(*typing_);
        std::int32_t end = typing_->x;
        for (const std::int32_t code : typing_->rows.back()) {
            end += placedElementWidth(code);
        }
        painter.setPen(QPen(kVectorColour, 1));
        painter.drawLine(end, area.bottom() - 14, end, area.bottom());
    }

    // The black vectors first, all in one call; the selected one over them, where a later
    // slot would paint over it only in black anyway.
    const VectorSet& vectors = document_.vectors();
    const int selected = editor().selectedSlot();
    QList<QLine> lines;
    for (int s = 0; s < kSlotCount; ++s) {
        if (s != selected) {
            addLine(lines, vectors.lines[s], showGuides_, exposed);
        }
    }
    painter.setPen(vectorPen);
    painter.drawLines(lines);
    if (selected >= 0 && vectors.lines[selected].count > 0) {
        paintSelectedVector(painter, vectors.lines[selected], selectionPen, exposed);
        // Later slots still paint over it, as they do over every earlier slot.
        lines.clear();
        for (int s = selected + 1; s < kSlotCount; ++s) {
            addLine(lines, vectors.lines[s], showGuides_, exposed);
        }
        painter.setPen(vectorPen);
        painter.drawLines(lines);
    }

    if (showGuides_) {
        lines.clear();
        for (const GlyphBoxList::Outline& box : boxes_.outlines()) {
            if (mayShow(box[0], box[2], exposed)) {
                for (int k = 0; k < 4; ++k) {
                    lines << QLine(toQPoint(box[k]), toQPoint(box[k + 1]));
                }
            }
        }
        painter.setPen(boxPen);
        painter.drawLines(lines);
    }
}

void CEditCanvas::paintSelectedVector(QPainter& painter, const VectorLine& line, const QPen& pen,
                                      const QRect& exposed) const {
    painter.setPen(pen);
    for (int i = 0; i < line.count; ++i) {
        if (showGuides_ && mayShow(line.points[i], line.points[i], exposed)) {
            QList<QLine> mark;
            addPointMark(mark, line.points[i]);
            painter.drawLines(mark);
        }
        if (i >= 1 && mayShow(line.points[i - 1], line.points[i], exposed)) {
            painter.drawLine(toQPoint(line.points[i - 1]), toQPoint(line.points[i]));
        }
    }
    if (editor().drawIndex() >= 0 && &line == &document_.vectors().lines[editor().drawIndex()]) {
        if (const std::optional<Point> end = editor().floatingEnd()) {
            painter.drawLine(toQPoint(line.points[line.count - 1]), toQPoint(*end));
        }
    }
}

}  // namespace penmoji
