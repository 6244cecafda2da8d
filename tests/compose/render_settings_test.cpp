// SPDX-License-Identifier: MIT
#include "compose/render_settings.h"

#include <gtest/gtest.h>

#include <limits>

namespace penmoji {
namespace {

TEST(RenderSettings, Defaults) {
    const RenderSettings s;
    EXPECT_FALSE(s.useDots);
    EXPECT_FALSE(s.noEntities);
    EXPECT_TRUE(s.underscoreRuns);
    EXPECT_TRUE(s.strictHalfSpaces);
    EXPECT_FLOAT_EQ(s.innerProductThreshold, 0.85f);
    EXPECT_EQ(s.scanStep, 2);
    EXPECT_FLOAT_EQ(s.priorityScale, 1.0f);
}

TEST(RenderSettings, ClampKeepsEveryNumberInItsRange) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::int32_t scanStep;
        float real;
        std::int32_t expectedStep;
        float expectedThreshold;
        float expectedScale;
    };
    const Case cases[] = {
        {0, -0.1f, 2, 0.0f, 0.0f},  {1, 1.0f, 2, 1.0f, 1.0f},    {-5, 1.5f, 2, 1.0f, 1.5f},
        {12, 2.0f, 11, 1.0f, 2.0f}, {100, 3.0f, 11, 1.0f, 2.0f}, {2, nan, 2, 0.0f, 0.0f},
        {11, -inf, 11, 0.0f, 0.0f}, {7, inf, 7, 1.0f, 2.0f},     {5, 0.5f, 5, 0.5f, 0.5f},
    };
    for (const Case& c : cases) {
        RenderSettings s;
        s.scanStep = c.scanStep;
        s.innerProductThreshold = c.real;
        s.priorityScale = c.real;
        s.useDots = true;
        const RenderSettings clamped = clampSettings(s);
        EXPECT_EQ(clamped.scanStep, c.expectedStep) << c.scanStep;
        EXPECT_EQ(clamped.innerProductThreshold, c.expectedThreshold) << c.real;
        EXPECT_EQ(clamped.priorityScale, c.expectedScale) << c.real;
        EXPECT_TRUE(clamped.useDots);
    }
}

}  // namespace
}  // namespace penmoji
