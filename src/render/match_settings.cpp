// SPDX-License-Identifier: MIT
#include "render/match_settings.h"

namespace penmoji {
namespace {

// Written as "not >= low" so that a NaN, which compares with nothing, lands on the lower bound.
float clampReal(float value, float low, float high) {
    if (!(value >= low)) {
        return low;
    }
    return value > high ? high : value;
}

}  // namespace

MatchSettings clampMatchSettings(MatchSettings settings) {
    if (settings.scanStep < kMinScanStep) {
        settings.scanStep = kMinScanStep;
    } else if (settings.scanStep > kMaxScanStep) {
        settings.scanStep = kMaxScanStep;
    }
    settings.innerProductThreshold = clampReal(settings.innerProductThreshold, 0.0f, 1.0f);
    settings.priorityScale = clampReal(settings.priorityScale, 0.0f, 2.0f);
    return settings;
}

}  // namespace penmoji
