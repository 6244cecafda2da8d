// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace penmoji {

// Told before every cursor position of a rendering how far it has come, and asked there whether
// the rendering should stop; long walks between two positions ask it too (see WorkPacer).
class ProgressReceiver {
public:
    virtual ~ProgressReceiver() = default;
    // Positions only grow: `position` counts canvas pixels row by row, out of `total`.
    virtual void reportProgress(std::int64_t position, std::int64_t total) = 0;
    // Polled often (at least before every cursor position), so it must be cheap.
    virtual bool stopRequested() { return false; }
};

// Paces the walks that may run long between two cursor positions, such as the gap filler
// stepping along a row whose segments come near every window without meeting one: they count
// their steps here, and every so many steps the receiver hears how far the walk has come and is
// asked whether to stop. A stop is so honoured, and the progress moves, within a few
// milliseconds whatever the drawing.
class WorkPacer {
public:
    // Steps between two polls: each is a visit of a segment, at most a few tens of nanoseconds
    // when it is tested against a window. Walks in small drawings never come near it, so their
    // progress is reported at cursor positions only.
    static constexpr std::int64_t kStepsPerPoll = std::int64_t{1} << 16;

    WorkPacer(ProgressReceiver& receiver, std::int64_t total)
        : receiver_(receiver), total_(total) {}

    // Reports the cursor position and polls; the walks after it start counting afresh.
    bool stopAt(std::int64_t position) {
        steps_ = 0;
        receiver_.reportProgress(position, total_);
        return receiver_.stopRequested();
    }

    // Counts `steps` done at `position`; true when the rendering should stop.
    bool spend(std::int64_t steps, std::int64_t position) {
        steps_ += steps;
        return steps_ >= kStepsPerPoll && stopAt(position);
    }

private:
    ProgressReceiver& receiver_;
    std::int64_t total_;
    std::int64_t steps_ = 0;
};

}  // namespace penmoji
