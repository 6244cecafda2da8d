// SPDX-License-Identifier: MIT
#include "canvas/trace_layer.h"

#include <QPainter>

namespace penmoji {

void TraceLayer::setImage(const QImage& image, const TracePlacement& placement) {
    image_ = image;
    placement_ = placement;
    drag_.reset();
}

QRect TraceLayer::canvasRect() const {
    if (image_.isNull()) {
        return {};
    }
    const QRectF covered(placement_.offset, QSizeF(image_.size()) * placement_.scale);
    return covered.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void TraceLayer::beginDrag(QPoint at) {
    drag_.emplace(at, placement_.offset);
}

void TraceLayer::dragTo(QPoint at) {
    if (drag_) {
        placement_.offset = drag_->second + QPointF(at - drag_->first);
    }
}

std::optional<std::pair<QPointF, QPointF>> TraceLayer::endDrag() {
    const std::optional<std::pair<QPoint, QPointF>> drag = std::exchange(drag_, std::nullopt);
    if (!drag || placement_.offset == drag->second) {
        return std::nullopt;
    }
    return std::pair(drag->second, placement_.offset);
}

void TraceLayer::paint(QPainter& painter, int zoom) const {
    if (image_.isNull() || placement_.opacity <= 0 || placement_.scale <= 0) {
        return;
    }
    const double factor = placement_.scale * zoom;
    painter.save();
    painter.setOpacity(placement_.opacity);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_ && factor != 1.0);
    painter.drawImage(QRectF(placement_.offset * zoom, QSizeF(image_.size()) * factor), image_);
    painter.restore();
}

}  // namespace penmoji
