// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <random>

#include "compose/render_driver.h"
#include "document/vector_file.h"
#include "drawing_fixtures.h"
#include "reference_render_pass.h"

namespace penmoji {
namespace {

std::string render(const VectorSet& vectors) {
    NoProgress quiet;
    RandomGenerator random;
    return renderText(vectors, RenderSettings{}, random, quiet)->text;
}

void reportSize(benchmark::State& state, const std::string& text) {
    state.counters["text_bytes"] = static_cast<double>(text.size());
}

// The largest drawing the editor can make: 200 vectors of 200 points, random walks spread over
// a 1920 x 1080 canvas.
void renderLargestDrawing(benchmark::State& state) {
    std::mt19937 random(1);
    const auto vectors = fixtures::randomWalks(random, kSlotCount, kMaxPoints, 40, {1919, 1079});
    std::string text;
    for (auto _ : state) {
        text = render(*vectors);
    }
    reportSize(state, text);
}
BENCHMARK(renderLargestDrawing)->Unit(benchmark::kMillisecond);

// The same size with every point anywhere on the canvas: 39,800 long strokes criss-crossing
// every cell, the heaviest load a drawing of this size can bring.
void renderLargestDrawingScattered(benchmark::State& state) {
    std::mt19937 random(4);
    const auto vectors = fixtures::scatteredPoints(random, {1919, 1079});
    std::string text;
    for (auto _ : state) {
        text = render(*vectors);
    }
    reportSize(state, text);
}
BENCHMARK(renderLargestDrawingScattered)->Unit(benchmark::kMillisecond);

// A typical drawing: three dozen strokes of a few points each on a 640 x 400 canvas.
void renderTypicalDrawing(benchmark::State& state) {
    std::mt19937 random(2);
    const auto vectors = fixtures::randomWalks(random, 36, 6, 30, {639, 399});
    std::string text;
    for (auto _ : state) {
        text = render(*vectors);
    }
    reportSize(state, text);
}
BENCHMARK(renderTypicalDrawing)->Unit(benchmark::kMillisecond);

// The same mid-size drawing through the plain reference pass and through the real one; the
// ratio of the two times is the speed-up.
std::unique_ptr<VectorSet> midSizeDrawing() {
    std::mt19937 random(3);
    return fixtures::randomWalks(random, 24, 12, 25, {479, 239});
}

void referencePassMidSize(benchmark::State& state) {
    const auto vectors = midSizeDrawing();
    for (auto _ : state) {
        benchmark::DoNotOptimize(reference::renderVectors(*vectors, RenderSettings{}));
    }
}
BENCHMARK(referencePassMidSize)->Unit(benchmark::kMillisecond);

void realPassMidSize(benchmark::State& state) {
    const auto vectors = midSizeDrawing();
    for (auto _ : state) {
        benchmark::DoNotOptimize(render(*vectors));
    }
}
BENCHMARK(realPassMidSize)->Unit(benchmark::kMillisecond);

// One point at the far corner the file reader still accepts: 62,501 rows of empty space.
void renderFarCornerPoint(benchmark::State& state) {
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[0].count = 1;
    vectors->lines[0].points[0] = {kMaxCoordinate, kMaxCoordinate};
    std::string text;
    for (auto _ : state) {
        text = render(*vectors);
    }
    reportSize(state, text);
}
BENCHMARK(renderFarCornerPoint)->Unit(benchmark::kMillisecond);

// The degenerate drawings a file can hold (tools/make_hostile_drawings.py writes them as files).
// Each vector of `lines` goes into its own slot, as many as there are.
std::unique_ptr<VectorSet> drawingOf(const std::vector<fixtures::Polyline>& lines) {
    return fixtures::drawing(lines);
}

void renderEach(benchmark::State& state, const VectorSet& vectors) {
    std::string text;
    for (auto _ : state) {
        text = render(vectors);
    }
    reportSize(state, text);
}

// 39,800 copies of one segment across the whole extent, drawn back and forth: one segment with
// its copies counted. Target: under 1 s.
void renderCoincidentDiagonal(benchmark::State& state) {
    const std::vector<fixtures::Polyline> lines(
        kSlotCount, fixtures::backAndForth({0, 0}, {kMaxCoordinate, kMaxCoordinate}, kMaxPoints));
    renderEach(state, *drawingOf(lines));
}
BENCHMARK(renderCoincidentDiagonal)->Unit(benchmark::kMillisecond);

// The same along a row's top edge (y = 16k + 1), which lies in the band of the row above too.
// Target: under 1 s.
void renderCoincidentRowBoundary(benchmark::State& state) {
    constexpr std::int32_t y = 16 * 31'250 + 1;
    const std::vector<fixtures::Polyline> lines(
        kSlotCount, fixtures::backAndForth({0, y}, {kMaxCoordinate, y}, kMaxPoints));
    renderEach(state, *drawingOf(lines));
}
BENCHMARK(renderCoincidentRowBoundary)->Unit(benchmark::kMillisecond);

// One vector: 100 strokes across the whole extent on consecutive row tops joined by diagonals.
// Every row fills with glyphs long before its end. Target: under 5 s.
void renderStaircase(benchmark::State& state) {
    renderEach(state, *drawingOf({fixtures::staircase(kMaxPoints / 2, kMaxCoordinate, 1)}));
}
BENCHMARK(renderStaircase)->Unit(benchmark::kMillisecond);

// 39,800 segments each crossing the whole width, their ends at random heights, and 40,000 random
// points, both over an extent of E x E. Every row holds thousands of segments and the cursor
// stops every few pixels, so both grow as E^2 (about 6 s and 15 s at E = 20,000 on 2 cores; a
// full extent would take hours, and its text would be gigabytes).
void renderZigzagAcross(benchmark::State& state) {
    const auto extent = static_cast<std::int32_t>(state.range(0));
    std::mt19937 random(13);
    std::vector<fixtures::Polyline> lines;
    for (int i = 0; i < kSlotCount; ++i) {
        lines.push_back(fixtures::zigzag(random, kMaxPoints, extent, extent));
    }
    renderEach(state, *drawingOf(lines));
}
BENCHMARK(renderZigzagAcross)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

void renderRandomPoints(benchmark::State& state) {
    const auto extent = static_cast<std::int32_t>(state.range(0));
    std::mt19937 random(40000);
    renderEach(state,
               *fixtures::randomDrawing(random, kSlotCount, kMaxPoints, {0, 0}, {extent, extent}));
}
BENCHMARK(renderRandomPoints)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

// Distinct sloped segments lying along a row within the band's two pixels of slack without
// meeting its probe windows: (k, -1) to (width - k, 0). Wholly above the row, they stay out of
// its band, so the gap filler crosses the row in one jump. Target: under 5 s at full extent.
void renderRowHugging(benchmark::State& state) {
    renderEach(state, *fixtures::drawing(fixtures::rowHugging(
                          static_cast<std::int32_t>(state.range(0)),
                          static_cast<std::int32_t>(state.range(1)))));
}
BENCHMARK(renderRowHugging)
    ->Args({1000, 100'000})
    ->Args({kSlotCount * (kMaxPoints - 1), kMaxCoordinate})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace penmoji
