// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <random>

#include "compose/exact_gaps.h"
#include "compose/render_driver.h"
#include "document/vector_file.h"
#include "drawing_fixtures.h"
#include "render/fine_matcher.h"

namespace penmoji {
namespace {

// The fine mode on the drawings whose default renderings render_bench times.
std::string renderFine(const VectorSet& vectors, bool textOnly) {
    NoProgress quiet;
    RandomGenerator random;
    RenderSettings settings;
    settings.fine = true;
    settings.noEntities = textOnly;
    return renderText(vectors, settings, random, quiet)->text;
}

// A typical drawing: three dozen strokes of a few points each on a 640 x 400 canvas.
void fineTypicalDrawing(benchmark::State& state) {
    std::mt19937 random(2);
    const auto vectors = fixtures::randomWalks(random, 36, 6, 30, {639, 399});
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderFine(*vectors, state.range(0) != 0));
    }
}
BENCHMARK(fineTypicalDrawing)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The largest drawing the editor can make: 200 vectors of 200 points, random walks spread over
// a 1920 x 1080 canvas.
void fineLargestDrawing(benchmark::State& state) {
    std::mt19937 random(1);
    const auto vectors = fixtures::randomWalks(random, kSlotCount, kMaxPoints, 40, {1919, 1079});
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderFine(*vectors, false));
    }
}
BENCHMARK(fineLargestDrawing)->Unit(benchmark::kMillisecond);

// The fine mode with each way of counting pixels that the processor runs (1 plain, 2 AVX2,
// 3 AVX-512), writing the text as renderText does: a processor without AVX-512 takes the AVX2
// scan.
void fineByScan(benchmark::State& state, const VectorSet& vectors) {
    const auto scan = static_cast<FineScan>(state.range(0));
    if (!fineScanRuns(scan)) {
        state.SkipWithError("the processor does not run this scan");
        return;
    }
    struct TextSink final : RowSink {
        void takeRow(const TextRow& row) override { appendRowText(text, row, settings, random); }
        RenderSettings settings;
        RandomGenerator random;
        std::string text;
    };
    for (auto _ : state) {
        NoProgress quiet;
        TextRow row;
        GlyphBoxList boxes;
        TextSink sink;
        sink.settings.fine = true;
        renderVectorsFine(row, vectors, exactGapsFor(sink.settings), boxes, quiet, sink, {}, scan);
        benchmark::DoNotOptimize(sink.text);
    }
}

void fineTypicalDrawingByScan(benchmark::State& state) {
    std::mt19937 random(2);
    fineByScan(state, *fixtures::randomWalks(random, 36, 6, 30, {639, 399}));
}
BENCHMARK(fineTypicalDrawingByScan)
    ->Arg(static_cast<int>(FineScan::plain))
    ->Arg(static_cast<int>(FineScan::avx2))
    ->Arg(static_cast<int>(FineScan::avx512))
    ->Unit(benchmark::kMillisecond);

void fineLargestDrawingByScan(benchmark::State& state) {
    std::mt19937 random(1);
    fineByScan(state, *fixtures::randomWalks(random, kSlotCount, kMaxPoints, 40, {1919, 1079}));
}
BENCHMARK(fineLargestDrawingByScan)
    ->Arg(static_cast<int>(FineScan::plain))
    ->Arg(static_cast<int>(FineScan::avx2))
    ->Arg(static_cast<int>(FineScan::avx512))
    ->Unit(benchmark::kMillisecond);

// The same size with every point anywhere on the canvas: lines criss-crossing every cell.
void fineLargestDrawingScattered(benchmark::State& state) {
    std::mt19937 random(4);
    const auto vectors = fixtures::scatteredPoints(random, {1919, 1079});
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderFine(*vectors, false));
    }
}
BENCHMARK(fineLargestDrawingScattered)->Unit(benchmark::kMillisecond);

void fineLargestDrawingScatteredByScan(benchmark::State& state) {
    std::mt19937 random(4);
    fineByScan(state, *fixtures::scatteredPoints(random, {1919, 1079}));
}
BENCHMARK(fineLargestDrawingScatteredByScan)
    ->Arg(static_cast<int>(FineScan::plain))
    ->Arg(static_cast<int>(FineScan::avx2))
    ->Arg(static_cast<int>(FineScan::avx512))
    ->Unit(benchmark::kMillisecond);

// Three dozen short strokes scattered along a strip 100,000 pixels wide: rows much wider than
// a plan window, mostly empty. Their cost follows their lines, not their width.
void fineWideSparseDrawing(benchmark::State& state) {
    std::mt19937 random(5);
    const auto vectors = fixtures::randomWalks(random, 36, 6, 30, {99'999, 399});
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderFine(*vectors, false));
    }
}
BENCHMARK(fineWideSparseDrawing)->Unit(benchmark::kMillisecond);

// The degenerate drawings a file can hold, at full extent (tools/make_hostile_drawings.py
// writes them as files). A row wider than a plan window is planned until it is full, so each
// row costs what the first few thousand pixels of it cost. Target: under 5 s each.
void fineEach(benchmark::State& state, const VectorSet& vectors) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderFine(vectors, false));
    }
}

void fineCoincidentDiagonal(benchmark::State& state) {
    const std::vector<fixtures::Polyline> lines(
        kSlotCount, fixtures::backAndForth({0, 0}, {kMaxCoordinate, kMaxCoordinate}, kMaxPoints));
    fineEach(state, *fixtures::drawing(lines));
}
BENCHMARK(fineCoincidentDiagonal)->Unit(benchmark::kMillisecond)->Iterations(1);

void fineCoincidentRowBoundary(benchmark::State& state) {
    constexpr std::int32_t y = 16 * 31'250 + 1;
    const std::vector<fixtures::Polyline> lines(
        kSlotCount, fixtures::backAndForth({0, y}, {kMaxCoordinate, y}, kMaxPoints));
    fineEach(state, *fixtures::drawing(lines));
}
BENCHMARK(fineCoincidentRowBoundary)->Unit(benchmark::kMillisecond)->Iterations(1);

void fineStaircase(benchmark::State& state) {
    fineEach(state, *fixtures::drawing({fixtures::staircase(kMaxPoints / 2, kMaxCoordinate, 1)}));
}
BENCHMARK(fineStaircase)->Unit(benchmark::kMillisecond)->Iterations(1);

void fineRowHugging(benchmark::State& state) {
    fineEach(state, *fixtures::drawing(
                        fixtures::rowHugging(kSlotCount * (kMaxPoints - 1), kMaxCoordinate)));
}
BENCHMARK(fineRowHugging)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace penmoji
