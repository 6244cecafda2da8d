// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "render/text_row.h"

namespace penmoji {

// The whole text of one rendering, NUL-terminated.
inline constexpr std::size_t kOutputTextSize = 6144;

// Appends `row` to `text` at `cursor` as Shift_JIS: a leading full-width space, every character
// as it is, every blank cell as a composed blank run, then CR LF. `cursor` advances past the last
// byte written. Every write leaves at least one byte free before the end of `text`, for the NUL
// the caller stores at `cursor`; what does not fit is skipped while the row's pixel count still
// advances. `random` places the dots of the runs.
void emitRow(const TextRow& row, std::span<char> text, std::size_t& cursor,
             const RenderSettings& settings, RandomGenerator& random);

// Where the text emitRow writes for `row` puts each of its used cells, in order: the pixel the
// elements before it reach (the leading full-width space not counted). A character lands on its
// own pixel unless a gap before it could not be composed exactly and the error is still carried.
void writtenPositions(const TextRow& row, const RenderSettings& settings,
                      std::vector<std::int64_t>& positions);

// In every stretch of adjacent half-width spaces of the NUL-terminated `text`, turns the 2nd, 4th,
// ... space into an underscore, which is just as wide in the output font.
void applyUnderscoreRuns(std::span<char> text);

}  // namespace penmoji
