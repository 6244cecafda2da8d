// SPDX-License-Identifier: MIT
#include "canvas/preview/char_width_table.h"

#include <algorithm>

#include <QFontMetrics>
#include <QStringDecoder>

namespace penmoji {
namespace {

// The character a code stands for, or nothing when it is no Shift_JIS character (a lone lead
// byte, an unassigned code, a lead byte that is really a half-width katakana). The decoder
// marks those with U+FFFD or with the substitute control U+001A.
bool decodeOne(QStringDecoder& decoder, std::int32_t code, QString* out) {
    char bytes[2];
    qsizetype length = 0;
    if (code > 0xFF) {
        bytes[length++] = static_cast<char>(code >> 8);
    }
    bytes[length++] = static_cast<char>(code & 0xFF);
    const QString text = decoder.decode(QByteArrayView(bytes, length));
    const bool single = text.size() == 1 || (text.size() == 2 && text[0].isHighSurrogate());
    if (!single || text[0] == QChar::ReplacementCharacter || text[0] == QChar(0x1A)) {
        return false;
    }
    *out = text;
    return true;
}

}  // namespace

void CharWidthTable::FillFromFont(const QFont& font) {
    if (filled_) {
        return;
    }
    const QFontMetrics metrics(font);
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    int index = 0;
    auto measure = [&](std::int32_t code) {
        codes_[index] = code;
        QString character;
        // A code that is no character keeps width 0, as a failed query would.
        advances_[index] =
            decodeOne(decoder, code, &character) ? metrics.horizontalAdvance(character) : 0;
        ++index;
    };
    for (std::int32_t code = 0x20; code <= 0xFE; ++code) {
        measure(code);
    }
    for (std::int32_t code = 0x8140; code <= 0xFCFE; ++code) {
        measure(code);
    }
    count_ = index;
    lineHeight_ = metrics.height() + 2;
    filled_ = true;
}

std::int32_t CharWidthTable::WidthOf(std::int32_t code) const {
    if (!filled_) {
        return 0;
    }
    const auto end = codes_.begin() + count_;
    const auto it = std::lower_bound(codes_.begin(), end, code);
    if (it == end || *it != code) {
        return 0;
    }
    return advances_[static_cast<std::size_t>(it - codes_.begin())];
}

}  // namespace penmoji
