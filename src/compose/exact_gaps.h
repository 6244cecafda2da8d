// SPDX-License-Identifier: MIT
#pragma once

#include "compose/render_settings.h"
#include "render/fine_matcher.h"

namespace penmoji {

// The gap widths below the limit that composeBlankRun makes exactly, with nothing carried, under
// `settings`; the fine mode places its characters so that only such gaps occur.
ExactGaps exactGapsFor(const RenderSettings& settings);

}  // namespace penmoji
