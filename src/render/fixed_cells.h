// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "render/text_row.h"

namespace penmoji {

// A character that stays where it was put: the 16-pixel row it lies in (row n has its top at
// 16 n + 1) and its cell there. The render passes place nothing over it and walk on after it.
struct FixedCell {
    std::int64_t row = 0;
    RowCell cell;

    friend bool operator==(const FixedCell&, const FixedCell&) = default;
};

// The cells of row `index` among `cells`, which are ordered by row, then by x, and do not
// overlap. A cell left of the canvas is never shown, so it holds nothing back either.
inline std::span<const FixedCell> fixedCellsOfRow(std::span<const FixedCell> cells,
                                                  std::int64_t index) {
    auto first = std::ranges::lower_bound(cells, index, {}, &FixedCell::row);
    const auto last = std::ranges::upper_bound(first, cells.end(), index, {}, &FixedCell::row);
    while (first != last && first->cell.x < 0) {
        ++first;
    }
    return {first, last};
}

}  // namespace penmoji
