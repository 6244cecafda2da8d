// SPDX-License-Identifier: MIT
#include "compose/font_widths.h"

#include <algorithm>

namespace penmoji {

std::optional<std::int32_t> characterWidth(std::int32_t code) {
    const std::span<const FontWidthRun> runs = fontWidthRuns();
    const auto run =
        std::upper_bound(runs.begin(), runs.end(), code,
                         [](std::int32_t value, const FontWidthRun& r) { return value < r.first; });
    if (run == runs.begin() || std::prev(run)->last < code) {
        return std::nullopt;
    }
    return std::prev(run)->width;
}

}  // namespace penmoji
