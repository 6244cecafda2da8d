#pragma once

#include <cstdint>

namespace penmoji {

// Options that steer a rendering. Lives only in memory: every start begins with these defaults.
struct RenderSettings {
    bool useDots = false;          // blanks may contain "." (dots)
    bool noEntities = false;       // no "&nbsp;", "&ensp;" or "&thinsp;" in blanks
    bool underscoreRuns = true;    // every second of two adjacent half-width spaces becomes "_"
    bool strictHalfSpaces = true;  // avoid adjacent half-width spaces even at a width error
    float innerProductThreshold = 0.85f;  // 0 to 1
    std::int32_t scanStep = 2;            // pixels, 2 to 11
    float priorityScale = 1.0f;           // 0 to 2
};

inline constexpr std::int32_t kMinScanStep = 2;
inline constexpr std::int32_t kMaxScanStep = 11;

// Brings every numeric field into its range. Out-of-range input is never refused, only clamped;
// a NaN becomes the lower bound.
RenderSettings clampSettings(RenderSettings settings);

}  // namespace penmoji
