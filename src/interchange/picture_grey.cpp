// SPDX-License-Identifier: MIT
#include "interchange/picture_grey.h"

#include <QPainter>

namespace penmoji {

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
