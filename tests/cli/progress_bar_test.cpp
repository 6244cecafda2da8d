// SPDX-License-Identifier: MIT
#include "cli/progress_bar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace penmoji::cli {
namespace {

TEST(ProgressBar, RedrawsOnlyWhenThePercentageChanges) {
    std::ostringstream out;
    ProgressBar bar(out);
    constexpr std::int64_t kTotal = 1'000'000;
    for (std::int64_t position = 0; position < kTotal; ++position) {
        bar.reportProgress(position, kTotal);
    }
    bar.reportProgress(kTotal, kTotal);
    const std::string shown = out.str();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\r'), 101);
    EXPECT_TRUE(shown.ends_with("] 100%")) << shown.substr(shown.size() - 20);
    EXPECT_NE(shown.find("] 0%"), std::string::npos);
    EXPECT_NE(shown.find("] 50%"), std::string::npos);
}

TEST(ProgressBar, FinishBlanksTheLineAndNothingShownMeansNothingWritten) {
    std::ostringstream out;
    ProgressBar bar(out);
    bar.reportProgress(5, 0);  // an empty rendering reports no total
    bar.finish();
    EXPECT_EQ(out.str(), "");

    bar.reportProgress(1, 4);
    const std::size_t barLength = out.str().size();
    bar.finish();
    const std::string blanked = out.str().substr(barLength);
    ASSERT_GE(blanked.size(), barLength + 1);
    EXPECT_EQ(blanked.front(), '\r');
    EXPECT_EQ(blanked.back(), '\r');
    EXPECT_EQ(blanked.find_first_not_of(' ', 1), blanked.size() - 1);
}

}  // namespace
}  // namespace penmoji::cli
