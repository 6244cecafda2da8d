// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include <QString>

namespace penmoji {

// The rendered Shift_JIS text as the clipboard takes it: rows ended by CR LF, no trailing NUL,
// the entity blanks written as they are.
QString clipboardText(std::string_view shiftJis);

// The same with the entity blanks as the Unicode characters they stand for (U+00A0, U+2002,
// U+2009), for boards that take Unicode but not entities; it looks exactly like the page.
QString unicodeBlankText(std::string_view shiftJis);

}  // namespace penmoji
