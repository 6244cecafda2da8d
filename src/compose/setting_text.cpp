// SPDX-License-Identifier: MIT
#include "compose/setting_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace penmoji {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the run of digits at `pos`.
std::size_t digitsAt(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    return end - pos;
}

bool hasSign(std::string_view text) {
    return !text.empty() && (text.front() == '+' || text.front() == '-');
}

// Checked by hand rather than trusted to a library parser, which would also take "inf", "nan"
// or hexadecimal. Returns where the exponent starts (text.size() when there is none), or
// nothing when `text` is not exactly one decimal real.
std::optional<std::size_t> scanReal(std::string_view text) {
    std::size_t pos = hasSign(text) ? 1 : 0;
    const std::size_t whole = digitsAt(text, pos);
    pos += whole;
    std::size_t fraction = 0;
    if (pos < text.size() && text[pos] == '.') {
        fraction = digitsAt(text, pos + 1);
        pos += 1 + fraction;
    }
    if (whole + fraction == 0) {
        return std::nullopt;
    }
    const std::size_t exponentStart = pos;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            ++pos;
        }
        const std::size_t exponentDigits = digitsAt(text, pos);
        if (exponentDigits == 0) {
            return std::nullopt;
        }
        pos += exponentDigits;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return exponentStart;
}

bool acceptableZero(std::string_view trimmed) {
    return !trimmed.empty() && trimmed[0] == '0';
}

}  // namespace

float toSettingFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::abs(value) > kMax) {
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

std::optional<double> parseSettingReal(std::string_view text) {
    const std::string_view number = trimBlanks(text);
    const std::optional<std::size_t> exponentStart = scanReal(number);
    if (!exponentStart) {
        return std::nullopt;
    }
    const bool negative = number.front() == '-';
    // from_chars takes no leading plus.
    const std::string_view magnitude = hasSign(number) ? number.substr(1) : number;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool tiny = *exponentStart + 1 < number.size() && number[*exponentStart + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc{} || end != magnitude.data() + magnitude.size()) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    if (value == 0.0 && !acceptableZero(number)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> parseSettingInteger(std::string_view text) {
    const std::string_view number = trimBlanks(text);
    const std::size_t start = hasSign(number) ? 1 : 0;
    const std::size_t digits = digitsAt(number, start);
    if (digits == 0 || start + digits != number.size()) {
        return std::nullopt;
    }
    const bool negative = number.front() == '-';
    // Accumulated towards the sign's bound and held there, so no digit string can overflow.
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (char c : number.substr(start)) {
        const std::int64_t digit = c - '0';
        value = negative ? std::max(kMin, value * 10 - digit) : std::min(kMax, value * 10 + digit);
    }
    if (value == 0 && !acceptableZero(number)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace penmoji
