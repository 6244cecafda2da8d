// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/file_rendering.h"

namespace penmoji::cli {

// One drawing of a batch and the file its rendering replaces.
struct BatchJob {
    std::string input;
    std::filesystem::path output;
};

// The jobs for `inputs` rendered into `directory`: each NAME.pmj (or any other name) becomes
// NAME.txt or NAME.html there, whichever folder the input came from.
std::vector<BatchJob> batchJobs(std::span<const std::string> inputs,
                                const std::filesystem::path& directory, OutputFormat format);

// Two inputs of the same name from different folders would overwrite each other's result:
// the reason naming the first such pair, if any.
std::optional<std::string> findSharedOutput(std::span<const BatchJob> jobs);

// How many jobs run at once when the user does not say: one per core.
unsigned defaultJobCount();

// Called after each finished file with the count done so far; never by two threads at once.
using BatchProgress = std::function<void(std::size_t done, std::size_t total)>;

// Renders every job, `threads` at a time, each on its own state. A failed job does not stop
// the others; a stop signal stops them all (their failures say `stopped`). The notes of
// `options` are told in the order of the jobs, as a job and all before it finish; returns the
// failures in the order of the jobs.
std::vector<FileFailure> renderBatch(std::span<const BatchJob> jobs, const OutputOptions& options,
                                     unsigned threads, const BatchProgress& progress);

}  // namespace penmoji::cli
