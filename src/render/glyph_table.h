// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace penmoji {

// One stroke of a glyph, in 1/16 pixel relative to the top-left corner of its box.
struct GlyphSegment {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
};

// One character the renderer can place: Shift_JIS code, advance width in 1/16 pixel,
// preference bonus, and up to four strokes (unused slots all zero).
struct GlyphShape {
    std::int32_t code = 0;
    std::int32_t width = 0;
    std::int32_t priority = 0;
    std::array<GlyphSegment, 4> segments{};
};

inline constexpr int kGlyphCount = 197;

// Height of every glyph box in 1/16 pixel: one 16-pixel text row.
inline constexpr std::int32_t kGlyphBoxHeight = 256;

// The entries with exactly `segmentCount` strokes (1 to 4), in table order;
// empty for any other count.
std::span<const GlyphShape> glyphGroup(int segmentCount);

// All entries: the 1-stroke group first, then the 2-, 3- and 4-stroke groups,
// each in table order.
std::span<const GlyphShape> glyphTable();

}  // namespace penmoji
