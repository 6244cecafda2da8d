#include "canvas/edit_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "canvas/preview/preview_font.h"
#include "canvas/canvas_cursors.h"

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

CEditCanvas::CEditCanvas(AppState& state, QWidget* parent)
    : QFrame(parent),
      state_(state),
      editor_(state.vectors, state.grid),
      preview_(state.charWidths, this),
      drawCursor_(makeDrawCursor()),
      dragCursor_(makeDragCursor()) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    // The floating end of a vector being drawn follows the mouse with no button held.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    preview_.setOuterGeometry(QRect(QPoint(200, 200), QPoint(399, 399)));
    preview_.show();
}

bool CEditCanvas::handlesCommand(int id) const {
    return id == command::kNewVector || id == command::kGuideLines;
}

void CEditCanvas::executeCommand(int id) {
    if (id == command::kNewVector) {
        if (editor_.drawing()) {
            return;  // disabled while drawing; an accelerator must not restart it either
        }
        editor_.newVector();
        followEditingState();
    } else if (id == command::kGuideLines) {
        showGuides_ = !showGuides_;
        emit commandStatesChanged();
    } else {
        return;
    }
    update();
}

CommandState CEditCanvas::commandState(int id) const {
    if (id == command::kNewVector) {
        return {!editor_.drawing(), false};
    }
    if (id == command::kGuideLines) {
        return {true, showGuides_};
    }
    return {};
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
    if (editor_.drawing() != drawingAnnounced_) {
        drawingAnnounced_ = editor_.drawing();
        emit commandStatesChanged();
    }
}

void CEditCanvas::paintEvent(QPaintEvent*) {
    // Measured here because the font must be the one the screen really draws with; only the
    // first paint of the run does the work.
    state_.charWidths.FillFromFont(previewFont());

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

    const int g = state_.grid.gridSize;
    if (showGuides_ && state_.grid.gridEnabled && g > 0) {
        painter.setPen(gridPen);
        for (int y = g; y < client.height(); y += g) {
            painter.drawLine(0, y, client.width(), y);
        }
        for (int x = g; x < client.width(); x += g) {
            painter.drawLine(x, 0, x, client.height());
        }
    }

    for (int s = 0; s < kSlotCount; ++s) {
        const VectorLine& line = state_.vectors.lines[s];
        if (line.count == 0) {
            continue;
        }
        painter.setPen(line.selected ? selectionPen : vectorPen);
        for (int i = 0; i < line.count; ++i) {
            if (showGuides_) {
                drawPointMark(painter, line.points[i]);
            }
            if (i >= 1) {
                painter.drawLine(toQPoint(line.points[i - 1]), toQPoint(line.points[i]));
            }
        }
        if (s == editor_.drawIndex() && line.count >= 1 && line.count < kMaxPoints) {
            painter.drawLine(toQPoint(line.points[line.count - 1]),
                             toQPoint(line.points[line.count]));
        }
    }

    if (showGuides_) {
        painter.setPen(boxPen);
        QPolygon outline(5);
        for (const GlyphBoxList::Outline& box : state_.boxes.outlines()) {
            for (int k = 0; k < 5; ++k) {
                outline[k] = toQPoint(box[k]);
            }
            painter.drawPolyline(outline);
        }
    }
}

}  // namespace penmoji
