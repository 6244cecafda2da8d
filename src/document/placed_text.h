// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace penmoji {

// Blank elements of placed text that have no Shift_JIS code of their own (they are written as
// entities): held under the row codes a rendering never produces.
inline constexpr std::int32_t kPlacedEnSpaceCode = 0xFFF0;    // "&ensp;", 8 pixels
inline constexpr std::int32_t kPlacedThinSpaceCode = 0xFFF1;  // "&thinsp;", 2 pixels
inline constexpr std::int32_t kPlacedNbspCode = 0xFFF2;       // "&nbsp;", 5 pixels

// A block of text placed by hand on the canvas. Its rows hold Shift_JIS codes as rows do (a single
// byte as its value, a double-byte character as lead * 256 + trail) and the blank elements the
// text gave, so that every character keeps the pixel its own row gives it. The first row's left
// edge is at canvas pixel x and the first row is the 16-pixel row holding y.
struct PlacedPiece {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::vector<std::vector<std::int32_t>> rows;

    friend bool operator==(const PlacedPiece&, const PlacedPiece&) = default;
};

// Every piece of a drawing, in the order they were placed (a later piece lies over an earlier).
using PlacedText = std::vector<PlacedPiece>;

}  // namespace penmoji
