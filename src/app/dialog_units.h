// SPDX-License-Identifier: MIT
#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QSize>

class QWidget;

namespace penmoji {

// The dialogs are laid out in dialog units, which scale with the dialog's font: a horizontal
// unit is a quarter of the font's average Latin letter width, a vertical one an eighth of its
// height. The arrangement thus stays the same whatever font the desktop gives.
class DialogUnits {
public:
    explicit DialogUnits(const QFontMetrics& metrics);

    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;
    int x(int units) const { return units * baseX_ / 4; }
    int y(int units) const { return units * baseY_ / 8; }

private:
    int baseX_;
    int baseY_;
};

// Puts `widget` at `rect`, widened to its size hint when its text would not fit.
void placeWidget(QWidget& widget, const QRect& rect);

}  // namespace penmoji
