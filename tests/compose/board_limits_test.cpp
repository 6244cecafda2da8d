// SPDX-License-Identifier: MIT
#include "compose/board_limits.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace penmoji {
namespace {

// `rows` rows of `width` bytes each, every row ending in CR LF.
std::string art(int rows, int width) {
    std::string text;
    for (int i = 0; i < rows; ++i) {
        text += std::string(static_cast<std::size_t>(width), 'a' + static_cast<char>(i % 26));
        text += "\r\n";
    }
    return text;
}

const BoardProfile kSmall{"small", "small", 100, 4, 30};

TEST(BoardLimitsTest, ArtsAtAndOverEachLimit) {
    using enum BoardLimit;
    struct Case {
        const char* what;
        std::string text;
        std::vector<BoardLimit> exceeded;
    };
    // Four rows of 23 bytes are 4 * 25 = 100 bytes with their line breaks.
    const Case cases[] = {
        {"at every limit", art(4, 23), {}},
        {"one byte over the post", art(3, 23) + std::string(24, 'x') + "\r\n", {Bytes}},
        {"a fifth line", art(5, 2), {Lines}},
        {"a line at its limit", art(1, 30), {}},
        {"a line one byte over", art(1, 31), {LineBytes}},
        {"everything over", art(5, 31), {Bytes, Lines, LineBytes}},
        {"the NUL ends the text", art(4, 23) + std::string("\0xxxx", 5), {}},
        {"an empty text", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkBoardLimits(c.text, kSmall).exceeded, c.exceeded) << c.what;
    }
    // The shipped profiles: "none" takes anything, the standard one stops at 24 lines.
    EXPECT_TRUE(checkBoardLimits(art(500, 900), unlimitedBoardProfile()).fits());
    const BoardProfile* standard = findBoardProfile("STANDARD");
    ASSERT_NE(standard, nullptr);
    EXPECT_TRUE(checkBoardLimits(art(24, 10), *standard).fits());
    EXPECT_EQ(checkBoardLimits(art(25, 10), *standard).exceeded, std::vector{Lines});
    EXPECT_EQ(findBoardProfile("no-such-board"), nullptr);
}

TEST(BoardLimitsTest, FiguresCountLineBreaksAsTwoBytesAndNameTheLongestLine) {
    const BoardFigures f = measureBoardFigures("ab\r\nabcd\nabc");
    EXPECT_EQ(f.bytes, 2 + 2 + 4 + 2 + 3);
    EXPECT_EQ(f.lines, 3);
    EXPECT_EQ(f.longestLineBytes, 4);
    EXPECT_EQ(f.longestLine, 2);
    const BoardCheck check = checkBoardLimits(art(5, 31), kSmall);
    EXPECT_EQ(describeBoardCheck(check, kSmall),
              "165 bytes (limit 100), 5 lines (limit 4), longest line 31 bytes (limit 30) "
              "(line 1)");
}

TEST(BoardLimitsTest, SplitCutsAtRowsIntoPagesThatFit) {
    const std::string text = art(9, 23) + art(1, 40) + art(2, 5);
    const PageSplit split = splitIntoPages(text, kSmall);
    // Four full rows a page, the over-long row alone, the rest after it.
    ASSERT_EQ(split.pages.size(), 5u);
    EXPECT_EQ(split.pages[0], art(4, 23));
    EXPECT_EQ(split.pages[2], art(9, 23).substr(8 * 25));
    EXPECT_EQ(split.pages[3], art(1, 40));
    EXPECT_EQ(split.oversizedRows, std::vector{10});
    EXPECT_EQ(std::accumulate(split.pages.begin(), split.pages.end(), std::string()), text);
    for (std::size_t i = 0; i < split.pages.size(); ++i) {
        if (i != 3) {
            EXPECT_TRUE(checkBoardLimits(split.pages[i], kSmall).fits()) << "page " << i;
        }
    }
    EXPECT_EQ(splitIntoPages(text, unlimitedBoardProfile()).pages, std::vector{text});
    EXPECT_TRUE(splitIntoPages("", kSmall).pages.empty());
}

}  // namespace
}  // namespace penmoji
