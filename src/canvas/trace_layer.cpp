#include "canvas/trace_layer.h"

#include <QPainter>

namespace penmoji {

void paintTraceImage(QPainter& painter, const QImage& image, const TracePlacement& placement) {
    if (image.isNull() || placement.opacity <= 0 || placement.scale <= 0) {
        return;
    }
    painter.save();
    painter.setOpacity(placement.opacity);
    // Enlarged, its pixels stay sharp to trace over; reduced, it is smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, placement.scale < 1);
    painter.drawImage(QRectF(placement.offset, QSizeF(image.size()) * placement.scale), image);
    painter.restore();
}

QImage greyForTracing(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(QImage::Format_Grayscale8);
    }
    QImage paper(image.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, image);
    painter.end();
    return paper.convertToFormat(QImage::Format_Grayscale8);
}

}  // namespace penmoji
