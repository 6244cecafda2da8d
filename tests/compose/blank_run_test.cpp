// SPDX-License-Identifier: MIT
#include "compose/blank_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace penmoji {
namespace {

using Elements = std::vector<std::int32_t>;

// The exact-run search in its plain depth-first form: 11 before 5, never 5 after 5.
// Exponential when it fails, so only used on small targets or small capacities.
bool searchExact(Elements& run, std::size_t capacity, std::int64_t target, std::int64_t sum) {
    if (sum == target) {
        return true;
    }
    if (sum > target || run.size() == capacity) {
        return false;
    }
    for (std::int32_t element : {kFullSpace, kHalfSpace}) {
        if (element == kHalfSpace && !run.empty() && run.back() == kHalfSpace) {
            return false;
        }
        run.push_back(element);
        if (searchExact(run, capacity, target, sum + element)) {
            return true;
        }
        run.pop_back();
    }
    return false;
}

Elements referenceExactRun(std::size_t capacity, std::int64_t target) {
    Elements run;
    if (target == 0 || !searchExact(run, capacity, target, 0)) {
        return {};
    }
    return run;
}

Elements exactRun(std::size_t capacity, std::int64_t target) {
    Elements run(capacity);
    run.resize(findExactRun(run, target));
    return run;
}

Elements compose(std::int32_t width, std::int32_t lag, const RenderSettings& settings,
                 std::size_t capacity = kBlankRunCapacity) {
    Elements run(capacity);
    run.resize(composeBlankRun(run, width, lag, settings));
    return run;
}

std::int64_t total(const Elements& run) {
    return std::accumulate(run.begin(), run.end(), 0LL);
}

bool hasAdjacentHalves(const Elements& run) {
    return std::adjacent_find(run.begin(), run.end(), [](std::int32_t a, std::int32_t b) {
               return a == kHalfSpace && b == kHalfSpace;
           }) != run.end();
}

RenderSettings settingsWith(bool dots, bool noEntities, bool strict) {
    RenderSettings s;
    s.useDots = dots;
    s.noEntities = noEntities;
    s.strictHalfSpaces = strict;
    return s;
}

TEST(FindExactRun, MatchesTheDepthFirstSearch) {
    for (std::int64_t target = -3; target <= 1500; ++target) {
        ASSERT_EQ(exactRun(kBlankRunCapacity, target), referenceExactRun(kBlankRunCapacity, target))
            << "target " << target;
    }
    // Small capacities make the search fail or settle on a later run near the limit.
    for (std::size_t capacity : {0u, 1u, 2u, 3u, 7u, 20u}) {
        for (std::int64_t target = 0; target <= 11 * static_cast<std::int64_t>(capacity) + 12;
             ++target) {
            ASSERT_EQ(exactRun(capacity, target), referenceExactRun(capacity, target))
                << "capacity " << capacity << " target " << target;
        }
    }
}

TEST(FindExactRun, Examples) {
    EXPECT_EQ(exactRun(300, 16), (Elements{11, 5}));
    EXPECT_EQ(exactRun(300, 21), (Elements{5, 11, 5}));
    EXPECT_EQ(exactRun(300, 27), (Elements{11, 11, 5}));
    EXPECT_EQ(exactRun(300, 32), (Elements{11, 5, 11, 5}));
    EXPECT_EQ(exactRun(300, 37), (Elements{5, 11, 5, 11, 5}));
    EXPECT_EQ(exactRun(2, 16), (Elements{11, 5}));  // a run of exactly the capacity is accepted
}

TEST(FindExactRun, WhichWidthsHaveAnExactRun) {
    const std::vector<std::pair<int, int>> without = {
        {1, 4},     {6, 10},    {12, 15},   {17, 20},  {23, 26},   {28, 31},   {34, 36},
        {39, 42},   {45, 47},   {50, 52},   {56, 58},  {61, 63},   {67, 68},   {72, 74},
        {78, 79},   {83, 84},   {89, 90},   {94, 95},  {100, 100}, {105, 106}, {111, 111},
        {116, 116}, {122, 122}, {127, 127}, {138, 138}};
    auto lacksRun = [&](int w) {
        return std::any_of(without.begin(), without.end(),
                           [w](auto range) { return range.first <= w && w <= range.second; });
    };
    for (int width = 1; width <= 3250; ++width) {
        const Elements run = exactRun(kBlankRunCapacity, width);
        EXPECT_EQ(run.empty(), lacksRun(width)) << "width " << width;
        if (!run.empty()) {
            EXPECT_EQ(total(run), width);
            EXPECT_FALSE(hasAdjacentHalves(run)) << "width " << width;
        }
    }
}

TEST(FindExactRun, LargeTargetsAreDecidedWithinTheCapacity) {
    // 300 elements reach at most 3300 pixels; a search that is not bounded would never end here.
    for (std::int64_t target = 3251; target <= 20000; ++target) {
        const Elements run = exactRun(kBlankRunCapacity, target);
        if (!run.empty()) {
            EXPECT_EQ(total(run), target);
            EXPECT_FALSE(hasAdjacentHalves(run));
        }
        if (target > 3300) {
            EXPECT_TRUE(run.empty()) << target;
        }
    }
    EXPECT_EQ(exactRun(kBlankRunCapacity, 3300), Elements(300, 11));
}

struct ComposeCase {
    bool dots, noEntities, strict;
    std::int32_t width, lag;
    Elements expected;
};

TEST(ComposeBlankRun, WorkedExamples) {
    const ComposeCase cases[] = {
        // Defaults: entities allowed, no dots.
        {false, false, true, 12, 0, {8, 2, 2}},
        {false, false, true, 13, 0, {11, 2}},
        {false, false, true, 14, 0, {8, 2, 2, 2}},
        {false, false, true, 20, 0, {5, 11, 2, 2}},
        {false, false, true, 100, 0, {8, 11, 5, 11, 5, 11, 5, 11, 11, 11, 11}},
        {false, false, true, 16, 0, {11, 5}},
        {false, false, true, 12, 4, {11, 5}},  // the lag is part of the width asked for
        {false, false, true, 0, 0, {}},
        {false, false, true, 20, -20, {}},
        {false, false, true, 5, -9, {}},
        {false, false, true, 2, 1, {2, 2}},  // 1 over, as the text lags
        {false, false, true, 3, 0, {2}},     // 1 short
        {false, false, true, 1, 0, {}},
        {false, false, true, 0, 1, {2}},
        // Dots.
        {true, false, true, 14, 0, {3, 11}},
        {true, false, true, 58, 0, {3, 11, 11, 11, 11, 11}},
        {true, false, true, 12, 0, {5, 5, 2}},
        {true, false, true, 3, 0, {3}},
        // No entities.
        {false, true, true, 12, 0, {5, 11}},     // 4 over
        {false, true, true, 20, 0, {5, 11, 5}},  // 1 over
        {false, true, false, 12, 0, {5, 5}},     // 2 short
        {false, true, true, 8, 0, {5}},          // 3 short
        {false, true, true, 6, 2, {11}},         // 3 over, as the text lags by 2
        {false, true, true, 9, 0, {11}},
        {true, true, true, 9, 0, {3, 3, 3}},
        {true, true, true, 8, 0, {5, 3}},
        {true, true, true, 1, 0, {}},
        {true, true, true, 1, 1, {3}},
        {false, true, true, 2, 0, {}},
        {false, true, true, 2, 3, {5}},
        {false, true, true, 3, 0, {}},
        {false, true, true, 1, 2, {5}},  // n = 3 with the text 2 behind
    };
    for (const ComposeCase& c : cases) {
        EXPECT_EQ(compose(c.width, c.lag, settingsWith(c.dots, c.noEntities, c.strict)), c.expected)
            << "width " << c.width << " lag " << c.lag << " dots " << c.dots << " noEntities "
            << c.noEntities << " strict " << c.strict;
    }
}

TEST(ComposeBlankRun, RunThatDoesNotFitTheCapacityIsEmpty) {
    const RenderSettings defaults;
    EXPECT_EQ(compose(12, 0, defaults, 3), (Elements{8, 2, 2}));
    EXPECT_EQ(compose(12, 0, defaults, 2), Elements{});
    EXPECT_EQ(compose(4000, 0, defaults), Elements{});
}

// Over every setting, width and small lag: the run only holds elements the settings allow, it is
// exact whenever an exact run of full-width and half-width spaces exists, and its error stays
// within what the final step can make.
TEST(ComposeBlankRun, RunsRespectTheSettingsAndStayNearTheTarget) {
    for (int mask = 0; mask < 8; ++mask) {
        const RenderSettings s = settingsWith(mask & 1, mask & 2, mask & 4);
        for (std::int32_t width = 0; width <= 3400; ++width) {
            for (std::int32_t lag = -3; lag <= 3; ++lag) {
                const Elements run = compose(width, lag, s);
                const std::int64_t n = std::int64_t{width} + lag;
                SCOPED_TRACE(testing::Message()
                             << "width " << width << " lag " << lag << " mask " << mask);
                for (std::int32_t e : run) {
                    ASSERT_TRUE(e == kFullSpace || e == kHalfSpace || (e == kDot && s.useDots) ||
                                ((e == kEnSpace || e == kThinSpace) && !s.noEntities))
                        << e;
                }
                if (n <= 0 || n > 3311) {
                    ASSERT_TRUE(run.empty());
                    continue;
                }
                if (run.empty() && n > 3000) {
                    continue;  // more elements than the capacity
                }
                if (!exactRun(kBlankRunCapacity, n).empty()) {
                    ASSERT_EQ(run, exactRun(kBlankRunCapacity, n));
                }
                const std::int64_t error = total(run) - n;
                ASSERT_LE(std::abs(error), s.noEntities ? 8 : 1);
                if (s.noEntities && s.strictHalfSpaces) {
                    ASSERT_FALSE(hasAdjacentHalves(run));
                }
            }
        }
    }
}

TEST(RandomGenerator, SequenceFromAFreshGenerator) {
    RandomGenerator random;
    for (std::int32_t expected : {41, 18467, 6334, 26500, 19169}) {
        EXPECT_EQ(random.next(), expected);
    }
}

TEST(ScatterDots, MovesDotsToFullWidthSpacesFromTheDrawnIndexOn) {
    struct Case {
        Elements before, after;
    };
    // A fresh generator draws 41, 18467, 6334, ...
    const Case cases[] = {
        // 41 % 4 = 1: the dot swaps with index 1, is met again there, 18467 % 4 = 3 sends it to
        // index 3, and 6334 % 4 = 2 brings it back to index 2.
        {{3, 11, 11, 11}, {11, 11, 3, 11}},
        // 41 % 2 = 1: no full-width space from index 1 on, so the dot stays.
        {{11, 3}, {11, 3}},
        {{3, 3, 3}, {3, 3, 3}},
        {{11, 5, 11}, {11, 5, 11}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        RandomGenerator random;
        Elements run = c.before;
        scatterDots(run, random);
        EXPECT_EQ(run, c.after);
    }
}

TEST(ScatterDots, DrawsOneNumberPerDotMet) {
    RandomGenerator random;
    Elements run{3, 3, 3};
    scatterDots(run, random);
    EXPECT_EQ(random.next(), 26500);  // the fourth number of the sequence
}

}  // namespace
}  // namespace penmoji
