// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace penmoji {

// How a setting's number is read from text, by the settings dialog and the command line alike.
// Blanks and tabs around the number are ignored; anything else after it is refused. A value of
// zero is accepted only when the text starts with the digit 0, so an empty text, ".0" or "-0"
// is refused. Nothing when refused.
//
// A real is C's decimal notation: sign, digits, point, exponent. Beyond the range of a double it
// becomes an infinity, or zero when the exponent is negative (and is then refused as a zero not
// written with a 0).
std::optional<double> parseSettingReal(std::string_view text);
// An optional sign and decimal digits; values beyond 32 bits stop at the nearest bound.
std::optional<std::int32_t> parseSettingInteger(std::string_view text);

// A real for a single-precision setting: beyond a float's range it becomes an infinity, which
// clampSettings then brings to the setting's bound.
float toSettingFloat(double value);

}  // namespace penmoji
