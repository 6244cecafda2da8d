// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "document/vector_set.h"
#include "render/progress_receiver.h"
#include "render/row_band.h"

namespace penmoji {

// Where the cursor goes when no glyph fits at `x` in the row from `top` to `top + 16`: the
// left edge of the first probe window `step` pixels wide, stepping right from x (the window at
// x itself is never probed), that a drawn segment crosses or touches — its edges have no
// half-pixel inset — or the first step at or beyond `canvasRight`. `x` itself when it is
// already at or beyond `canvasRight`.
//
// Empty stretches cost nothing: the walk jumps straight to the first window a segment of the
// band can reach. A long walk counts its steps on `pacer` (positions on a canvas `canvasRight`
// wide) and gives nothing when it is asked to stop.
std::optional<std::int64_t> skipGap(std::int64_t x, std::int64_t top, BandCursor& band,
                                    std::int32_t step, std::int64_t canvasRight, WorkPacer& pacer);

// The same for the whole drawing, for callers without a band at hand.
std::int64_t skipGap(std::int64_t x, std::int64_t top, const VectorSet& vectors, std::int32_t step,
                     std::int64_t canvasRight);

}  // namespace penmoji
