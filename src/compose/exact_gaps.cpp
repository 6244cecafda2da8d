// SPDX-License-Identifier: MIT
#include "compose/exact_gaps.h"

#include <numeric>

#include "compose/blank_run.h"

namespace penmoji {

ExactGaps exactGapsFor(const RenderSettings& settings) {
    ExactGaps gaps;
    gaps.belowLimit.reset();
    BlankRun run;
    for (std::int32_t width = 1; width < ExactGaps::kExactGapLimit; ++width) {
        const std::size_t count = composeBlankRun(run, width, 0, settings);
        const auto elements = std::span(run).first(count);
        if (count > 0 && std::accumulate(elements.begin(), elements.end(), 0) == width) {
            gaps.belowLimit.set(static_cast<std::size_t>(width));
        }
    }
    return gaps;
}

}  // namespace penmoji
