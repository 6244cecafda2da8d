// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iosfwd>

#include "render/render_pass.h"

namespace penmoji::cli {

// A one-line bar redrawn in place with carriage returns, for a terminal.
class ProgressBar final : public ProgressReceiver {
public:
    explicit ProgressBar(std::ostream& out) : out_(out) {}

    // Called before every cursor position, millions of times for a large drawing, so it
    // redraws only when the whole percentage changes.
    void reportProgress(std::int64_t position, std::int64_t total) override;
    // Blanks the bar so that what follows on the terminal starts on a clean line.
    void finish();

private:
    std::ostream& out_;
    int shownPercent_ = -1;
};

}  // namespace penmoji::cli
