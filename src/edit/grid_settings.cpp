// SPDX-License-Identifier: MIT
#include "edit/grid_settings.h"

namespace penmoji {
namespace {

std::int32_t snapCoordinate(std::int32_t c, std::int32_t g) {
    // 64-bit so that rounding up next to the 32-bit limit cannot overflow.
    const std::int64_t q = c / g;
    const std::int64_t r = c - q * g;
    const std::int64_t snapped = r >= g / 2 ? g * (q + 1) : g * q;
    return snapped > INT32_MAX ? static_cast<std::int32_t>(g * q)
                               : static_cast<std::int32_t>(snapped);
}

}  // namespace

Point snapToGrid(Point p, const GridSettings& grid) {
    // The dialog never leaves a size below 8; a record set up otherwise must not divide by zero.
    if (!grid.gridEnabled || grid.gridSize <= 0) {
        return p;
    }
    return {snapCoordinate(p.x, grid.gridSize), snapCoordinate(p.y, grid.gridSize)};
}

}  // namespace penmoji
