// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace penmoji::trace {

// Thins the ink (non-zero bytes) of a `width` × `height` picture to lines one pixel wide along
// the strokes' centres, by Zhang and Suen's thinning in two alternating sub-iterations (each
// pixel it marks taken away only while that still keeps every stroke in one piece, so that no
// stroke, however it stands on the pixel grid, thins to nothing), then takes the corners out of
// the staircases it leaves so that every line pixel has two neighbours in eight directions. The
// picture's outermost rows and columns must be zero. Ink becomes 1.
//
// Each pass looks only at the pixels whose neighbours changed, so the work grows with the ink,
// not with the ink times its thickness. `stopRequested`, when given, is asked every few
// milliseconds; when it answers true the thinning ends at once, returns false and leaves the
// picture half thinned.
bool thinToSkeleton(std::span<std::uint8_t> pixels, int width, int height,
                    const std::function<bool()>& stopRequested = {});

}  // namespace penmoji::trace
