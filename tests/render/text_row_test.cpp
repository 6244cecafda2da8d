// SPDX-License-Identifier: MIT
#include "render/text_row.h"

#include <gtest/gtest.h>

#include <vector>

namespace penmoji {
namespace {

constexpr std::int32_t kSlash = 0x815E;
constexpr std::int32_t kBar = 0x8162;

std::vector<RowCell> used(const TextRow& row) {
    const auto cells = row.usedCells();
    return {cells.begin(), cells.end()};
}

RowCell glyph(std::int32_t code, std::int32_t x, std::int32_t width) {
    return {true, x, width, code};
}

RowCell gap(std::int32_t x, std::int32_t width) {
    return {true, x, width, GapCode};
}

TEST(TextRow, FillGapsInsertsLeadingAndInnerGapsButNothingAfterTheLastCell) {
    TextRow row;
    row.placeGlyph(kSlash, 1, 8);
    row.placeGlyph(kBar, 12, 16);
    row.fillGaps();
    EXPECT_EQ(used(row),
              (std::vector{gap(0, 1), glyph(kSlash, 1, 8), gap(9, 3), glyph(kBar, 12, 16)}));
    row.mergeBlanks();
    EXPECT_EQ(used(row).size(), 4u);
}

TEST(TextRow, EmptyRowStaysEmpty) {
    TextRow row;
    row.fillGaps();
    row.mergeBlanks();
    EXPECT_TRUE(row.usedCells().empty());
}

TEST(TextRow, PlacingRemovesEveryCellItOverlapsAndOnlyThose) {
    struct Case {
        std::int32_t x, width;
        bool existingSurvives;
    };
    // The existing character spans pixels 10 to 18.
    const Case cases[] = {
        {14, 8, false},  // starts inside
        {6, 8, false},   // ends inside
        {12, 2, false},  // lies inside
        {9, 20, false},  // covers it
        {18, 4, true},   // starts exactly at its end
        {2, 8, true},    // ends exactly at its start
    };
    for (const Case& c : cases) {
        TextRow row;
        row.placeGlyph(kSlash, 10, 8);
        row.placeGlyph(kBar, c.x, c.width);
        std::vector<RowCell> expected;
        if (c.existingSurvives && c.x < 10) {
            expected = {glyph(kBar, c.x, c.width), glyph(kSlash, 10, 8)};
        } else if (c.existingSurvives) {
            expected = {glyph(kSlash, 10, 8), glyph(kBar, c.x, c.width)};
        } else {
            expected = {glyph(kBar, c.x, c.width)};
        }
        EXPECT_EQ(used(row), expected) << "new character at " << c.x << " width " << c.width;
    }
}

TEST(TextRow, PlacingKeepsCellsInPixelOrderAndIgnoresInvalidInput) {
    TextRow row;
    row.placeGlyph(kSlash, 40, 8);
    row.placeGlyph(kSlash, 0, 8);
    row.placeGlyph(kBar, 20, 8);
    row.placeGlyph(kBar, 30, 0);   // no width
    row.placeGlyph(kBar, 50, -3);  // negative width
    row.placeGlyph(kBar, -1, 8);   // left of the canvas
    EXPECT_EQ(used(row),
              (std::vector{glyph(kSlash, 0, 8), glyph(kBar, 20, 8), glyph(kSlash, 40, 8)}));
}

TEST(TextRow, MergeBlanksJoinsNeighbouringBlanksKeepingTheFirstCode) {
    TextRow row;
    row.placeGlyph(kFullWidthSpaceCode, 0, 3);
    row.placeGlyph(kHalfWidthSpaceCode, 3, 5);
    row.placeGlyph(kSlash, 8, 16);
    row.placeGlyph(GapCode, 24, 2);
    row.placeGlyph(kHalfWidthSpaceCode, 26, 5);
    row.placeGlyph(0xFFF0, 31, 4);
    row.mergeBlanks();
    EXPECT_EQ(used(row), (std::vector{RowCell{true, 0, 8, kFullWidthSpaceCode},
                                      glyph(kSlash, 8, 16), gap(24, 11)}));
}

class FullRow : public ::testing::Test {
protected:
    // Characters 2 pixels wide with a 1-pixel gap after each, at 0, 3, 6, ...
    void SetUp() override {
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(TextRow::kCellCount); ++i) {
            row.placeGlyph(kSlash, 3 * i, 2);
        }
        ASSERT_EQ(row.usedCells().size(), TextRow::kCellCount);
    }
    TextRow row;
};

TEST_F(FullRow, CharacterAfterEveryCellIsDropped) {
    const auto before = used(row);
    row.placeGlyph(kBar, 5000, 2);
    EXPECT_EQ(used(row), before);
}

TEST_F(FullRow, CharacterInFrontPushesTheLastOneOut) {
    row.placeGlyph(kBar, 2, 1);  // in the first gap
    const auto cells = used(row);
    ASSERT_EQ(cells.size(), TextRow::kCellCount);
    EXPECT_EQ(cells[1], glyph(kBar, 2, 1));
    EXPECT_EQ(cells.back(), glyph(kSlash, 3 * 798, 2));
}

TEST_F(FullRow, EachFilledGapPushesTheRightmostCellOut) {
    row.fillGaps();
    const auto cells = used(row);
    ASSERT_EQ(cells.size(), TextRow::kCellCount);
    // Characters and one-pixel gaps alternate up to the last cell, which is never examined:
    // the gap in front of the character left there stays unfilled.
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
        const auto n = static_cast<std::int32_t>(i / 2);
        EXPECT_EQ(cells[i], i % 2 == 0 ? glyph(kSlash, 3 * n, 2) : gap(3 * n + 2, 1)) << i;
    }
    EXPECT_EQ(cells.back(), glyph(kSlash, 1200, 2));
}

TEST(TextRow, BlankCodes) {
    for (std::int32_t code : {0x20, 0x8140, 0xFFF0, 0xFFF1, 0xFFF2, 0xFFF3, 0xFFF4}) {
        EXPECT_TRUE(isBlankCode(code)) << std::hex << code;
        EXPECT_TRUE(isBlankCell({true, 0, 1, code}));
        EXPECT_FALSE(isBlankCell({false, 0, 1, code}));
    }
    for (std::int32_t code : {0x21, 0x5F, 0x8141, 0x815E, 0xFFEF, 0xFFF5, 0}) {
        EXPECT_FALSE(isBlankCode(code)) << std::hex << code;
    }
}

}  // namespace
}  // namespace penmoji
