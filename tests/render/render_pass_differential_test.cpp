// SPDX-License-Identifier: MIT
// The real pass against the plain reference, on drawings chosen to reach every rule: random
// ones, lines on row and cell borders, crowded cells, zero-length segments, single points and
// negative coordinates, under a spread of settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "compose/render_driver.h"
#include "compose/row_emission.h"
#include "drawing_fixtures.h"
#include "reference_render_pass.h"
#include "render/gap_filler.h"
#include "render/render_pass.h"

namespace penmoji {
namespace {

using fixtures::drawing;
using fixtures::Polyline;

const RenderSettings kSettings[] = {
    {},
    {{0.0f, 2, 1.0f}, true, false, true, true},
    {{1.0f, 2, 1.0f}, false, true, false, true},
    {{0.5f, 3, 0.0f}, true, true, true, false},
    {{0.85f, 11, 2.0f}, false, false, false, false},
    {{0.95f, 5, 1.5f}, true, false, false, true},
    {{0.3f, 7, 0.5f}, false, true, true, false},
    {{0.7f, 4, 1.2f}, false, false, true, true},
};

// Compares everything; the number of glyphs placed shows that a drawing reached the matcher.
std::size_t expectSameRendering(const VectorSet& vectors, const RenderSettings& settings,
                                const std::string& name) {
    SCOPED_TRACE(name);
    const reference::Rendering expected = reference::renderVectors(vectors, settings);
    const reference::Rendering actual = reference::recordRealPass(vectors, settings);
    EXPECT_EQ(actual.rows, expected.rows);
    EXPECT_EQ(actual.boxes, expected.boxes);
    EXPECT_EQ(actual.progress, expected.progress);

    NoProgress quiet;
    RandomGenerator random;
    EXPECT_EQ(renderText(vectors, settings, random, quiet)->text,
              reference::textOfRows(expected, settings));
    return expected.boxes.size();
}

// Rows start at 1, 17, 33, ...: lines on those borders and one pixel either side, and on the
// borders of cells of every width starting at the first cursor positions.
std::vector<std::unique_ptr<VectorSet>> borderDrawings() {
    std::vector<std::unique_ptr<VectorSet>> drawings;
    for (const std::int32_t y : {0, 1, 2, 16, 17, 18, 32, 33}) {
        drawings.push_back(drawing({{{0, y}, {60, y}}, {{5, y - 10}, {5, y + 10}}}));
        drawings.push_back(drawing({{{-5, y}, {40, y + 3}}, {{20, y + 20}, {30, y - 20}}}));
    }
    // Sloped lines just above and below a row, flat and steep, which the row's band leaves out,
    // beside lines that touch its top edge or the bottom edge of its probe windows.
    for (const std::int32_t t : {1, 17, 33}) {
        drawings.push_back(drawing({{{-5, t - 1}, {70, t - 2}},
                                    {{3, t - 2}, {4, t - 40}},
                                    {{0, t + 17}, {60, t + 18}},
                                    {{10, t + 17}, {11, t + 60}},
                                    {{0, t - 1}, {60, t}},
                                    {{0, t + 16}, {60, t + 17}}}));
    }
    for (const std::int32_t x : {1, 3, 5, 6, 9, 11, 12, 13, 17}) {
        drawings.push_back(drawing({{{x, 0}, {x, 40}}, {{x, 5}, {x + 8, 5}, {x + 8, 25}}}));
        drawings.push_back(drawing({{{x, 1}, {x + 16, 17}}, {{x + 16, 1}, {x, 17}}}));
    }
    return drawings;
}

std::vector<std::unique_ptr<VectorSet>> specialDrawings() {
    std::vector<std::unique_ptr<VectorSet>> drawings;
    drawings.push_back(drawing({}));
    // Single points widen the canvas; zero-length segments are ignored.
    drawings.push_back(drawing({{{100, 50}}, {{10, 10}, {10, 10}, {30, 12}, {30, 12}}}));
    // Negative coordinates and lines entering from outside the canvas.
    drawings.push_back(drawing({{{-30, -30}, {40, 40}, {-10, 60}}, {{-50, 8}, {50, 8}}}));
    // Crowded cells: five and more segments through one cell.
    drawings.push_back(drawing({{{0, 0}, {20, 20}, {0, 20}, {20, 0}, {10, 0}, {10, 20}},
                                {{0, 10}, {20, 10}, {3, 0}, {3, 30}}}));
    drawings.push_back(drawing({{{1, 1}, {1, 17}}, {{1, 1}, {17, 1}}, {{5, 1}, {5, 17}}}));
    // A segment touching a cell only at its top-left corner.
    drawings.push_back(drawing({{{-10, -9}, {1, 1}}, {{30, 5}, {40, 5}}}));
    // Far to the right: long empty stretches before the drawing starts.
    drawings.push_back(drawing({{{900, 10}, {940, 30}, {960, 2}}}));
    // Short dashes that only the right edges of narrow cells meet, beside a long stroke that
    // wider cells see on its own.
    drawings.push_back(drawing({{{2, 3}, {6, 3}},
                                {{2, 5}, {6, 5}},
                                {{2, 7}, {6, 7}},
                                {{2, 9}, {6, 9}},
                                {{2, 11}, {6, 11}},
                                {{5, -5}, {5, 25}}}));
    // Long lines across many rows and a closed figure.
    drawings.push_back(drawing({{{0, 0}, {150, 130}},
                                {{150, 0}, {0, 130}},
                                {{20, 20}, {120, 20}, {120, 90}, {20, 90}, {20, 20}}}));
    return drawings;
}

TEST(RenderPassDifferential, BordersAndSpecialCases) {
    auto drawings = borderDrawings();
    for (auto& special : specialDrawings()) {
        drawings.push_back(std::move(special));
    }
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const RenderSettings& settings = kSettings[i % std::size(kSettings)];
        expectSameRendering(*drawings[i], settings, "drawing " + std::to_string(i));
        expectSameRendering(*drawings[i], {}, "drawing " + std::to_string(i) + " defaults");
    }
}

TEST(RenderPassDifferential, RandomDrawingsUnderEverySetting) {
    std::mt19937 random(20261210);
    std::size_t placed = 0;
    for (int round = 0; round < 48; ++round) {
        const auto vectors = fixtures::randomDrawing(random, 1 + round % 6, 8, {-20, -20},
                                                     {40 + 3 * round, 30 + 2 * round});
        const RenderSettings& settings = kSettings[round % std::size(kSettings)];
        placed += expectSameRendering(*vectors, settings, "random " + std::to_string(round));
    }
    EXPECT_GT(placed, 200u);
}

TEST(RenderPassDifferential, RandomWalksCrowdingTheCells) {
    std::mt19937 random(7);
    std::size_t placed = 0;
    for (int round = 0; round < 16; ++round) {
        const auto vectors = fixtures::randomWalks(random, 3 + round, 12, 6 + round, {120, 70});
        const RenderSettings& settings = kSettings[round % std::size(kSettings)];
        placed += expectSameRendering(*vectors, settings, "walk " + std::to_string(round));
    }
    EXPECT_GT(placed, 100u);
}

TEST(RenderPassDifferential, ShortDashesCrowdingNarrowCells) {
    std::mt19937 random(11);
    std::size_t placed = 0;
    for (int round = 0; round < 24; ++round) {
        const auto vectors = fixtures::randomWalks(random, 10 + round, 6, 2 + round % 4, {50, 40});
        const RenderSettings& settings = kSettings[round % std::size(kSettings)];
        placed += expectSameRendering(*vectors, settings, "dashes " + std::to_string(round));
    }
    EXPECT_GT(placed, 50u);
}

// The drawings a file can hold that once made the pass crawl: one segment repeated in both
// directions (as many copies as meet a cell, and more), interleaved with other strokes through
// the same cells; lines on the boundaries between rows; staircases of full-width strokes on row
// tops; zigzags whose every segment crosses the whole width; and mixtures with ordinary strokes.
std::vector<std::unique_ptr<VectorSet>> degenerateDrawings() {
    using fixtures::backAndForth;
    std::vector<std::unique_ptr<VectorSet>> drawings;
    drawings.push_back(drawing({backAndForth({0, 0}, {90, 90}, 40)}));
    for (int copies = 2; copies <= 7; ++copies) {
        // The copies' places interleave with other strokes through the same cells, so that the
        // order of the collected segments and the fifth contact both depend on them.
        drawings.push_back(drawing({backAndForth({0, 6}, {60, 30}, copies),
                                    {{12, -4}, {12, 40}},
                                    backAndForth({60, 30}, {0, 6}, copies / 2 + 1),
                                    {{0, 20}, {60, 14}},
                                    {{0, 6}, {60, 30}}}));
        drawings.push_back(drawing({{{20, 0}, {24, 30}},
                                    backAndForth({3, 9}, {50, 9}, copies),
                                    {{0, 12}, {50, 2}},
                                    backAndForth({30, 2}, {30, 30}, 8 - copies)}));
    }
    // The four strokes of a four-stroke glyph's cell, then a fifth through it: a distinct
    // stroke, or a copy of the first that comes after the other three.
    const Polyline cross[] = {
        {{8, -4}, {8, 21}}, {{-4, 8}, {21, 8}}, {{9, -4}, {9, 21}}, {{-4, 9}, {21, 9}}};
    drawings.push_back(drawing({cross[0], cross[1], cross[2], cross[3]}));
    drawings.push_back(drawing({cross[0], cross[1], cross[2], cross[3], {{0, 2}, {30, 16}}}));
    drawings.push_back(drawing({cross[0], cross[1], cross[2], cross[3], cross[0]}));
    drawings.push_back(drawing({cross[0], cross[1], cross[2], {{0, 2}, {30, 16}}, cross[3]}));
    for (const std::int32_t y : {-1, 0, 1, 15, 16, 17, 18, 19, 33, 35}) {
        drawings.push_back(
            drawing({backAndForth({0, y}, {120, y}, 9), {{40, y - 20}, {44, y + 20}}}));
        drawings.push_back(drawing({{{0, y}, {90, y}},
                                    {{5, y}, {120, y}},
                                    {{120, y}, {0, y}},
                                    {{10, y + 3}, {80, y - 3}},
                                    {{60, y - 8}, {70, y + 8}}}));
    }
    drawings.push_back(drawing({fixtures::staircase(8, 150, 1)}));
    drawings.push_back(drawing({fixtures::staircase(6, 200, 2), {{30, 0}, {30, 100}}}));
    std::mt19937 random(13);
    drawings.push_back(drawing({fixtures::zigzag(random, 30, 80, 60)}));
    drawings.push_back(drawing({fixtures::zigzag(random, 12, 140, 40),
                                backAndForth({0, 17}, {140, 17}, 5),
                                {{20, 5}, {60, 35}, {100, 5}}}));
    // Ordinary strokes with repeated ones among them.
    for (int round = 0; round < 6; ++round) {
        auto vectors = fixtures::randomWalks(random, 6, 10, 12, {110, 60});
        for (int copy = 0; copy < 3 + round; ++copy) {
            VectorLine& line = vectors->lines[static_cast<std::size_t>(10 + copy)];
            line = vectors->lines[static_cast<std::size_t>(copy % 3)];
            if (copy % 2 == 1) {
                std::reverse(line.points.begin(), line.points.begin() + line.count);
            }
        }
        drawings.push_back(std::move(vectors));
    }
    return drawings;
}

TEST(RenderPassDifferential, DegenerateDrawings) {
    const auto drawings = degenerateDrawings();
    std::size_t placed = 0;
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const std::string name = "degenerate " + std::to_string(i);
        placed += expectSameRendering(*drawings[i], kSettings[i % std::size(kSettings)], name);
        placed += expectSameRendering(*drawings[i], {}, name + " defaults");
    }
    EXPECT_GT(placed, 300u);
}

