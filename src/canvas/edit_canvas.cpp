#include "canvas/edit_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "canvas/canvas_cursors.h"
#include "canvas/document_model.h"
#include "canvas/preview/char_width_table.h"
#include "canvas/preview/preview_font.h"

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

void drawPointMark(QPainter& painter, Point p) {
    const QPoint corners[5] = {{p.x - 4, p.y - 4},
                               {p.x + 4, p.y - 4},
                               {p.x + 4, p.y + 4},
                               {p.x - 4, p.y + 4},
                               {p.x - 4, p.y - 4}};
    painter.drawPolyline(corners, 5);
}

}  // namespace

CEditCanvas::CEditCanvas(DocumentModel& model, CharWidthTable& charWidths, QWidget* parent)
    : QFrame(parent),
      model_(model),
      charWidths_(charWidths),
      editor_(model.document(), grid_),
      preview_(charWidths, this),
      drawCursor_(makeDrawCursor()),
      dragCursor_(makeDragCursor()) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // The floating end of a vector being drawn follows the mouse with no button held.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    editor_.setGestureObserver(this);
    connect(&model_, &DocumentModel::changed, this, qOverload<>(&QWidget::update));
    preview_.setOuterGeometry(QRect(QPoint(200, 200), QPoint(399, 399)));
    preview_.show();
}

void CEditCanvas::newVector() {
    if (editor_.drawing()) {
        return;
    }
    editor_.newVector();
    followEditingState();
    update();
}

void CEditCanvas::setShowGuides(bool show) {
    showGuides_ = show;
    update();
}

void CEditCanvas::setGrid(const GridSettings& grid) {
    grid_ = grid;
    update();
}

void CEditCanvas::setGlyphBoxes(const GlyphBoxList& boxes) {
    boxes_ = boxes;
    update();
}

// A gesture can also end inside a document change made elsewhere (the drawn vector deleted), so
// the grab and the cursor follow from here too.
void CEditCanvas::gestureBegan(Gesture gesture) {
    followEditingState();
    emit gestureStarted(gesture);
    emit editingStateChanged();
}

void CEditCanvas::gestureEnded(Gesture gesture) {
    followEditingState();
    emit gestureFinished(gesture);
    emit editingStateChanged();
}

Point CEditCanvas::canvasPosition(const QMouseEvent* event) const {
    const QPoint p = event->position().toPoint() - contentsRect().topLeft();
    return {p.x(), p.y()};
}

void CEditCanvas::mousePressEvent(QMouseEvent* event) {
    bool changed = false;
    if (event->button() == Qt::LeftButton) {
        changed = editor_.leftPress(canvasPosition(event),
                                    event->modifiers().testFlag(Qt::ShiftModifier));
    } else if (event->button() == Qt::RightButton) {
        changed = editor_.rightPress();
    }
    followEditingState();
    if (changed) {
        update();
    }
}

void CEditCanvas::mouseMoveEvent(QMouseEvent* event) {
    const bool changed = editor_.mouseMove(canvasPosition(event));
    followEditingState();
    if (changed) {
        update();
    }
}

void CEditCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && editor_.leftRelease()) {
        followEditingState();
        update();
    }
}

void CEditCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CEditCanvas::followEditingState() {
    if (editor_.capturesMouse() != capturing_) {
        capturing_ = editor_.capturesMouse();
        if (capturing_) {
            grabMouse();
        } else {
            releaseMouse();
        }
    }
    const CursorMode mode = editor_.drawing()    ? CursorMode::Draw
                            : editor_.dragging() ? CursorMode::Drag
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

void CEditCanvas::setTraceImage(const QImage& image, QPointF offset, double scale, double opacity) {
    traceImage_ = image;
    tracePlacement_ = {offset, scale, opacity};
    update();
}

void CEditCanvas::paintEvent(QPaintEvent*) {
    // Measured here because the font must be the one the screen really draws with; only the
    // first paint of the run does the work.
    charWidths_.FillFromFont(previewFont());

    QPainter painter(this);
    const QRect client = contentsRect();
    painter.save();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    paintDrawing(painter, client.size());
    painter.restore();
    drawFrame(&painter);
}

void CEditCanvas::paintDrawing(QPainter& painter, QSize client) const {
    const QPen vectorPen(kVectorColour, 1);
    const QPen boxPen(kBoxColour, 1);
    const QPen gridPen(kGridColour, 1);
    const QPen selectionPen(editor_.drawing() ? kSelectedWhileDrawing : kSelected, 2, Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin);

    painter.fillRect(QRect(QPoint(0, 0), client), kWhite);
    paintTraceImage(painter, traceImage_, tracePlacement_);

    const int g = grid_.gridSize;
    if (showGuides_ && grid_.gridEnabled && g > 0) {
        painter.setPen(gridPen);
        for (int y = g; y < client.height(); y += g) {
            painter.drawLine(0, y, client.width(), y);
        }
        for (int x = g; x < client.width(); x += g) {
            painter.drawLine(x, 0, x, client.height());
        }
    }

    const VectorSet& vectors = model_.vectors();
    for (int s = 0; s < kSlotCount; ++s) {
        const VectorLine& line = vectors.lines[s];
        if (line.count == 0) {
            continue;
        }
        painter.setPen(s == editor_.selectedSlot() ? selectionPen : vectorPen);
        for (int i = 0; i < line.count; ++i) {
            if (showGuides_) {
                drawPointMark(painter, line.points[i]);
            }
            if (i >= 1) {
                painter.drawLine(toQPoint(line.points[i - 1]), toQPoint(line.points[i]));
            }
        }
        if (s == editor_.drawIndex()) {
            if (const std::optional<Point> end = editor_.floatingEnd()) {
                painter.drawLine(toQPoint(line.points[line.count - 1]), toQPoint(*end));
            }
        }
    }

    if (showGuides_) {
        painter.setPen(boxPen);
        QPolygon outline(5);
        for (const GlyphBoxList::Outline& box : boxes_.outlines()) {
            for (int k = 0; k < 5; ++k) {
                outline[k] = toQPoint(box[k]);
            }
            painter.drawPolyline(outline);
        }
    }
}

}  // namespace penmoji
