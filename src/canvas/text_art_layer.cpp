#include "canvas/text_art_layer.h"

#include <algorithm>
#include <limits>

#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>

#include "canvas/preview/preview_font.h"

namespace penmoji {
namespace {

const QColor kTextArtColour(100, 125, 200);

QString characterOf(std::int32_t code, QStringDecoder& decoder) {
    const char bytes[2] = {static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    return code > 0xFF ? decoder.decode(QByteArrayView(bytes, 2))
                       : decoder.decode(QByteArrayView(bytes + 1, 1));
}

}  // namespace

void TextArtLayer::setGlyphs(std::span<const PlacedGlyph> glyphs) {
    image_ = QImage();
    if (glyphs.empty()) {
        return;
    }
    int left = std::numeric_limits<int>::max(), top = left;
    int right = std::numeric_limits<int>::min(), bottom = right;
    for (const PlacedGlyph& glyph : glyphs) {
        left = std::min(left, glyph.x);
        top = std::min(top, glyph.top);
        right = std::max(right, glyph.x + 16);
        bottom = std::max(bottom, glyph.top + 16);
    }
    origin_ = QPoint(left, top);
    image_ = QImage(std::min(right - left, kMaxSide), std::min(bottom - top, kMaxSide),
                    QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::transparent);

    QPainter painter(&image_);
    QFont font = previewFont();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(kTextArtColour);
    const int ascent = QFontMetrics(font).ascent();
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    for (const PlacedGlyph& glyph : glyphs) {
        painter.drawText(QPoint(glyph.x - left, glyph.top - top + ascent),
                         characterOf(glyph.code, decoder));
    }
}

void TextArtLayer::paint(QPainter& painter) const {
    if (!image_.isNull()) {
        painter.drawImage(origin_, image_);
    }
}

}  // namespace penmoji
