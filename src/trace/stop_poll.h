// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>

namespace penmoji::trace {

// Asks whether to stop every so many pixels looked at: a look is a few nanoseconds, so a stop
// is heard within a few milliseconds whatever the picture.
class StopPoll {
public:
    // `stopRequested` may be empty (never stop); it must outlive the poll.
    explicit StopPoll(const std::function<bool()>& stopRequested) : stopRequested_(stopRequested) {}

    // Counts `steps` pixels looked at; true when the work should stop.
    bool spend(std::size_t steps) {
        steps_ += steps;
        if (steps_ < kStepsPerPoll || !stopRequested_) {
            return false;
        }
        steps_ = 0;
        return stopRequested_();
    }

private:
    static constexpr std::size_t kStepsPerPoll = std::size_t{1} << 18;
    const std::function<bool()>& stopRequested_;
    std::size_t steps_ = 0;
};

}  // namespace penmoji::trace
