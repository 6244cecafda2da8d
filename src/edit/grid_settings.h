// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "document/vector_set.h"

namespace penmoji {

struct GridSettings {
    bool gridEnabled = false;
    std::int32_t gridSize = 8;  // pixels; the grid dialog keeps it at 8, 12 or 16
};

// The point editing stores for a mouse position. With the grid on, each coordinate goes to a
// multiple of the grid size: non-negative ones to the nearest (a half going up), negative ones
// toward zero, because the quotient is truncated and the remainder keeps the coordinate's sign.
Point snapToGrid(Point p, const GridSettings& grid);

}  // namespace penmoji
