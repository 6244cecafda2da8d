// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "render/progress_receiver.h"
#include "render/render_pass.h"

namespace penmoji {

// Bounds the size of the art: counts the characters of the rows going by (every cell that is
// not blank, placed text included) and passes the rows on to `next` while the count stays
// within `limit`. The row that takes it past is held back, as is every row after it, and the
// rendering is asked to stop at its next question. A limit of 0 bounds nothing. The count of a
// row is at most a row's cells, so the work done past the limit is at most one row's.
class CharacterLimit final : public RowSink, public ProgressReceiver {
public:
    CharacterLimit(std::int64_t limit, RowSink& next, ProgressReceiver& progress)
        : limit_(limit), next_(next), progress_(progress) {}

    void takeRow(const TextRow& row) override;
    void reportProgress(std::int64_t position, std::int64_t total) override {
        progress_.reportProgress(position, total);
    }
    bool stopRequested() override { return exceeded_ || progress_.stopRequested(); }

    // Whether the art has more characters than the limit allows.
    bool exceeded() const { return exceeded_; }

private:
    std::int64_t limit_;
    RowSink& next_;
    ProgressReceiver& progress_;
    std::int64_t count_ = 0;
    bool exceeded_ = false;
};

}  // namespace penmoji
