// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "document/placed_text.h"
#include "render/fixed_cells.h"
#include "render/text_row.h"

namespace penmoji {

// A character of placed text where it lands: the 16-pixel row of the canvas (row r spans pixels
// 16r + 1 to 16r + 16, as the rendering walks them), its cell in that row, and the piece it
// belongs to (its index in the PlacedText).
struct PlacedCharacter {
    std::int32_t row = 0;
    RowCell cell;
    std::size_t piece = 0;

    friend bool operator==(const PlacedCharacter&, const PlacedCharacter&) = default;
};

// The characters of every piece, each at the pixel its own row gives it: the piece's x plus the
// widths of the elements before it. A blank of a piece holds its room too (nothing is rendered
// over it), though it is not written as a cell: the row's own blanks are composed across it. A
// later piece's character replaces an earlier one's that it overlaps, as a later placed glyph does
// in a row. The result is ordered by row, then by x.
std::vector<PlacedCharacter> layOutPlacedText(const PlacedText& text);

// The cells the render passes keep free for `placed`, in the same order.
std::vector<FixedCell> fixedCellsOf(std::span<const PlacedCharacter> placed);

// The 16-pixel row holding canvas pixel y; the canvas's top edge, pixel 0, counts to the first
// row, and rows above the canvas are negative.
std::int32_t rowHolding(std::int32_t y);

}  // namespace penmoji
