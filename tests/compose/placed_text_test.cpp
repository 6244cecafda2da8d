// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compose/font_widths.h"
#include "compose/placed_text_layout.h"
#include "compose/placed_text_rows.h"
#include "compose/render_driver.h"
#include "compose/streamed_rendering.h"
#include "compose/text_art_reading.h"
#include "compose/unicode_blanks.h"
#include "render/glyph_table.h"

namespace penmoji {
namespace {

using Rows = std::vector<std::vector<std::int32_t>>;

TEST(FontWidthsTest, GlyphTableAndBlanksAtTheirWidthsUnassignedCodesNone) {
    for (const GlyphShape& glyph : glyphTable()) {
        EXPECT_EQ(characterWidth(glyph.code), glyph.width / 16) << std::hex << glyph.code;
    }
    const struct {
        std::int32_t code;
        std::optional<std::int32_t> width;
    } cases[] = {
        {0x20, 5},    {0x8140, 11},  {0x82A0, 15}, {0x889F, 16},  // space, full space, あ, 亜
        {0x09, {}},   {0x7F, {}},    {0x80, {}},   {0x8540, {}},  // controls, an unassigned row
        {0xFFF0, {}}, {0x10000, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(characterWidth(c.code), c.width) << std::hex << c.code;
    }
}

TEST(TextArtReadingTest, RowsAsBoardsAndEditorsGiveThem) {
    const std::int32_t kFull = 0x8140;
    const struct {
        const char* name;
        std::string text;
        Rows rows;
    } cases[] = {
        {"line ends of every kind", "a\r\nb\nc\rd", {{'a'}, {'b'}, {'c'}, {'d'}}},
        {"double-byte characters", "\x81\x5E\x83\xD6", {{0x815E, 0x83D6}}},
        {"entities",
         "w&nbsp;x&ensp;y&thinsp;z&amp;&lt;&gt;&quot;&copy;",
         {{'w', kPlacedNbspCode, 'x', kPlacedEnSpaceCode, 'y', kPlacedThinSpaceCode, 'z', '&', '<',
           '>', '"', '&', 'c', 'o', 'p', 'y', ';'}}},
        {"blanks at row ends and empty edge rows",
         "\r\n\r\n a \x81\x40\r\n\r\nb  \r\n\r\n",
         {{' ', 'a'}, {}, {'b'}}},
        {"a rendering's leading full-width spaces",
         "\x81\x40\x81\x40/\r\n\x81\x40\\\r\n\r\n\x81\x40\x81\x40\x81\x40|",
         {{kFull, '/'}, {'\\'}, {}, {kFull, kFull, '|'}}},
        {"different leading blanks stay",
         " a\r\n\x81\x40"
         "b",
         {{' ', 'a'}, {kFull, 'b'}}},
        {"one row's leading blanks go", "&nbsp;\x81\x40 a b", {{'a', ' ', 'b'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TextArtReading reading = readTextArt(c.text);
        EXPECT_TRUE(reading.ok()) << reading.error;
        EXPECT_EQ(reading.rows, c.rows);
    }
}

TEST(TextArtReadingTest, UnicodeBlanksOfAPageBecomeEntitiesAndBack) {
    const std::string page =
        "a\xC2\xA0"
        "b\xE2\x80\x82\xE2\x80\x89\xE3\x81\x82"
        "&amp;";
    const std::string entities =
        "a&nbsp;b&ensp;&thinsp;\xE3\x81\x82"
        "&amp;";
    EXPECT_EQ(unicodeBlanksAsEntities(page), entities);
    EXPECT_EQ(replaceEntityBlanks(entities), page);
}

TEST(TextArtReadingTest, WhatIsNoCharacterIsNamedAtItsPlace) {
    const struct {
        std::string text;
        int row;
        int column;
        const char* reason;
    } cases[] = {
        {"ab\r\nc\td", 2, 2, "0x09 is no character"},
        {"a\x81\x40\x85\x40", 1, 3, "0x8540 is no character"},
        {"ok\r\nx\x82", 2, 2, "inside a double-byte character"},
        {" \r\n\x81\x40&nbsp;", 0, 0, "holds no character"},
        {"", 0, 0, "holds no character"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TextArtReading reading = readTextArt(c.text);
        EXPECT_NE(reading.error.find(c.reason), std::string::npos) << reading.error;
        EXPECT_EQ(reading.errorRow, c.row);
        EXPECT_EQ(reading.errorColumn, c.column);
        EXPECT_TRUE(reading.rows.empty());
    }
}

TEST(PlacedTextLayoutTest, EveryCharacterAtThePixelItsRowGivesIt) {
    // "(＾ω＾)" over "&ensp;／ ＼", placed at (40, 33): rows 2 and 3 of the canvas. Its blanks
    // hold their room too.
    const PlacedPiece face{
        40, 33, {{'(', 0x814F, 0x83D6, 0x814F, ')'}, {kPlacedEnSpaceCode, 0x815E, ' ', 0x815F}}};
    const std::int32_t paren = *characterWidth('(');
    const std::int32_t hat = *characterWidth(0x814F);
    const std::int32_t omega = *characterWidth(0x83D6);
    const std::int32_t slash = *characterWidth(0x815E);
    const std::vector<PlacedCharacter> expected = {
        {2, {true, 40, paren, '('}},
        {2, {true, 40 + paren, hat, 0x814F}},
        {2, {true, 40 + paren + hat, omega, 0x83D6}},
        {2, {true, 40 + paren + hat + omega, hat, 0x814F}},
        {2, {true, 40 + paren + 2 * hat + omega, paren, ')'}},
        {3, {true, 40, 8, kPlacedEnSpaceCode}},
        {3, {true, 48, slash, 0x815E}},
        {3, {true, 48 + slash, 5, ' '}},
        {3, {true, 48 + slash + 5, *characterWidth(0x815F), 0x815F}},
    };
    EXPECT_EQ(layOutPlacedText({face}), expected);
}

TEST(PlacedTextLayoutTest, LaterPieceReplacesWhatItOverlapsAndRowsAboveTheCanvasCount) {
    const PlacedText text = {
        PlacedPiece{0, 0, {{'a', 'b', 'c'}}},
        PlacedPiece{*characterWidth('a') + 1, 15, {{0x815E}}},  // over 'b' and 'c', row 0
        PlacedPiece{3, -1, {{'z'}}},
    };
    const std::vector<PlacedCharacter> placed = layOutPlacedText(text);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].row, -1);
    EXPECT_EQ(placed[1].cell.code, 'a');
    EXPECT_EQ(placed[2].cell.code, 0x815E);
    const std::pair<std::int32_t, std::int32_t> rowOfPixel[] = {
        {0, 0}, {1, 0}, {16, 0}, {17, 1}, {-1, -1}, {-15, -1}, {-16, -2}};
    for (const auto& [y, row] : rowOfPixel) {
        EXPECT_EQ(rowHolding(y), row) << y;
    }
}

class RowRecorder final : public RowSink {
public:
    void takeRow(const TextRow& row) override {
        rows.emplace_back(row.usedCells().begin(), row.usedCells().end());
    }
    std::vector<std::vector<RowCell>> rows;
};

TextRow rowOf(std::initializer_list<RowCell> characters) {
    TextRow row;
    for (const RowCell& c : characters) {
        row.placeGlyph(c.code, c.x, c.width);
    }
    row.fillGaps();
    row.mergeBlanks();
    return row;
}

TEST(PlacedTextInserterTest, PlacedCharactersTakeTheirCellsAndRowsBelowTheArtFollow) {
    const std::vector<PlacedCharacter> placed = {
        {-1, {true, 5, 8, 'A'}},      // above the canvas
        {1, {true, 20, 16, 0x815E}},  // over 'b', beside 'a'
        {1, {true, 60, 8, 'C'}},      // past the rendered ones
        {3, {true, 4, 8, 'D'}},       // below the rendering
    };
    const TextRow rendered0 = rowOf({{true, 2, 8, 'x'}});
    const TextRow rendered1 = rowOf({{true, 10, 10, 'a'}, {true, 30, 10, 'b'}, {true, 40, 3, 'c'}});
    RowRecorder recorder;
    PlacedTextInserter inserter(placed, recorder);
    inserter.takeRow(rendered0);
    inserter.takeRow(rendered1);
    inserter.finish();

    const std::vector<std::vector<RowCell>> expected = {
        {{true, 0, 2, GapCode}, {true, 2, 8, 'x'}},
        {{true, 0, 10, GapCode},
         {true, 10, 10, 'a'},
         {true, 20, 16, 0x815E},
         {true, 36, 4, GapCode},
         {true, 40, 3, 'c'},
         {true, 43, 17, GapCode},
         {true, 60, 8, 'C'}},
        {},
        {{true, 0, 4, GapCode}, {true, 4, 8, 'D'}},
    };
    EXPECT_EQ(recorder.rows, expected);
    EXPECT_EQ(inserter.unshownCount(), 1u);
}

// A level stroke through rows 0 and 1 and a piece over it in row 1 and below the drawing: the
// placed characters sit where they were put in both modes, rendered ones never overlap them, and
// streaming gives the same text.
TEST(PlacedTextRenderingTest, PiecesLandOnTheirPixelsInBothModes) {
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[0].count = 2;
    vectors->lines[0].points[0] = {0, 20};
    vectors->lines[0].points[1] = {300, 20};
    vectors->lines[1].count = 2;
    vectors->lines[1].points[0] = {0, 8};
    vectors->lines[1].points[1] = {300, 8};
    const PlacedText placed = {PlacedPiece{37, 17, {{'(', 0x83D6, ')'}, {}, {}, {0x8140, 'A'}}}};
    const std::vector<PlacedCharacter> characters = layOutPlacedText(placed);
    for (bool fine : {false, true}) {
        SCOPED_TRACE(fine ? "fine" : "default");
        RenderSettings settings;
        settings.fine = fine;
        RandomGenerator random;
        NoProgress progress;
        const std::optional<RenderResult> plain = renderText(*vectors, settings, random, progress);
        RandomGenerator placedRandom;
        const std::optional<RenderResult> result =
            renderText(*vectors, settings, placedRandom, progress, placed);
        ASSERT_TRUE(plain && result);
        for (const PlacedCharacter& c : characters) {
            const PlacedGlyph expected{c.cell.x, 1 + 16 * c.row, c.cell.code};
            // The full-width space before 'A' is not a glyph; it only keeps its room free.
            EXPECT_TRUE(isBlankCode(c.cell.code) ||
                        std::find(result->glyphs.begin(), result->glyphs.end(), expected) !=
                            result->glyphs.end())
                << c.cell.code;
            for (const PlacedGlyph& g : result->glyphs) {
                const bool same = g == expected;
                const bool overlapping = g.top == expected.top && g.x < c.cell.x + c.cell.width &&
                                         c.cell.x < g.x + *characterWidth(g.code);
                EXPECT_TRUE(same || !overlapping) << g.x << " over " << c.cell.x;
            }
        }
        EXPECT_EQ(std::count(result->text.begin(), result->text.end(), '\n'), 5);
        EXPECT_EQ(std::count(plain->text.begin(), plain->text.end(), '\n'), 3);

        RandomGenerator streamedRandom;
        std::ostringstream streamed;
        GlyphBoxList boxes;
        EXPECT_EQ(
            renderTextTo(*vectors, settings, streamedRandom, progress, streamed, boxes, placed),
            RenderEnd::Complete);
        EXPECT_EQ(streamed.str(), result->text);
    }
}

// A character of a written text where a viewer shows it: its row from 0, pixel, width and code.
struct WrittenCharacter {
    std::int32_t row;
    std::int32_t x;
    std::int32_t width;
    std::int32_t code;
};

// Reads the written text back: each row's leading full-width space set aside, blanks and
// entities as their widths, every character at the pixel the text before it reaches.
std::vector<WrittenCharacter> writtenCharacters(std::string_view text) {
    std::vector<WrittenCharacter> out;
    std::int32_t row = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
         end = text.find("\r\n"), ++row) {
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        EXPECT_TRUE(line.starts_with("\x81\x40"));
        line.remove_prefix(2);
        std::int32_t x = 0;
        while (!line.empty()) {
            const struct {
                std::string_view entity;
                std::int32_t width;
            } entities[] = {{"&ensp;", 8}, {"&nbsp;", 5}, {"&thinsp;", 2}};
            const auto entity = std::ranges::find_if(
                entities, [&](const auto& e) { return line.starts_with(e.entity); });
            if (entity != std::end(entities)) {
                x += entity->width;
                line.remove_prefix(entity->entity.size());
                continue;
            }
            const auto lead = static_cast<unsigned char>(line[0]);
            const bool doubleByte = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0;
            const std::int32_t code =
                doubleByte ? lead * 256 + static_cast<unsigned char>(line[1]) : lead;
            line.remove_prefix(doubleByte ? 2 : 1);
            const std::int32_t width = characterWidth(code).value_or(0);
            if (!isBlankCode(code) && code != '_' && code != '.') {
                out.push_back({row, x, width, code});
            }
            x += width;
        }
    }
    return out;
}

std::unique_ptr<VectorSet> drawingOf(std::initializer_list<std::array<Point, 2>> lines) {
    auto vectors = std::make_unique<VectorSet>();
    std::size_t slot = 0;
    for (const auto& [from, to] : lines) {
        vectors->lines[slot].count = 2;
        vectors->lines[slot].points = {from, to};
        ++slot;
    }
    return vectors;
}

// The drawing's text in either mode with `placed` on it, the settings otherwise the default.
std::optional<RenderResult> renderedWith(const VectorSet& vectors, bool fine,
                                         const PlacedText& placed) {
    RenderSettings settings;
    settings.fine = fine;
    RandomGenerator random;
    NoProgress progress;
    return renderText(vectors, settings, random, progress, placed);
}

// Lines through rows 0 to 3 that both matchers cover with characters of their own.
std::unique_ptr<VectorSet> busyDrawing() {
    return drawingOf({{Point{0, 10}, Point{400, 10}},
                      {Point{0, 24}, Point{400, 24}},
                      {Point{10, 0}, Point{200, 60}},
                      {Point{150, 0}, Point{150, 60}},
                      {Point{300, 60}, Point{380, 0}}});
}

// Pieces of every kind over lines: read back from the written text, every placed character is
// on its pixel and no other character overlaps it, in both modes, and no piece is reported off.
TEST(PlacedTextRenderingTest, EveryKindOfPieceIsWrittenOnItsPixelsWithNothingOverIt) {
    const auto vectors = busyDrawing();
    const struct {
        const char* name;
        PlacedText placed;
    } cases[] = {
        {"table characters", {{33, 9, {{0x815E, 0x815F, '|', 0x8150}, {0x8151, 0x815E}}}}},
        {"other characters", {{61, 20, {{0x82A0, 0x889F, 0xB1, 'A'}}}}},
        {"entity blanks between",
         {{7,
           30,
           {{'(', kPlacedEnSpaceCode, 0x83D6, kPlacedThinSpaceCode, ')'},
            {kPlacedNbspCode, 0x8140, kPlacedThinSpaceCode, 0x815E}}}}},
        {"rows past the drawing", {{90, 120, {{0x82A0}, {}, {0x815E, 0x815F}}}}},
        {"past the right edge", {{380, 20, {std::vector<std::int32_t>(40, 0x815E)}}}},
        {"pieces side by side",
         {{40, 17, {{0x815E}}}, {40 + 16, 17, {{0x815F}}}, {200, 3, {{'|'}}}}},
    };
    for (const auto& c : cases) {
        for (bool fine : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (fine ? ", fine" : ", default"));
            const std::optional<RenderResult> result = renderedWith(*vectors, fine, c.placed);
            ASSERT_TRUE(result);
            EXPECT_TRUE(result->inexactPieces.empty());
            const std::vector<WrittenCharacter> written = writtenCharacters(result->text);
            for (const PlacedCharacter& p : layOutPlacedText(c.placed)) {
                // A placed blank is written as part of a blank run: only its room is checked.
                const bool blank = isBlankCode(p.cell.code);
                const auto onPixel = std::ranges::find_if(written, [&](const WrittenCharacter& w) {
                    return w.row == p.row && w.x == p.cell.x && w.code == p.cell.code;
                });
                EXPECT_TRUE(blank || onPixel != written.end()) << std::hex << p.cell.code;
                for (const WrittenCharacter& w : written) {
                    const bool overlapping =
                        w.row == p.row && w.x < p.cell.x + p.cell.width && p.cell.x < w.x + w.width;
                    const bool itself = onPixel != written.end() && &w == &*onPixel;
                    EXPECT_TRUE(itself || !overlapping)
                        << std::hex << w.code << std::dec << " at " << w.x << " over " << p.cell.x;
                }
            }
        }
    }
}

// A character deleted by hand is a piece of blanks of its width: nothing is rendered in its room,
// though the line under it would draw a character there.
TEST(PlacedTextRenderingTest, PlacedBlanksKeepTheirRoomFree) {
    const auto vectors = busyDrawing();  // an upright line at x = 150 through rows 0 to 3
    const PlacedText placed = {{145, 20, {{0x8140}}}, {147, 40, {{kPlacedEnSpaceCode}}}};
    const struct { std::int32_t row, from, to; } rooms[] = {{1, 145, 156}, {2, 147, 155}};
    for (bool fine : {false, true}) {
        SCOPED_TRACE(fine ? "fine" : "default");
        const std::optional<RenderResult> result = renderedWith(*vectors, fine, placed);
        ASSERT_TRUE(result);
        EXPECT_TRUE(result->inexactPieces.empty());
        for (const WrittenCharacter& w : writtenCharacters(result->text)) {
            for (const auto& room : rooms) {
                EXPECT_FALSE(w.row == room.row && w.x < room.to && room.from < w.x + w.width)
                    << std::hex << w.code << std::dec << " at " << w.x;
            }
        }
    }
}

// A character that cannot be written on its pixel is reported by its piece, never dropped
// silently: a one-pixel gap no blank run makes, a place left of or above the canvas.
TEST(PlacedTextRenderingTest, PiecesOffTheirPixelsAreReported) {
    const auto vectors = busyDrawing();
    const std::int32_t a = *characterWidth('a');
    const struct {
        const char* name;
        PlacedText placed;
        std::vector<std::size_t> inexact;
    } cases[] = {
        {"one-pixel gap", {{20, 300, {{'a'}}}, {20 + a + 1, 300, {{'a'}}}}, {1}},
        {"left of the canvas", {{30, 300, {{'a'}}}, {-3, 300, {{'a', 'b'}}}}, {1}},
        {"above the canvas", {{-5, -20, {{'a'}}}, {30, 33, {{'a'}}}}, {0}},
    };
    for (const auto& c : cases) {
        for (bool fine : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (fine ? ", fine" : ", default"));
            const std::optional<RenderResult> result = renderedWith(*vectors, fine, c.placed);
            ASSERT_TRUE(result);
            EXPECT_EQ(result->inexactPieces, c.inexact);
            std::vector<std::size_t> streamedInexact;
            std::ostringstream streamed;
            GlyphBoxList boxes;
            RenderSettings settings;
            settings.fine = fine;
            RandomGenerator streamedRandom;
            NoProgress progress;
            renderTextTo(*vectors, settings, streamedRandom, progress, streamed, boxes, c.placed,
                         &streamedInexact);
            EXPECT_EQ(streamedInexact, c.inexact);
        }
    }
}

}  // namespace
}  // namespace penmoji
