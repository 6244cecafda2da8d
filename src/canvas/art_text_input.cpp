// SPDX-License-Identifier: MIT
#include "canvas/art_text_input.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QStringDecoder>
#include <QStringEncoder>

#include "compose/text_art_reading.h"
#include "compose/unicode_blanks.h"
#include "render/text_row.h"

namespace penmoji {
namespace {

// The clipboard formats that hold the text as Shift_JIS bytes.
bool isShiftJisFormat(const QString& format) {
    const QString f = format.toLower().remove(QLatin1Char(' '));
    return f.startsWith(QLatin1String("text/plain;charset=")) &&
           (f.endsWith(QLatin1String("shift_jis")) || f.endsWith(QLatin1String("shift-jis")) ||
            f.endsWith(QLatin1String("windows-31j")) || f.endsWith(QLatin1String("cp932")) ||
            f.endsWith(QLatin1String("sjis")));
}

QString readingMessage(const TextArtReading& reading) {
    if (reading.errorRow == 0) {
        return QCoreApplication::translate("Penmoji", "貼り付けるテキストに文字がありません");
    }
    const QString where = QCoreApplication::translate("Penmoji", "%1 行目の %2 文字目")
                              .arg(reading.errorRow)
                              .arg(reading.errorColumn);
    if (reading.error.find("double-byte") != std::string::npos) {
        return QCoreApplication::translate("Penmoji", "%1: 2 バイト文字の途中で行が終わっています")
            .arg(where);
    }
    return QCoreApplication::translate("Penmoji", "%1 (%2) は 16 ピクセルのフォントにない文字です")
        .arg(where, QString::fromStdString(reading.error.substr(0, reading.error.find(' '))));
}

QByteArray encodeShiftJis(const QString& text, bool& failed) {
    QStringEncoder encoder("Shift_JIS", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    failed = encoder.hasError();
    return bytes;
}

}  // namespace

ArtInput readArtBytes(std::string_view shiftJis) {
    TextArtReading reading = readTextArt(shiftJis);
    if (!reading.ok()) {
        return {{}, readingMessage(reading)};
    }
    return {std::move(reading.rows), {}};
}

ArtInput readArtText(const QString& text) {
    std::string bytes;
    int row = 1;
    int column = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                               ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                               : text.at(i).unicode();
        const QString character = QString::fromUcs4(&c, 1);
        i += character.size();
        if (c == U'\r' && i < text.size() && text.at(i) == QLatin1Char('\n')) {
            continue;  // the LF ends the row
        }
        if (c == U'\r' || c == U'\n') {
            bytes += "\r\n";
            ++row;
            column = 0;
            continue;
        }
        ++column;
        // The blanks boards write as Unicode characters become the entities they stand for.
        const std::string asEntity = unicodeBlanksAsEntities(character.toStdString());
        if (asEntity != character.toStdString()) {
            bytes += asEntity;
            continue;
        }
        bool failed = false;
        const QByteArray encoded = encodeShiftJis(character, failed);
        if (failed || c == 0xFEFF) {
            if (c == 0xFEFF) {
                --column;  // a byte order mark is no character of the art
                continue;
            }
            return {{},
                    QCoreApplication::translate(
                        "Penmoji", "%1 行目の %2 文字目「%3」は Shift_JIS にない文字です")
                        .arg(row)
                        .arg(column)
                        .arg(character)};
        }
        bytes.append(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    }
    return readArtBytes(bytes);
}

ArtInput readClipboardArt(const QMimeData& data) {
    for (const QString& format : data.formats()) {
        if (isShiftJisFormat(format)) {
            const QByteArray bytes = data.data(format);
            return readArtBytes(std::string_view(bytes.constData(), bytes.size()));
        }
    }
    return readArtText(data.text());
}

std::optional<std::int32_t> placedCodeOf(char32_t character) {
    switch (character) {
        case 0x00A0:
            return kPlacedNbspCode;
        case 0x2002:
            return kPlacedEnSpaceCode;
        case 0x2009:
            return kPlacedThinSpaceCode;
        default:
            break;
    }
    bool failed = false;
    const QByteArray bytes = encodeShiftJis(QString::fromUcs4(&character, 1), failed);
    if (failed || bytes.isEmpty() || bytes.size() > 2) {
        return std::nullopt;
    }
    const auto byte = [&](int i) {
        return static_cast<std::int32_t>(static_cast<unsigned char>(bytes[i]));
    };
    const std::int32_t code = bytes.size() == 2 ? byte(0) * 256 + byte(1) : byte(0);
    if (placedElementWidth(code) <= 0) {
        return std::nullopt;
    }
    return code;
}

std::string pieceShiftJis(const PlacedPiece& piece) {
    std::string text;
    for (const std::vector<std::int32_t>& row : piece.rows) {
        for (const std::int32_t code : row) {
            switch (code) {
                case kPlacedEnSpaceCode:
                    text += "&ensp;";
                    break;
                case kPlacedThinSpaceCode:
                    text += "&thinsp;";
                    break;
                case kPlacedNbspCode:
                    text += "&nbsp;";
                    break;
                default:
                    if (code > 0xFF) {
                        text += static_cast<char>(code >> 8);
                    }
                    text += static_cast<char>(code & 0xFF);
            }
        }
        text += "\r\n";
    }
    return text;
}

std::vector<std::int32_t> blanksOfWidth(std::int32_t width) {
    if (width <= 0) {
        return {};
    }
    struct Blank {
        std::int32_t width;
        std::int32_t code;
    };
    constexpr Blank kBlanks[] = {{11, kFullWidthSpaceCode},
                                 {8, kPlacedEnSpaceCode},
                                 {5, kHalfWidthSpaceCode},
                                 {2, kPlacedThinSpaceCode}};
    // The fewest elements for every width up to `width`; -1 where none fits exactly.
    std::vector<int> last(static_cast<std::size_t>(width) + 1, -1);
    std::vector<int> count(last.size(), 1 << 20);
    count[0] = 0;
    for (std::int32_t w = 1; w <= width; ++w) {
        for (int b = 0; b < 4; ++b) {
            const std::int32_t rest = w - kBlanks[b].width;
            if (rest >= 0 && count[rest] + 1 < count[w]) {
                count[w] = count[rest] + 1;
                last[w] = b;
            }
        }
    }
    std::int32_t w = width;
    while (w > 0 && last[w] < 0) {
        --w;
    }
    std::vector<std::int32_t> codes;
    for (; w > 0; w -= kBlanks[last[w]].width) {
        codes.push_back(kBlanks[last[w]].code);
    }
    return codes;
}

QString characterOfCode(std::int32_t code) {
    if (code == kPlacedEnSpaceCode || code == kPlacedThinSpaceCode || code == kPlacedNbspCode) {
        return {};
    }
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    const char bytes[2] = {static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    return code > 0xFF ? decoder.decode(QByteArrayView(bytes, 2))
                       : decoder.decode(QByteArrayView(bytes + 1, 1));
}

}  // namespace penmoji
