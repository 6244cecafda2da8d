// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace penmoji {

// The part of the render settings that steers glyph matching; the rest (how blanks are written)
// belongs to composition.
struct MatchSettings {
    float innerProductThreshold = 0.85f;  // 0 to 1
    std::int32_t scanStep = 2;            // pixels, 2 to 11
    float priorityScale = 1.0f;           // 0 to 2
    bool fine = false;                    // choose whole rows on the font's pixels (fine_matcher.h)
};

inline constexpr std::int32_t kMinScanStep = 2;
inline constexpr std::int32_t kMaxScanStep = 11;

// Brings every field into its range. Out-of-range input is never refused, only clamped; a NaN
// becomes the lower bound.
MatchSettings clampMatchSettings(MatchSettings settings);

}  // namespace penmoji
