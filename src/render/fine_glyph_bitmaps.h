// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace penmoji {

// A character the fine matcher may write, with the pixels the 16-pixel font sets for it.
// Bit i of ink[r] is the pixel of row r (from the row top) in column pen - kFineInkLeft + i,
// so ink the font sets a little left or right of the advance is kept.
struct FineGlyph {
    std::int32_t code = 0;   // Shift_JIS
    std::int32_t width = 0;  // advance in pixels
    std::array<std::uint32_t, 16> ink{};
};

inline constexpr int kFineInkLeft = 4;

// Every character of the glyph table (at the table's widths) and a set of further characters
// of the font that draw lines well, measured from the font by tools/quality/fine_font_table;
// the source of the table is generated, never edited by hand.
std::span<const FineGlyph> fineGlyphs();

}  // namespace penmoji
