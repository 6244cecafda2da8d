// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "line_drawings.h"
#include "trace/trace.h"

namespace penmoji::trace {
namespace {

// Traces `picture` once an iteration, counting the vectors of the last tracing.
void traceEachTime(benchmark::State& state, const cv::Mat& picture) {
    const GreyImage image = fixtures::view(picture);
    int vectors = 0;
    for (auto _ : state) {
        const TraceResult traced = traceLines(image, {});
        vectors = traced.report.vectors;
        benchmark::DoNotOptimize(traced.lines.data());
    }
    state.counters["vectors"] = vectors;
}

// A screen-sized line drawing as a scan would give it: about 150 letters, circles and two long
// crossing lines, strokes 3 pixels wide, with grain and specks; more lines than the document
// holds, so the limits are part of the work.
void traceScreenOfLineArt(benchmark::State& state) {
    const cv::Size size(1920, 1080);
    cv::Mat picture = fixtures::drawStrokes(size, fixtures::screenOfLineArt(size), 3);
    fixtures::addNoise(picture, 5, 2000);
    traceEachTime(state, picture);
}
BENCHMARK(traceScreenOfLineArt)->Unit(benchmark::kMillisecond);

// Pictures of 4000 × 4000 pixels that are mostly ink: a black square 3800 pixels a side, and a
// checkerboard of single pixels. Both once took minutes and gigabytes to thin.
cv::Mat blackSquare() {
    cv::Mat picture(4000, 4000, CV_8UC1, cv::Scalar(fixtures::kPaper));
    cv::rectangle(picture, cv::Rect(100, 100, 3800, 3800), cv::Scalar(fixtures::kInk), cv::FILLED);
    return picture;
}

cv::Mat pixelCheckerboard() {
    cv::Mat picture(4000, 4000, CV_8UC1, cv::Scalar(fixtures::kPaper));
    for (int y = 0; y < picture.rows; ++y) {
        auto* row = picture.ptr<std::uint8_t>(y);
        for (int x = y % 2; x < picture.cols; x += 2) {
            row[x] = fixtures::kInk;
        }
    }
    return picture;
}

void traceMostlyInk(benchmark::State& state, cv::Mat (*draw)()) {
    traceEachTime(state, draw());
}
BENCHMARK_CAPTURE(traceMostlyInk, blackSquare, blackSquare)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(traceMostlyInk, pixelCheckerboard, pixelCheckerboard)
    ->Unit(benchmark::kMillisecond);

// How long a stop may wait to be heard: the longest stretch of a tracing of the black square
// between two questions whether to stop (or from its start to the first, or from the last to
// its end).
void stopTracingMostlyInk(benchmark::State& state) {
    const cv::Mat picture = blackSquare();
    const GreyImage image = fixtures::view(picture);
    using Clock = std::chrono::steady_clock;
    double longest = 0;
    for (auto _ : state) {
        Clock::time_point last = Clock::now();
        const auto stretch = [&] {
            const Clock::time_point now = Clock::now();
            longest =
                std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        };
        TraceOptions options;
        options.stopRequested = [&] {
            stretch();
            return false;
        };
        benchmark::DoNotOptimize(traceLines(image, options).lines.data());
        stretch();
    }
    state.counters["longest_ms_unasked"] = longest;
}
BENCHMARK(stopTracingMostlyInk)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace penmoji::trace
