// SPDX-License-Identifier: MIT
#include "canvas/canvas_view.h"

#include <algorithm>

#include <QScrollBar>
#include <QWheelEvent>

#include "canvas/edit_canvas.h"
#include "canvas/zoom.h"

namespace penmoji {

CanvasView::CanvasView(CEditCanvas& canvas, QWidget* parent)
    : QScrollArea(parent), canvas_(canvas) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(&canvas_);
    // The canvas takes the keys; the view only scrolls.
    setFocusPolicy(Qt::NoFocus);
    canvas_.setFocusPolicy(Qt::StrongFocus);
    previewInView_ = canvas_.preview().pos();
    canvas_.preview().installEventFilter(this);
    connect(&canvas_, &CEditCanvas::extentChanged, this, &CanvasView::fitCanvas);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &CanvasView::keepPreviewInView);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CanvasView::keepPreviewInView);
    fitCanvas();
}

int CanvasView::zoom() const {
    return canvas_.zoom();
}

void CanvasView::setZoom(int zoom) {
    setZoom(zoom, viewport()->rect().center());
}

void CanvasView::setZoom(int zoom, QPoint anchor) {
    const int old = canvas_.zoom();
    const QPoint edge = canvas_.contentsRect().topLeft();
    const QPoint pixel = canvasPixelAt(anchor + scrollOffset() - edge, old);
    canvas_.setZoom(zoom);
    const int now = canvas_.zoom();
    if (now == old) {
        return;
    }
    fitCanvas();
    // The middle of the pixel's new block goes back under the anchor.
    const QPoint block = edge + pixel * now + QPoint(now / 2, now / 2);
    horizontalScrollBar()->setValue(block.x() - anchor.x());
    verticalScrollBar()->setValue(block.y() - anchor.y());
    emit zoomChanged(now);
}

void CanvasView::fitCanvas() {
    const int zoom = canvas_.zoom();
    const QSize extent = canvas_.extent() * zoom;
    const int edge = 2 * canvas_.frameWidth();
    const QSize view = viewport()->size();
    canvas_.resize(std::max(view.width(), extent.width() + edge),
                   std::max(view.height(), extent.height() + edge));
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    fitCanvas();
}

void CanvasView::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    // A notch is 120; touch pads send less at a time.
    wheelAngle_ += event->angleDelta().y();
    const QPoint anchor = viewport()->mapFrom(this, event->position().toPoint());
    while (wheelAngle_ >= 120) {
        wheelAngle_ -= 120;
        setZoom(zoomedIn(zoom()), anchor);
    }
    while (wheelAngle_ <= -120) {
        wheelAngle_ += 120;
        setZoom(zoomedOut(zoom()), anchor);
    }
    event->accept();
}

QRect CanvasView::previewInView() const {
    return QRect(previewInView_, canvas_.preview().size());
}

void CanvasView::setPreviewInView(const QRect& rect) {
    canvas_.preview().resize(rect.size());
    previewInView_ = rect.topLeft();
    keepPreviewInView();
}

QPoint CanvasView::scrollOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CanvasView::keepPreviewInView() {
    placingPreview_ = true;
    canvas_.preview().move(previewInView_ + scrollOffset());
    placingPreview_ = false;
}

bool CanvasView::eventFilter(QObject* watched, QEvent* event) {
    // The user moved the preview: it stays where it was put, relative to the view.
    if (watched == &canvas_.preview() && event->type() == QEvent::Move && !placingPreview_) {
        previewInView_ = canvas_.preview().pos() - scrollOffset();
    }
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace penmoji
