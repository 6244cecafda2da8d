// SPDX-License-Identifier: MIT
#include "app/trace_preview.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace penmoji {
namespace {

const QColor kVeil(255, 255, 255, 140);
const QColor kTracedColour(220, 0, 0);
const QColor kRegionColour(0, 120, 215);
// Drags shorter than this are clicks.
constexpr int kLeastDrag = 3;

}  // namespace

TracePreview::TracePreview(const QImage& picture, const TracePlacement& placement, QWidget* parent)
    : QWidget(parent), picture_(picture), placement_(placement) {
    setMinimumSize(240, 160);
    setCursor(Qt::CrossCursor);
}

QSize TracePreview::sizeHint() const {
    return picture_.size().scaled(QSize(720, 480), Qt::KeepAspectRatio).expandedTo({240, 160});
}

void TracePreview::setLines(std::vector<std::vector<Point>> lines) {
    lines_ = std::move(lines);
    update();
}

void TracePreview::setTextArt(std::span<const PlacedGlyph> glyphs) {
    textArt_.setGlyphs(glyphs);
    update();
}

void TracePreview::setRegion(const QRect& region) {
    region_ = region & picture_.rect();
    update();
}

QTransform TracePreview::pictureToWidget() const {
    if (picture_.isNull()) {
        return {};
    }
    const double factor =
        std::min(double(width()) / picture_.width(), double(height()) / picture_.height());
    const QSizeF shown = QSizeF(picture_.size()) * factor;
    return QTransform::fromTranslate((width() - shown.width()) / 2, (height() - shown.height()) / 2)
        .scale(factor, factor);
}

QPoint TracePreview::picturePixelAt(QPointF widgetPoint) const {
    const QPointF p = pictureToWidget().inverted().map(widgetPoint);
    return {std::clamp(int(p.x()), 0, picture_.width()),
            std::clamp(int(p.y()), 0, picture_.height())};
}

void TracePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QTransform toWidget = pictureToWidget();
    painter.setTransform(toWidget);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(0, 0, picture_);
    painter.fillRect(picture_.rect(), kVeil);

    // The canvas's pixels within the picture's: the text art and the lines are placed there.
    const QTransform canvasToPicture =
        QTransform::fromScale(1 / placement_.scale, 1 / placement_.scale)
            .translate(-placement_.offset.x(), -placement_.offset.y());
    painter.save();
    painter.setClipRect(picture_.rect());
    painter.setTransform(canvasToPicture * toWidget);
    textArt_.paint(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kTracedColour, 1.5);
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (const std::vector<Point>& line : lines_) {
        QPainterPath path;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const QPointF p(line[i].x + 0.5, line[i].y + 0.5);
            i == 0 ? path.moveTo(p) : path.lineTo(p);
        }
        painter.drawPath(path);
    }
    painter.restore();

    const QRect shownRegion = dragStart_ ? dragged_ : region_;
    if (!shownRegion.isNull()) {
        QPen regionPen(kRegionColour, 2, Qt::DashLine);
        regionPen.setCosmetic(true);
        painter.setPen(regionPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(shownRegion));
    }
}

void TracePreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragStart_ = picturePixelAt(event->position());
        dragged_ = QRect();
    }
}

void TracePreview::mouseMoveEvent(QMouseEvent* event) {
    if (dragStart_) {
        dragged_ = QRect(*dragStart_, picturePixelAt(event->position())).normalized();
        update();
    }
}

void TracePreview::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragStart_ || event->button() != Qt::LeftButton) {
        return;
    }
    dragStart_.reset();
    const bool click = dragged_.width() < kLeastDrag && dragged_.height() < kLeastDrag;
    setRegion(click ? QRect() : dragged_);
    emit regionChosen(region_);
}

}  // namespace penmoji
