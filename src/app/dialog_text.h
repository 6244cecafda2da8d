#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <QString>

namespace penmoji {

// The edit fields of the dialogs read at most this many characters.
inline constexpr int kDialogFieldLength = 31;

// How the dialogs read a number from an edit field. Blanks and tabs around the number are
// ignored; anything else after it is refused. A value of zero is accepted only when the text
// starts with the digit 0, so an empty field, ".0" or "-0" is refused. Nothing when refused.
//
// A real is C's decimal notation: sign, digits, point, exponent. Beyond the range of a double it
// becomes an infinity, or zero when the exponent is negative (and is then refused as a zero not
// written with a 0).
std::optional<double> parseDialogReal(std::string_view text);
// An optional sign and decimal digits; values beyond 32 bits stop at the nearest bound.
std::optional<std::int32_t> parseDialogInteger(std::string_view text);

// The same rules on the first kDialogFieldLength characters of a field's text.
std::optional<double> readDialogReal(const QString& fieldText);
std::optional<std::int32_t> readDialogInteger(const QString& fieldText);

// A real in the shortest form of at most 6 significant digits ("0.85", "1", "1e+06").
QString formatDialogReal(double value);

}  // namespace penmoji
