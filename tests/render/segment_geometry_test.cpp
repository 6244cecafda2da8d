// SPDX-License-Identifier: MIT
#include "render/segment_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "render/cell_crossing.h"

namespace penmoji {
namespace {

struct IntersectCase {
    const char* name;
    FloatPoint a0, a1, b0, b1;
    bool expected;
};

TEST(SegmentsIntersect, CrossingTouchingAndNever) {
    const IntersectCase cases[] = {
        {"proper crossing", {0, 0}, {4, 4}, {0, 4}, {4, 0}, true},
        {"end on the other segment", {2, 2}, {2, 9}, {0, 2}, {4, 2}, true},
        {"ends meeting", {0, 0}, {3, 3}, {3, 3}, {6, 0}, true},
        {"end on the other's line beyond it", {5, 0}, {5, 3}, {0, 3}, {4, 3}, false},
        {"parallel", {0, 0}, {4, 0}, {0, 1}, {4, 1}, false},
        {"collinear overlapping", {0, 0}, {4, 0}, {2, 0}, {6, 0}, false},
        {"collinear touching at an end", {0, 0}, {4, 0}, {4, 0}, {6, 0}, false},
        {"zero length on the other", {2, 0}, {2, 0}, {0, 0}, {4, 0}, false},
        {"other of zero length", {0, 0}, {4, 4}, {2, 2}, {2, 2}, false},
        {"apart", {0, 0}, {1, 1}, {3, 0}, {3, 5}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(segmentsIntersect(c.a0, c.a1, c.b0, c.b1), c.expected) << c.name;
        EXPECT_EQ(segmentsIntersect(c.b0, c.b1, c.a0, c.a1), c.expected) << c.name << " swapped";
        EXPECT_EQ(segmentsIntersect(c.a1, c.a0, c.b1, c.b0), c.expected) << c.name << " reversed";
    }
}

TEST(InnerProduct, CosineWhicheverWayTheSegmentsRun) {
    const GlyphSegment vertical{64, 0, 64, 256};
    EXPECT_FLOAT_EQ(innerProduct({3, 0, 3, 16}, vertical), 1.0f);
    EXPECT_FLOAT_EQ(innerProduct({3, 16, 3, 0}, vertical), 1.0f);
    EXPECT_FLOAT_EQ(innerProduct({0, 5, 8, 5}, vertical), 0.0f);
    EXPECT_FLOAT_EQ(innerProduct({0, 0, 4, 4}, vertical), static_cast<float>(std::sqrt(0.5)));
    // A clipped point has no direction and passes no threshold, not even 0.
    EXPECT_FALSE(innerProduct({2, 2, 2, 2}, vertical) >= 0.0f);
}

TEST(SegmentCost, DistancesOfCorrespondingEndsWeightedByBorderAgreement) {
    // Stroke of a 128-wide glyph (8 pixels) from top to bottom at x = 4 pixels.
    const GlyphSegment through{64, 0, 64, 256};
    EXPECT_EQ(segmentCost({4, 0, 4, 16}, through, 128), 0);
    EXPECT_EQ(segmentCost({4, 16, 4, 0}, through, 128), 0);  // ends are matched by y, not order
    EXPECT_EQ(segmentCost({6, 0, 6, 16}, through, 128), 4);
    // Ends inside the cell against a stroke running through: distances 3 + 3, times 1.414.
    EXPECT_EQ(segmentCost({4, 3, 4, 13}, through, 128), 8);
    // A flat segment orders its ends by x.
    const GlyphSegment flat{0, 128, 128, 128};
    EXPECT_EQ(segmentCost({8, 8, 0, 8}, flat, 128), 0);
    EXPECT_EQ(segmentCost({0, 9, 8, 7}, flat, 128), 2);
}

TEST(ClipToCell, TruncatesTowardZeroAndReportsMisses) {
    // Cell from x = 10 (8 wide), row from y = 17.
    EXPECT_EQ(clipToCell(0, 17, 30, 33, 10, 17, 8), (ClippedSegment{0, 5, 8, 9}));
    EXPECT_EQ(clipToCell(30, 33, 0, 17, 10, 17, 8), (ClippedSegment{0, 5, 8, 9}));
    EXPECT_EQ(clipToCell(12, 0, 14, 50, 10, 17, 8), (ClippedSegment{2, 0, 2, 16}));
    // Negative coordinates: the quotient truncates toward zero, not downwards.
    EXPECT_EQ(clipToCell(-7, 20, 3, 27, 0, 17, 8), (ClippedSegment{0, 7, 3, 10}));
    EXPECT_EQ(clipToCell(0, 0, 9, 0, 10, 17, 8), std::nullopt);      // left of the cell
    EXPECT_EQ(clipToCell(19, 20, 40, 9, 10, 17, 8), std::nullopt);   // right of the cell
    EXPECT_EQ(clipToCell(11, 40, 17, 34, 10, 17, 8), std::nullopt);  // below the row
}

// The matcher's shortcuts must agree with the plain functions everywhere, including at
// coordinates far beyond any canvas.
TEST(MatcherShortcuts, AgreeWithThePlainFunctions) {
    std::mt19937 random(5);
    for (const std::int32_t spread : {40, 3000, 1'000'000}) {
        std::uniform_int_distribution<std::int32_t> near(-20, 40);
        std::uniform_int_distribution<std::int32_t> far(-spread, spread);
        for (int i = 0; i < 20000; ++i) {
            const bool local = i % 2 == 0;
            const auto pick = [&] { return local ? near(random) : far(random); };
            const std::int32_t x0 = pick(), y0 = pick(), x1 = pick(), y1 = pick();
            const std::int32_t left = near(random) % 20;
            const std::int32_t top = 1 + 16 * (near(random) % 2);
            const DrawnSegment s{x0,
                                 y0,
                                 x1,
                                 y1,
                                 FloatPoint{static_cast<float>(x0), static_cast<float>(y0)},
                                 FloatPoint{static_cast<float>(x1), static_cast<float>(y1)},
                                 0};
            const RowCrossing row(s, static_cast<float>(top), static_cast<float>(top + 16) - 0.5f);
            const CellCrossing crossing(row, static_cast<float>(left));
            const LeftClipped leftClipped = clipToLeft(x0, y0, x1, y1, left);
            bool metNarrower = false;
            bool keptNarrower = false;
            for (std::int32_t width = 1; width <= 16; ++width) {
                const float right = static_cast<float>(left + width) - 0.5f;
                const bool meets =
                    meetsBoxEdges(s.a0, s.a1, static_cast<float>(left), static_cast<float>(top),
                                  right, static_cast<float>(top + 16) - 0.5f);
                ASSERT_EQ(crossing.meetsCell(right), meets)
                    << x0 << ' ' << y0 << ' ' << x1 << ' ' << y1;
                const auto clipped = clipToCell(x0, y0, x1, y1, left, top, width);
                ASSERT_EQ(clipToRest(leftClipped, left, top, width), clipped);
                const bool kept = clipKeepsSegment(leftClipped, left, top, width);
                ASSERT_EQ(kept, clipped.has_value()) << x0 << ' ' << y0 << ' ' << x1 << ' ' << y1;
                // What the matcher carries from a cell to the wider ones must last.
                const bool lasting = crossing.contactWith(right) == CellCrossing::Contact::lasting;
                ASSERT_TRUE(!metNarrower || lasting);
                ASSERT_TRUE(!keptNarrower || kept);
                metNarrower = lasting;
                keptNarrower = kept;
            }
        }
    }
}

}  // namespace
}  // namespace penmoji
