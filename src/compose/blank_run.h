// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "compose/random_generator.h"
#include "compose/render_settings.h"

namespace penmoji {

// A blank element is held as its pixel width in the 16-pixel output font; the width alone
// identifies it.
inline constexpr std::int32_t kFullSpace = 11;  // Shift_JIS 0x81 0x40
inline constexpr std::int32_t kEnSpace = 8;     // "&ensp;"
inline constexpr std::int32_t kHalfSpace = 5;   // 0x20, or "&nbsp;" after another half-width space
inline constexpr std::int32_t kDot = 3;         // "."
inline constexpr std::int32_t kThinSpace = 2;   // "&thinsp;"

inline constexpr std::size_t kBlankRunCapacity = 300;
using BlankRun = std::array<std::int32_t, kBlankRunCapacity>;

// Fills `run` with the blank elements for a gap of `width` pixels whose target left edge lies
// `lag` pixels beyond where the text written so far has reached, and returns how many it placed.
// The run is exact when full-width and half-width spaces (or the elements the settings allow)
// can make width + lag; otherwise it is the nearest the settings allow, and the caller carries
// the error on. 0 means an empty run, also when the run would need more than run.size() elements.
std::size_t composeBlankRun(std::span<std::int32_t> run, std::int32_t width, std::int32_t lag,
                            const RenderSettings& settings);

// The first run, trying a full-width space before a half-width space at every position, of at most
// run.size() full-width (11) and half-width (5) spaces with no two half-width spaces adjacent that
// sums to `target`. Returns its length, or 0 when there is none or target is 0.
std::size_t findExactRun(std::span<std::int32_t> run, std::int64_t target);

// Moves each dot of the run to a random place among its full-width spaces, so dots do not line up
// from row to row. Widths and element counts stay the same.
void scatterDots(std::span<std::int32_t> run, RandomGenerator& random);

}  // namespace penmoji
