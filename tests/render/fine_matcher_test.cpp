// SPDX-License-Identifier: MIT
// The fine matcher's costs: characters follow a line within a pixel where the font allows, and
// their strokes run the line's way. Judged on the characters' own pixels, as the quality measure
// judges the text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "drawing_fixtures.h"
#include "render/fine_glyph_bitmaps.h"
#include "render/fine_line_band.h"
#include "render/fine_matcher.h"

namespace penmoji {
namespace {

using Pixel = std::pair<std::int64_t, std::int64_t>;

// The ink of every character the fine mode places, in canvas pixels.
struct InkCollector final : ProgressReceiver, FineRowSink {
    void reportProgress(std::int64_t, std::int64_t) override {}
    bool takeFineRow(std::int64_t index, const TextRow&, std::span<const FinePlacement> placed,
                     const GlyphBoxList&) override {
        const std::int64_t top = 16 * index + 1;
        for (const FinePlacement& p : placed) {
            for (const FineGlyph& glyph : fineGlyphs()) {
                if (glyph.code != p.code || glyph.width != p.width) {
                    continue;
                }
                for (int r = 0; r < 16; ++r) {
                    for (int i = 0; i < 32; ++i) {
                        if ((glyph.ink[static_cast<std::size_t>(r)] >> i & 1U) != 0) {
                            ink.emplace(p.x - kFineInkLeft + i, top + r);
                        }
                    }
                }
                break;
            }
        }
        return true;
    }
    std::set<Pixel> ink;
};

std::set<Pixel> fineInk(const VectorSet& vectors) {
    TextRow row;
    GlyphBoxList boxes;
    InkCollector collector;
    EXPECT_TRUE(
        renderFineRows(row, vectors, ExactGaps{}, FineRowsStart{}, boxes, collector, collector));
    return collector.ink;
}

bool inkWithin(const std::set<Pixel>& ink, std::int64_t x, std::int64_t y, int distance) {
    for (int dy = -distance; dy <= distance; ++dy) {
        for (int dx = -distance; dx <= distance; ++dx) {
            if (dx * dx + dy * dy <= distance * distance && ink.contains({x + dx, y + dy})) {
                return true;
            }
        }
    }
    return false;
}

TEST(StrokeDirection, FourClassesMeetHalfWayBetweenTheAxes) {
    struct Case {
        std::int64_t dx, dy;
        int direction;
    };
    const Case cases[] = {
        {10, 0, 0},   {-10, 0, 0},   {10, 4, 0},  {10, -4, 0},  // level, within 22.5 degrees
        {10, 5, 1},   {-10, -10, 1}, {5, 10, 1},                // falling to the right
        {0, 10, 2},   {0, -3, 2},    {-4, 10, 2},               // upright
        {-10, 10, 3}, {10, -5, 3},   {-5, 10, 3},               // rising to the right
        {0, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(strokeDirectionOf(c.dx, c.dy), c.direction) << c.dx << ", " << c.dy;
    }
}

// A long level line is met within a pixel wherever the font has a level stroke within a pixel
// of it in the line's row (strokes at 0, 7, 8 and 15 pixels from the row top). A line a pixel
// under the row top is also within two pixels of the row above's bottom stroke: the row above
// must leave it to its own row. An upright line is met at every column.
TEST(FineCosts, LongLevelAndUprightLinesAreMetWithinAPixel) {
    constexpr std::int32_t kRowTop = 33;
    constexpr std::int32_t kFrom = 20;
    constexpr std::int32_t kTo = 260;
    struct Case {
        bool upright;
        std::int32_t offset;  // from the row top, or from column 40
    };
    std::vector<Case> cases;
    for (const std::int32_t offset : {0, 1, 7, 8, 14, 15}) {
        cases.push_back({false, offset});
    }
    for (std::int32_t offset = 0; offset < 16; ++offset) {
        cases.push_back({true, offset});
    }
    for (const Case& c : cases) {
        const std::int32_t at = (c.upright ? 40 : kRowTop) + c.offset;
        const fixtures::Polyline line = c.upright ? fixtures::Polyline{{at, kFrom}, {at, kTo}}
                                                  : fixtures::Polyline{{kFrom, at}, {kTo, at}};
        const std::set<Pixel> ink = fineInk(*fixtures::drawing({line}));
        int met = 0;
        for (std::int32_t t = kFrom; t <= kTo; ++t) {
            met += inkWithin(ink, c.upright ? at : t, c.upright ? t : at, 1) ? 1 : 0;
        }
        EXPECT_GE(met, (kTo - kFrom + 1) * 97 / 100)
            << (c.upright ? "upright line at x " : "level line at y ") << at;
    }
}

// A level line 2 or 13 pixels under the row top lies two pixels from the strokes at the top and
// bottom of a row but within one of no clean stroke: only dots, or characters with ink off the
// line, meet it closer. It is followed by the stroke two pixels off, unbroken, rather than
// dotted: every column of it has ink within two pixels, and nearly every column has ink in it
// within two rows.
TEST(FineCosts, LevelLinesNoStrokeMeetsAreFollowedUnbroken) {
    constexpr std::int32_t kRowTop = 33;
    constexpr std::int32_t kFrom = 20;
    constexpr std::int32_t kTo = 260;
    for (const std::int32_t offset : {2, 13}) {
        const std::int32_t at = kRowTop + offset;
        const std::set<Pixel> ink =
            fineInk(*fixtures::drawing({fixtures::Polyline{{kFrom, at}, {kTo, at}}}));
        int passed = 0;
        int stroked = 0;
        for (std::int32_t x = kFrom; x <= kTo; ++x) {
            passed += inkWithin(ink, x, at, 2) ? 1 : 0;
            bool column = false;
            for (std::int32_t dy = -2; dy <= 2; ++dy) {
                column = column || ink.contains({x, at + dy});
            }
            stroked += column ? 1 : 0;
        }
        EXPECT_GE(passed, (kTo - kFrom + 1) * 97 / 100) << "level line at y " << at;
        EXPECT_GE(stroked, (kTo - kFrom + 1) * 90 / 100) << "level line at y " << at;
    }
}

// Solid ink (a pixel with nearly all of the 13 within two pixels inked) reads as a blot
// however near the line it lies: small circles, like eyes, are drawn in thin strokes.
TEST(FineCosts, SmallCirclesAreDrawnWithoutBlots) {
    constexpr double kPi = 3.14159265358979;
    for (const std::int32_t cy : {120, 124, 128}) {
        std::vector<fixtures::Polyline> circles;
        for (const std::int32_t cx : {125, 215}) {
            fixtures::Polyline circle;
            for (int i = 0; i <= 10; ++i) {
                const double a = 2 * kPi * (i % 10) / 10;
                circle.push_back({static_cast<std::int32_t>(std::lround(cx + 14 * std::cos(a))),
                                  static_cast<std::int32_t>(std::lround(cy + 14 * std::sin(a)))});
            }
            circles.push_back(circle);
        }
        const std::set<Pixel> ink = fineInk(*fixtures::drawing(circles));
        int blots = 0;
        for (const auto& [x, y] : ink) {
            int around = 0;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    around += dx * dx + dy * dy <= 4 && ink.contains({x + dx, y + dy}) ? 1 : 0;
                }
            }
            blots += around >= 11 ? 1 : 0;
        }
        EXPECT_EQ(blots, 0) << "circles at y " << cy;
    }
}

// Every row's placements, in order.
struct PlacementCollector final : ProgressReceiver, FineRowSink {
    void reportProgress(std::int64_t, std::int64_t) override {}
    bool takeFineRow(std::int64_t, const TextRow&, std::span<const FinePlacement> placed,
                     const GlyphBoxList&) override {
        rows.emplace_back(placed.begin(), placed.end());
        return true;
    }
    std::vector<std::vector<FinePlacement>> rows;
};

std::vector<std::vector<FinePlacement>> finePlacements(const VectorSet& vectors, FineScan scan) {
    TextRow row;
    GlyphBoxList boxes;
    PlacementCollector collector;
    EXPECT_TRUE(renderFineRows(row, vectors, ExactGaps{}, FineRowsStart{}, boxes, collector,
                               collector, {}, scan));
    return collector.rows;
}

// The vector scans weigh several candidates at once and must choose exactly as the plain one,
// down to the first of equally cheap candidates: sparse strokes, and dense crossings where many
// candidates come close to the limit and tie.
TEST(FineScans, EveryScanTheProcessorRunsPlacesTheSameCharacters) {
    if (!fineScanRuns(FineScan::avx2) && !fineScanRuns(FineScan::avx512)) {
        GTEST_SKIP() << "the processor runs the plain scan only";
    }
    std::mt19937 random(7);
    const auto walks = fixtures::randomWalks(random, 36, 6, 30, {639, 399});
    const auto scattered = fixtures::scatteredPoints(random, {319, 199});
    for (const VectorSet* vectors : {walks.get(), scattered.get()}) {
        const auto plain = finePlacements(*vectors, FineScan::plain);
        ASSERT_FALSE(plain.empty());
        for (const FineScan scan : {FineScan::avx2, FineScan::avx512}) {
            if (fineScanRuns(scan)) {
                EXPECT_EQ(finePlacements(*vectors, scan), plain)
                    << "scan " << static_cast<int>(scan);
            }
        }
    }
}

}  // namespace
}  // namespace penmoji
