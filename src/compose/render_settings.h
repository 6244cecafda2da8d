// SPDX-License-Identifier: MIT
#pragma once

#include "render/match_settings.h"

namespace penmoji {

// Options that steer a rendering: the matcher's (inherited) and how blanks are written.
struct RenderSettings : MatchSettings {
    bool useDots = false;          // blanks may contain "." (dots)
    bool noEntities = false;       // no "&nbsp;", "&ensp;" or "&thinsp;" in blanks
    bool underscoreRuns = true;    // every second of two adjacent half-width spaces becomes "_"
    bool strictHalfSpaces = true;  // avoid adjacent half-width spaces even at a width error
};

// Brings every numeric field into its range. Out-of-range input is never refused, only clamped;
// a NaN becomes the lower bound.
RenderSettings clampSettings(RenderSettings settings);

}  // namespace penmoji
