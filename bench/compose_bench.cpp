// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include "compose/blank_run.h"

namespace penmoji {
namespace {

RenderSettings settingsFor(std::int64_t mask) {
    RenderSettings s;
    s.useDots = (mask & 1) != 0;
    s.noEntities = (mask & 2) != 0;
    s.strictHalfSpaces = (mask & 4) != 0;
    return s;
}

// One iteration composes every gap width from 0 to 5000 pixels under one settings combination
// (bit 0 useDots, bit 1 noEntities, bit 2 strictHalfSpaces).
void composeAllWidths(benchmark::State& state) {
    const RenderSettings settings = settingsFor(state.range(0));
    BlankRun run;
    for (auto _ : state) {
        std::size_t elements = 0;
        for (std::int32_t width = 0; width <= 5000; ++width) {
            elements += composeBlankRun(run, width, 0, settings);
        }
        benchmark::DoNotOptimize(elements);
    }
    state.SetItemsProcessed(state.iterations() * 5001);
}
BENCHMARK(composeAllWidths)->DenseRange(0, 7)->Unit(benchmark::kMicrosecond);

// The exact search alone over widths up to 20000, where most targets have no run within the
// capacity.
void findExactRunUpTo20000(benchmark::State& state) {
    BlankRun run;
    for (auto _ : state) {
        std::size_t elements = 0;
        for (std::int64_t target = 0; target <= 20000; ++target) {
            elements += findExactRun(run, target);
        }
        benchmark::DoNotOptimize(elements);
    }
    state.SetItemsProcessed(state.iterations() * 20001);
}
BENCHMARK(findExactRunUpTo20000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace penmoji