// Whether `part` is `whole` with some elements left out.
template <typename T>
bool isSubsequence(const std::vector<T>& part, const std::vector<T>& whole) {
    auto next = whole.begin();
    for (const T& element : part) {
        next = std::find(next, whole.end(), element);
        if (next == whole.end()) {
            return false;
        }
        ++next;
    }
    return true;
}

// Rows of strokes longer than a row can hold glyphs for, until the box list is full too: the
// real pass then leaves the rest of the row alone, so its progress skips positions the reference
// reports. Along level strokes the characters follow each other; across a comb of spikes every
// character comes after a gap, so a row is full after half as many.
TEST(RenderPassDifferential, FullRowsAndBoxList) {
    std::vector<Polyline> strokes;
    for (std::int32_t y = 9; y < 6 * 16; y += 16) {
        strokes.push_back({{0, y}, {14'000, y}});
    }
    // Steep lines 12 pixels apart, down through seven rows and up again.
    std::vector<Polyline> comb;
    for (std::int32_t i = 0; i < 700; ++i) {
        if (i % 200 == 0) {
            comb.emplace_back();
        }
        comb.back().push_back({12 * i, i % 2 == 0 ? -10 : 7 * 16 - 4});
    }
    for (const auto& [name, vectors] :
         {std::pair{"strokes", drawing(strokes)}, std::pair{"comb", drawing(comb)}}) {
        SCOPED_TRACE(name);
        const reference::Rendering expected = reference::renderVectors(*vectors, {});
        const reference::Rendering actual = reference::recordRealPass(*vectors, {});
        ASSERT_EQ(expected.boxes.size(), GlyphBoxList::kCapacity);
        ASSERT_EQ(expected.rows.front().size(), TextRow::kCellCount);
        EXPECT_EQ(actual.rows, expected.rows);
        EXPECT_EQ(actual.boxes, expected.boxes);
        EXPECT_LT(actual.progress.size(), expected.progress.size());
        EXPECT_TRUE(isSubsequence(actual.progress, expected.progress));
    }
}

TEST(GapFillerDifferential, JumpsLandWhereSteppingLands) {
    const auto vectors = drawing({{{40, 3}, {44, 12}},
                                  {{70, 17}, {90, 17}},
                                  {{120, 40}, {121, -5}},
                                  {{200, 0}, {200, 20}},
                                  {{-3, 9}, {-1, 10}}});
    for (const std::int32_t step : {2, 3, 5, 11}) {
        for (const std::int64_t top : {1, 17}) {
            for (std::int64_t x = -4; x < 230; ++x) {
                ASSERT_EQ(skipGap(x, top, *vectors, step, 216),
                          reference::skipGap(x, top, *vectors, step, 216))
                    << "x " << x << " top " << top << " step " << step;
            }
        }
    }
}

}  // namespace
}  // namespace penmoji
