#include <benchmark/benchmark.h>

#include "line_drawings.h"
#include "trace/trace.h"

namespace penmoji::trace {
namespace {

// A screen-sized line drawing as a scan would give it: about 150 letters, circles and two long
// crossing lines, strokes 3 pixels wide, with grain and specks; more lines than the document
// holds, so the limits are part of the work.
void traceScreenOfLineArt(benchmark::State& state) {
    const cv::Size size(1920, 1080);
    cv::Mat picture = fixtures::drawStrokes(size, fixtures::screenOfLineArt(size), 3);
    fixtures::addNoise(picture, 5, 2000);
    const GreyImage image = fixtures::view(picture);
    int vectors = 0;
    for (auto _ : state) {
        const TraceResult traced = traceLines(image, {});
        vectors = traced.report.vectors;
        benchmark::DoNotOptimize(traced.lines.data());
    }
    state.counters["vectors"] = vectors;
}
BENCHMARK(traceScreenOfLineArt)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace penmoji::trace
