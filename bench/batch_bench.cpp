// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/batch_render.h"

namespace penmoji::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kBatchSize = 200;

// A batch as penmoji-render -d runs it: 200 drawings of the examples' size (the three example
// drawings in turn), each read from disk, rendered and written as a text file; the argument is
// the number of threads. Real time, as the threads' CPU time would hide what they gain.
void renderBatchOfExamples(benchmark::State& state) {
    const fs::path examples = PENMOJI_EXAMPLES_DIR;
    const fs::path out = fs::temp_directory_path() / "penmoji-batch-bench";
    fs::create_directories(out);
    const char* drawings[] = {"face.pmj", "night.pmj", "angles.pmj"};
    std::vector<BatchJob> jobs;
    for (int i = 0; i < kBatchSize; ++i) {
        jobs.push_back({(examples / drawings[i % 3]).string(), out / (std::to_string(i) + ".txt")});
    }
    const OutputOptions options;
    const auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const auto failures = renderBatch(jobs, options, threads, {});
        if (!failures.empty()) {
            state.SkipWithError(describeFailure(failures.front()).c_str());
            break;
        }
    }
    state.counters["drawings_per_s"] = benchmark::Counter(
        static_cast<double>(kBatchSize) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    fs::remove_all(out);
}
BENCHMARK(renderBatchOfExamples)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace penmoji::cli
