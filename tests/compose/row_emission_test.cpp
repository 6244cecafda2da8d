// SPDX-License-Identifier: MIT
#include "compose/row_emission.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace penmoji {
namespace {

constexpr std::int32_t kSlash = 0x815E;
const std::string kFull = "\x81\x40";

struct Glyph {
    std::int32_t code, x, width;
};

// A row as the render pass leaves it: characters placed, gaps filled, blanks merged.
TextRow rowOf(const std::vector<Glyph>& glyphs) {
    TextRow row;
    for (const Glyph& g : glyphs) {
        row.placeGlyph(g.code, g.x, g.width);
    }
    row.fillGaps();
    row.mergeBlanks();
    return row;
}

RenderSettings settingsWith(bool dots, bool noEntities, bool strict) {
    RenderSettings s;
    s.useDots = dots;
    s.noEntities = noEntities;
    s.strictHalfSpaces = strict;
    return s;
}

// Emits one row with a fresh generator into a buffer of `size` bytes from `cursor` on and returns
// the bytes written.
std::string emit(const TextRow& row, const RenderSettings& settings,
                 std::size_t size = kOutputTextSize, std::size_t cursor = 0) {
    std::vector<char> text(size, '\0');
    const std::size_t start = cursor;
    RandomGenerator random;
    emitRow(row, text, cursor, settings, random);
    return {text.begin() + static_cast<std::ptrdiff_t>(start),
            text.begin() + static_cast<std::ptrdiff_t>(cursor)};
}

TEST(EmitRow, WritesCharactersAndComposedGaps) {
    const RenderSettings defaults;
    const RenderSettings noEntitiesStrict = settingsWith(false, true, true);
    struct Case {
        const char* name;
        std::vector<Glyph> glyphs;
        RenderSettings settings;
        std::string expected;
    };
    const Case cases[] = {
        {"empty row", {}, defaults, kFull + "\r\n"},
        {"double-byte character at 0", {{kSlash, 0, 16}}, defaults, kFull + "\x81\x5E\r\n"},
        {"single-byte character after a gap", {{'!', 16, 4}}, defaults, kFull + kFull + " !\r\n"},
        // The 3-pixel gap is written as nothing (3 short). The 22-pixel gap keeps its own width,
        // so the next gap (12 pixels) absorbs the lag: 15 pixels, 11 + 5.
        {"lag waits for a gap of another width",
         {{'A', 3, 8}, {'A', 33, 8}, {'A', 53, 8}},
         noEntitiesStrict,
         kFull + "A" + kFull + kFull + "A" + kFull + " A\r\n"},
        {"width of a multiple of 16 ignores the lag",
         {{'A', 3, 8}, {'A', 43, 8}},
         noEntitiesStrict,
         kFull + "A" + kFull + " " + kFull + " A\r\n"},
        {"second half-width space becomes &nbsp;",
         {{'A', 12, 8}},
         settingsWith(true, false, true),
         kFull + " &nbsp;&thinsp;A\r\n"},
        {"a dot between half-width spaces does not separate them",
         {{'A', 28, 8}},
         settingsWith(true, false, true),
         kFull + kFull + " .&nbsp;&thinsp;&thinsp;A\r\n"},
        {"without entities half-width spaces stay spaces",
         {{'A', 12, 8}},
         settingsWith(false, true, false),
         kFull + "  A\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(emit(rowOf(c.glyphs), c.settings), c.expected) << c.name;
    }
}

TEST(EmitRow, SkipsWhatDoesNotFitAndKeepsOneByteFree) {
    // Written in full: leading space, 0x815E, "&thinsp;" for the 2-pixel gap, "!", CR LF.
    const TextRow row = rowOf({{kSlash, 0, 16}, {'!', 18, 4}});
    struct Case {
        std::size_t size, cursor;
        std::string expected;
    };
    const Case cases[] = {
        {16, 0, kFull + "\x81\x5E&thinsp;!\r\n"},
        {15, 0, kFull + "\x81\x5E&thinsp;!"},  // the line end needs three free bytes
        {13, 0, kFull + "\x81\x5E&thinsp;"},
        {12, 0, kFull + "\x81\x5E!\r\n"},  // a shorter write after a skipped one still fits
        {10, 7, kFull},                    // three bytes before the end
        {10, 8, "!"},                      // only a single byte still fits
        {10, 12, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(emit(row, RenderSettings{}, c.size, c.cursor), c.expected)
            << "size " << c.size << " cursor " << c.cursor;
    }
}

TEST(EmitRow, RowsFollowEachOtherWithOneLineEndEach) {
    std::vector<char> text(kOutputTextSize, 'x');
    std::size_t cursor = 0;
    RandomGenerator random;
    const RenderSettings defaults;
    const TextRow rows[] = {rowOf({}), rowOf({{kSlash, 5, 16}}), rowOf({{'!', 33, 4}})};
    for (const TextRow& row : rows) {
        emitRow(row, text, cursor, defaults, random);
        text[cursor] = '\0';
    }
    const std::string written(text.data());
    EXPECT_EQ(written,
              kFull + "\r\n" + kFull + " \x81\x5E\r\n" + kFull + kFull + kFull + kFull + "!\r\n");
}

TEST(ApplyUnderscoreRuns, EverySecondAdjacentSpaceBecomesAnUnderscore) {
    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        {"", ""},
        {" ", " "},
        {"  ", " _"},
        {"   ", " _ "},
        {"    ", " _ _"},
        {"a  b   c", "a _b _ c"},
        {"\x81\x40  \x81\x40", "\x81\x40 _\x81\x40"},
        {std::string("  \0  ", 5), std::string(" _\0  ", 5)},  // stops at the NUL
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        applyUnderscoreRuns(text);
        EXPECT_EQ(text, c.after) << '"' << c.before << '"';
    }
}

}  // namespace
}  // namespace penmoji
