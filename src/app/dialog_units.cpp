// SPDX-License-Identifier: MIT
#include "app/dialog_units.h"

#include <QWidget>

namespace penmoji {

DialogUnits::DialogUnits(const QFontMetrics& metrics) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

QSize DialogUnits::size(int width, int height) const {
    return {x(width), y(height)};
}

void placeWidget(QWidget& widget, const QRect& rect) {
    QRect placed = rect;
    placed.setWidth(std::max(rect.width(), widget.sizeHint().width()));
    widget.setGeometry(placed);
}

}  // namespace penmoji
