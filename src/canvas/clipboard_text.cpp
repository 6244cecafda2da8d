// SPDX-License-Identifier: MIT
#include "canvas/clipboard_text.h"

#include <QStringDecoder>

#include "compose/unicode_blanks.h"

namespace penmoji {

QString clipboardText(std::string_view shiftJis) {
    shiftJis = shiftJis.substr(0, shiftJis.find('\0'));
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    return decoder.decode(QByteArrayView(shiftJis.data(), static_cast<qsizetype>(shiftJis.size())));
}

QString unicodeBlankText(std::string_view shiftJis) {
    // The same replacement as the renderer's UTF-8 output with Unicode blanks.
    return QString::fromStdString(replaceEntityBlanks(clipboardText(shiftJis).toStdString()));
}

}  // namespace penmoji
