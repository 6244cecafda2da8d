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
    std::uniform_int_distribution<std::int32_t> x(0, 1919);
    std::uniform_int_distribution<std::int32_t> y(0, 1079);
    auto vectors = std::make_unique<VectorSet>();
    for (VectorLine& line : vectors->lines) {
        line.count = kMaxPoints;
        for (Point& p : std::span(line.points)) {
            p = {x(random), y(random)};
        }
    }
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

}  // namespace
}  // namespace penmoji
