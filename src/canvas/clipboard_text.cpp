#include "canvas/clipboard_text.h"

#include <QStringDecoder>

namespace penmoji {

QString clipboardText(std::string_view shiftJis) {
    shiftJis = shiftJis.substr(0, shiftJis.find('\0'));
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(shiftJis.data(), static_cast<qsizetype>(shiftJis.size())));
}

QString unicodeBlankText(std::string_view shiftJis) {
    // Only blank runs hold '&': no glyph of the table is one.
    QString text = clipboardText(shiftJis);
    text.replace(QStringLiteral("&nbsp;"), QString(QChar(0x00A0)));
    text.replace(QStringLiteral("&ensp;"), QString(QChar(0x2002)));
    text.replace(QStringLiteral("&thinsp;"), QString(QChar(0x2009)));
    return text;
}

}  // namespace penmoji
