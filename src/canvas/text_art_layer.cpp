// SPDX-License-Identifier: MIT
#include "canvas/text_art_layer.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>

#include "canvas/row_changes.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

const QColor kTextArtColour(100, 125, 200);
constexpr int kRowHeight = 16;

QString characterOf(std::int32_t code, QStringDecoder& decoder) {
    const char bytes[2] = {static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    return code > 0xFF ? decoder.decode(QByteArrayView(bytes, 2))
                       : decoder.decode(QByteArrayView(bytes + 1, 1));
}

// The canvas rectangle the glyphs' cells cover, cut to the largest picture.
QRect coveredRect(std::span<const PlacedGlyph> glyphs) {
    if (glyphs.empty()) {
        return {};
    }
    int left = std::numeric_limits<int>::max(), top = left;
    int right = std::numeric_limits<int>::min(), bottom = right;
    for (const PlacedGlyph& glyph : glyphs) {
        left = std::min(left, glyph.x);
        top = std::min(top, glyph.top);
        right = std::max(right, glyph.x + kRowHeight);
        bottom = std::max(bottom, glyph.top + kRowHeight);
    }
    return QRect(left, top, std::min(right - left, TextArtLayer::kMaxSide),
                 std::min(bottom - top, TextArtLayer::kMaxSide));
}

bool byPlace(const PlacedGlyph& a, const PlacedGlyph& b) {
    return std::tie(a.top, a.x, a.code) < std::tie(b.top, b.x, b.code);
}

QRect cellOf(const PlacedGlyph& glyph) {
    return QRect(glyph.x, glyph.top, kRowHeight, kRowHeight);
}

}  // namespace

QRegion TextArtLayer::setGlyphs(std::span<const PlacedGlyph> glyphs) {
    Rows rows = groupByRow(
        glyphs, [](const PlacedGlyph& glyph) { return glyph.top; }, byPlace);
    const QRect covered = coveredRect(glyphs);
    QRegion changed;
    std::vector<int> redrawn;
    if (covered != canvasRect()) {
        changed = QRegion(canvasRect()) + covered;
        image_ = covered.isEmpty() ? QImage()
                                   : QImage(covered.size(), QImage::Format_ARGB32_Premultiplied);
        origin_ = covered.topLeft();
        image_.fill(Qt::transparent);
        for (const auto& [top, row] : rows) {
            redrawn.push_back(top);
        }
    } else {
        const std::map<int, QRect> changedRows = changedCells(rows_, rows, cellOf, byPlace);
        changed = areaOf(changedRows);
        for (const auto& [top, cells] : changedRows) {
            redrawn.push_back(top);
        }
    }
    rows_ = std::move(rows);
    redraw(redrawn);
    return changed;
}

QRegion TextArtLayer::setInk(const QColor& ink) {
    if (ink == ink_) {
        return {};
    }
    ink_ = ink;
    std::vector<int> tops;
    for (const auto& [top, row] : rows_) {
        tops.push_back(top);
    }
    redraw(tops);
    return QRegion(canvasRect());
}

void TextArtLayer::redraw(const std::vector<int>& tops) {
    if (image_.isNull() || tops.empty()) {
        return;
    }
    QPainter painter(&image_);
    painter.translate(-origin_);
    painter.setFont(crispArtFont());
    painter.setPen(ink_.isValid() ? ink_ : kTextArtColour);
    for (int top : tops) {
        const QRect band(origin_.x(), top, image_.width(), kRowHeight);
        painter.setClipRect(band);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(band, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (const auto row = rows_.find(top); row != rows_.end()) {
            drawRow(painter, top, row->second);
        }
    }
}

void TextArtLayer::drawRow(QPainter& painter, int top,
                           const std::vector<PlacedGlyph>& glyphs) const {
    // Each row is clipped to its own band, so a row drawn again looks exactly as it did when the
    // whole picture was drawn.
    const int ascent = QFontMetrics(painter.font()).ascent();
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    for (const PlacedGlyph& glyph : glyphs) {
        painter.drawText(QPoint(glyph.x, top + ascent), characterOf(glyph.code, decoder));
    }
}

void TextArtLayer::paint(QPainter& painter) const {
    if (!image_.isNull()) {
        painter.drawImage(origin_, image_);
    }
}

}  // namespace penmoji
