#pragma once

#include <cstdint>
#include <span>

namespace penmoji::trace {

// Thins the ink (non-zero bytes) of a `width` × `height` picture to lines one pixel wide along
// the strokes' centres, by Zhang and Suen's parallel thinning, then takes the corners out of the
// staircases it leaves so that every line pixel has two neighbours in eight directions. The
// picture's outermost rows and columns must be zero. Ink becomes 1.
void thinToSkeleton(std::span<std::uint8_t> pixels, int width, int height);

}  // namespace penmoji::trace
