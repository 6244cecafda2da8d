// SPDX-License-Identifier: MIT
#include "cli/progress_bar.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace penmoji::cli {
namespace {

constexpr int kBarWidth = 40;
constexpr std::string_view kLabel = "rendering ";

}  // namespace

void ProgressBar::reportProgress(std::int64_t position, std::int64_t total) {
    if (total <= 0) {
        return;
    }
    const auto percent = static_cast<int>(std::clamp<std::int64_t>(position * 100 / total, 0, 100));
    if (percent == shownPercent_) {
        return;
    }
    shownPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    out_ << '\r' << kLabel << '[' << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << percent << '%'
         << std::flush;
}

void ProgressBar::finish() {
    if (shownPercent_ < 0) {
        return;
    }
    const std::size_t lineWidth = kLabel.size() + kBarWidth + 7;
    out_ << '\r' << std::string(lineWidth, ' ') << '\r' << std::flush;
    shownPercent_ = -1;
}

}  // namespace penmoji::cli
