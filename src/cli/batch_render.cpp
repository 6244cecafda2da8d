// SPDX-License-Identifier: MIT
#include "cli/batch_render.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "cli/stop_signals.h"
#include "compose/render_driver.h"
#include "document/atomic_file.h"

namespace penmoji::cli {

std::vector<BatchJob> batchJobs(std::span<const std::string> inputs,
                                const std::filesystem::path& directory, OutputFormat format) {
    const char* extension = format == OutputFormat::HtmlPage ? ".html" : ".txt";
    std::vector<BatchJob> jobs;
    jobs.reserve(inputs.size());
    for (const std::string& input : inputs) {
        std::filesystem::path name = std::filesystem::path(input).filename();
        name.replace_extension(extension);
        jobs.push_back({input, directory / name});
    }
    return jobs;
}

std::optional<std::string> findSharedOutput(std::span<const BatchJob> jobs) {
    std::map<std::filesystem::path, const BatchJob*> seen;
    for (const BatchJob& job : jobs) {
        const auto [at, inserted] = seen.emplace(job.output, &job);
        if (!inserted) {
            return at->second->input + " and " + job.input + " would both be rendered into " +
                   job.output.string();
        }
    }
    return std::nullopt;
}

unsigned defaultJobCount() {
    // Zero when the count cannot be told.
    return std::max(1u, std::thread::hardware_concurrency());
}

namespace {

// A job's notes, held until every job before it has told its own: the messages come in the
// order of the inputs whatever the number of threads.
class OrderedNotes {
public:
    OrderedNotes(std::size_t jobs, InputNotes out) : held_(jobs), out_(std::move(out)) {}

    // What job `index` hands its notes to.
    InputNotes forJob(std::size_t index) {
        return [this, index](const std::string& input, const std::string& note) {
            const std::lock_guard guard(lock_);
            held_[index].emplace_back(input, note);
        };
    }

    // Job `index` is done: tells its notes and those of the finished jobs after it, once all
    // before it are told.
    void finish(std::size_t index) {
        const std::lock_guard guard(lock_);
        finished_[index] = true;
        for (; next_ < held_.size() && finished_[next_]; ++next_) {
            for (const auto& [input, note] : held_[next_]) {
                if (out_) {
                    out_(input, note);
                }
            }
            held_[next_] = {};
        }
    }

private:
    using Note = std::pair<std::string, std::string>;
    std::mutex lock_;
    std::vector<std::vector<Note>> held_;
    std::vector<bool> finished_ = std::vector<bool>(held_.size());
    InputNotes out_;
    std::size_t next_ = 0;
};

}  // namespace

std::vector<FileFailure> renderBatch(std::span<const BatchJob> jobs, const OutputOptions& options,
                                     unsigned threads, const BatchProgress& progress) {
    std::vector<std::optional<FileFailure>> outcomes(jobs.size());
    std::atomic<std::size_t> nextJob = 0;
    std::mutex progressLock;
    std::size_t done = 0;
    OrderedNotes notes(jobs.size(), options.notes);
    GroupedCommits commits;

    // Each worker takes the next job until none is left, so a slow drawing holds up one worker
    // only.
    const auto work = [&] {
        NoProgress quiet;
        StoppableProgress stoppable(quiet);
        OutputOptions jobOptions = options;
        jobOptions.directorySync = DirectorySync::ByCaller;
        jobOptions.commits = &commits;
        for (std::size_t i = nextJob++; i < jobs.size(); i = nextJob++) {
            if (stoppable.stopRequested()) {
                outcomes[i] = FileFailure{jobs[i].input, "not rendered: stopped", true};
                notes.finish(i);
                continue;
            }
            jobOptions.notes = notes.forJob(i);
            outcomes[i] = renderFile(jobs[i].input, jobs[i].output, jobOptions, stoppable);
            notes.finish(i);
            const std::lock_guard lock(progressLock);
            ++done;
            if (progress) {
                progress(done, jobs.size());
            }
        }
    };
    const std::size_t workers =
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(1, jobs.size()));
    {
        std::vector<std::jthread> helpers;
        for (std::size_t i = 1; i < workers; ++i) {
            helpers.emplace_back(work);
        }
        work();
    }
    // Also after a stop: the files rendered in full are put in place, and no temporary is left.
    commits.finish();
    for (GroupedCommits::Failure& failed : commits.takeFailures()) {
        const auto job = std::ranges::find(jobs, failed.target, &BatchJob::output);
        if (job != jobs.end()) {
            outcomes[static_cast<std::size_t>(job - jobs.begin())] =
                FileFailure{failed.target.string(), failed.status.reason()};
        }
    }

    std::vector<FileFailure> failures;
    for (std::optional<FileFailure>& outcome : outcomes) {
        if (outcome) {
            failures.push_back(std::move(*outcome));
        }
    }
    return failures;
}

}  // namespace penmoji::cli
