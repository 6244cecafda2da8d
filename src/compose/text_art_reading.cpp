// SPDX-License-Identifier: MIT
#include "compose/text_art_reading.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "compose/blank_run.h"
#include "compose/font_widths.h"
#include "document/placed_text.h"
#include "render/text_row.h"

namespace penmoji {
namespace {

struct Entity {
    std::string_view text;
    std::int32_t code;
};

constexpr std::array<Entity, 7> kEntities{{
    {"&nbsp;", kPlacedNbspCode},
    {"&ensp;", kPlacedEnSpaceCode},
    {"&thinsp;", kPlacedThinSpaceCode},
    {"&amp;", '&'},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&quot;", '"'},
}};

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isBlankElement(std::int32_t code) {
    return code == kHalfWidthSpaceCode || code == kFullWidthSpaceCode ||
           code == kPlacedEnSpaceCode || code == kPlacedThinSpaceCode || code == kPlacedNbspCode;
}

std::string codeText(std::int32_t code) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), code > 0xFF ? "0x%04X" : "0x%02X",
                  static_cast<unsigned>(code));
    return text.data();
}

// Reads one row's bytes into codes; false, with the error filled in, at the first byte that is
// no character.
bool readRow(std::string_view line, int rowNumber, TextArtReading& reading) {
    std::vector<std::int32_t>& row = reading.rows.emplace_back();
    std::size_t i = 0;
    while (i < line.size()) {
        const auto byte = static_cast<unsigned char>(line[i]);
        std::int32_t code = byte;
        std::size_t length = 1;
        const auto entity = std::find_if(kEntities.begin(), kEntities.end(), [&](const Entity& e) {
            return line.substr(i, e.text.size()) == e.text;
        });
        if (byte == '&' && entity != kEntities.end()) {
            code = entity->code;
            length = entity->text.size();
        } else if (isLeadByte(byte)) {
            if (i + 1 == line.size()) {
                reading.error = "the row ends inside a double-byte character";
            } else {
                code = byte * 256 + static_cast<unsigned char>(line[i + 1]);
                length = 2;
            }
        }
        if (reading.ok() && placedElementWidth(code) == 0) {
            reading.error = codeText(code) + " is no character of the 16-pixel font";
        }
        if (!reading.ok()) {
            reading.errorRow = rowNumber;
            reading.errorColumn = static_cast<int>(row.size()) + 1;
            return false;
        }
        row.push_back(code);
        i += length;
    }
    while (!row.empty() && isBlankElement(row.back())) {
        row.pop_back();
    }
    return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    lines.push_back(text.substr(start));
    return lines;
}

void dropEmptyEdgeRows(std::vector<std::vector<std::int32_t>>& rows) {
    while (!rows.empty() && rows.back().empty()) {
        rows.pop_back();
    }
    const auto firstFilled =
        std::find_if(rows.begin(), rows.end(), [](const auto& row) { return !row.empty(); });
    rows.erase(rows.begin(), firstFilled);
}

// The blank every filled row begins with, if they all begin with the same one.
std::optional<std::int32_t> commonLeadingBlank(const std::vector<std::vector<std::int32_t>>& rows) {
    std::optional<std::int32_t> common;
    for (const std::vector<std::int32_t>& row : rows) {
        if (row.empty()) {
            continue;
        }
        if (!isBlankElement(row.front()) || (common && *common != row.front())) {
            return std::nullopt;
        }
        common = row.front();
    }
    return common;
}

void dropCommonLeadingBlanks(std::vector<std::vector<std::int32_t>>& rows) {
    while (commonLeadingBlank(rows)) {
        for (std::vector<std::int32_t>& row : rows) {
            if (!row.empty()) {
                row.erase(row.begin());
            }
        }
    }
}

}  // namespace

std::int32_t placedElementWidth(std::int32_t code) {
    switch (code) {
        case kHalfWidthSpaceCode:
        case kPlacedNbspCode:
            return kHalfSpace;
        case kFullWidthSpaceCode:
            return kFullSpace;
        case kPlacedEnSpaceCode:
            return kEnSpace;
        case kPlacedThinSpaceCode:
            return kThinSpace;
        default:
            return characterWidth(code).value_or(0);
    }
}

TextArtReading readTextArt(std::string_view shiftJis) {
    TextArtReading reading;
    int rowNumber = 0;
    for (std::string_view line : splitLines(shiftJis)) {
        if (!readRow(line, ++rowNumber, reading)) {
            reading.rows.clear();
            return reading;
        }
    }
    dropEmptyEdgeRows(reading.rows);
    dropCommonLeadingBlanks(reading.rows);
    if (reading.rows.empty()) {
        reading.error = "the text holds no character";
    }
    return reading;
}

}  // namespace penmoji
