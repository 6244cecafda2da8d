// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace penmoji {

// Consecutive Shift_JIS codes with one advance width in the 16-pixel output font.
struct FontWidthRun {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int32_t width = 0;  // pixels
};

// Every character of the font, in code order, measured by tools/quality/font_width_table; the
// source is generated, never edited by hand.
std::span<const FontWidthRun> fontWidthRuns();

// The advance in pixels of `code` (a Shift_JIS code as rows hold it: a single byte as its value,
// a double-byte character as lead * 256 + trail), or nothing when the code is no character of the
// font. The blank codes of rows are not characters; the spaces are, at their blank widths.
std::optional<std::int32_t> characterWidth(std::int32_t code);

}  // namespace penmoji
