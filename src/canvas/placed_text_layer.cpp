// SPDX-License-Identifier: MIT
#include "canvas/placed_text_layer.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "canvas/art_text_input.h"
#include "compose/placed_text_layout.h"
#include "compose/text_art_reading.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

constexpr int kRowHeight = 16;
const QColor kInk(0, 0, 0);
const QColor kFrame(80, 80, 80);
const QColor kInexactMark(230, 110, 0);

// The top pixel of a 16-pixel row, as the rendering places its characters.
int rowTop(std::int32_t row) {
    return kRowHeight * row + 1;
}

// The frames are drawn just outside the area, so they never hide a character.
QRect frameArea(const QRect& area) {
    return area.adjusted(-2, -2, 2, 2);
}

}  // namespace

QRect pieceArea(const PlacedPiece& piece) {
    std::int32_t widest = 0;
    for (const std::vector<std::int32_t>& row : piece.rows) {
        std::int32_t width = 0;
        for (const std::int32_t code : row) {
            width += placedElementWidth(code);
        }
        widest = std::max(widest, width);
    }
    // An empty piece still has a place to be found at.
    return QRect(piece.x, rowTop(rowHolding(piece.y)), std::max(widest, 2),
                 kRowHeight * std::max<int>(1, static_cast<int>(piece.rows.size())));
}

int pieceAt(const PlacedText& text, Point at) {
    for (int i = static_cast<int>(text.size()) - 1; i >= 0; --i) {
        if (pieceArea(text[static_cast<std::size_t>(i)]).contains(at.x, at.y)) {
            return i;
        }
    }
    return -1;
}

QRegion PlacedTextLayer::setText(const PlacedText& text) {
    QRegion changed;
    for (const QRect& area : areas_) {
        changed += frameArea(area);
    }
    areas_.clear();
    for (const PlacedPiece& piece : text) {
        areas_.push_back(pieceArea(piece));
        changed += frameArea(areas_.back());
    }
    const int ascent = QFontMetrics(crispArtFont()).ascent();
    characters_.clear();
    for (const PlacedCharacter& c : layOutPlacedText(text)) {
        if (isBlankCode(c.cell.code)) {
            continue;
        }
        const int top = rowTop(c.row);
        characters_.push_back({QPoint(c.cell.x, top + ascent),
                               QRect(c.cell.x, top, c.cell.width, kRowHeight),
                               characterOfCode(c.cell.code)});
    }
    std::erase_if(inexact_, [&](int piece) { return piece >= static_cast<int>(areas_.size()); });
    if (selected_ >= static_cast<int>(areas_.size())) {
        selected_ = -1;
    }
    return changed;
}

QRect PlacedTextLayer::areaOf(int piece) const {
    return piece >= 0 && piece < static_cast<int>(areas_.size()) ? frameArea(areas_[piece])
                                                                 : QRect();
}

QRegion PlacedTextLayer::setSelected(int piece) {
    const QRegion changed = QRegion(areaOf(selected_)) + areaOf(piece);
    selected_ = piece;
    return changed;
}

QRegion PlacedTextLayer::setInexact(std::vector<int> pieces) {
    QRegion changed;
    for (const int piece : inexact_) {
        changed += areaOf(piece);
    }
    inexact_ = std::move(pieces);
    for (const int piece : inexact_) {
        changed += areaOf(piece);
    }
    return changed;
}

void PlacedTextLayer::paint(QPainter& painter, const QRect& exposed) const {
    if (areas_.empty()) {
        return;
    }
    painter.save();
    painter.setFont(crispArtFont());
    painter.setPen(kInk);
    for (const Character& c : characters_) {
        if (c.cell.intersects(exposed) && !c.text.isEmpty()) {
            painter.drawText(c.baselineLeft, c.text);
        }
    }
    painter.setBrush(Qt::NoBrush);
    for (const int piece : inexact_) {
        // A dashed frame and a corner mark: the blanks around this piece could not meet it
        // exactly, so the art is not quite as it is shown.
        const QRect area = areaOf(piece);
        painter.setPen(QPen(kInexactMark, 1, Qt::DashLine));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        painter.fillRect(QRect(area.topRight() - QPoint(5, 0), QSize(6, 6)), kInexactMark);
    }
    if (const QRect area = areaOf(selected_); !area.isEmpty()) {
        painter.setPen(QPen(kFrame, 1));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

}  // namespace penmoji
