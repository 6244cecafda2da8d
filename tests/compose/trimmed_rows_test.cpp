// SPDX-License-Identifier: MIT
#include "compose/trimmed_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>

#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/render_settings.h"

namespace penmoji {
namespace {

std::string withNul(const char* text) {
    return std::string(text) + '\0';
}

TEST(TrimmedRowsTest, EmptyRowsGoAtBothEndsAndOneRowStays) {
    struct Case {
        std::string text;
        std::string expected;
        int droppedAtStart;
    };
    const Case cases[] = {
        // Art between empty rows, as a trimmed rendering ends.
        {withNul("\x81\x40\r\n\x81\x40/\r\n\x81\x40\\\r\n\x81\x40\r\n\x81\x40\r\n"),
         withNul("\x81\x40/\r\n\x81\x40\\\r\n"), 1},
        // An empty row inside the art stays.
        {withNul("\x81\x40/\r\n\x81\x40\r\n\x81\x40\\\r\n\x81\x40\r\n"),
         withNul("\x81\x40/\r\n\x81\x40\r\n\x81\x40\\\r\n"), 0},
        // Without the NUL, as the clipboard has it.
        {"\x81\x40/\r\n\x81\x40\r\n", "\x81\x40/\r\n", 0},
        // A row that holds more than the space is not empty.
        {withNul("\x81\x40/\r\n\x81\x40 \r\n"), withNul("\x81\x40/\r\n\x81\x40 \r\n"), 0},
        // An empty drawing is one empty row.
        {withNul("\x81\x40\r\n"), withNul("\x81\x40\r\n"), 0},
        {withNul("\x81\x40\r\n\x81\x40\r\n\x81\x40\r\n"), withNul("\x81\x40\r\n"), 2},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(dropEmptyRows(text), c.droppedAtStart) << testing::PrintToString(c.text);
        EXPECT_EQ(text, c.expected) << testing::PrintToString(c.text);
    }
}

// A picture of trimmed art paints the drawing under it: moved as the art was, the drawing
// renders to that same art, in both matching modes.
TEST(TrimmedRowsTest, TheDrawingUnderTrimmedArtRendersToThatArt) {
    auto drawing = std::make_unique<VectorSet>();
    const Point box[] = {{420, 300}, {610, 300}, {610, 390}, {420, 390}, {420, 300}};
    drawing->lines[0].count = 5;
    std::copy(std::begin(box), std::end(box), drawing->lines[0].points.begin());
    drawing->lines[1].count = 2;
    drawing->lines[1].points[0] = {430, 310};
    drawing->lines[1].points[1] = {600, 380};
    for (const bool fine : {false, true}) {
        SCOPED_TRACE(fine ? "fine" : "default");
        RenderSettings settings;
        settings.fine = fine;
        const auto render = [&](const VectorSet& vectors, const PlacedText& placed) {
            RandomGenerator random;
            NoProgress quiet;
            return *renderText(vectors, settings, random, quiet, placed);
        };
        // One piece inside the box, one left of and above the drawing, which holds the move back.
        const PlacedText placed = {{500, 350, {{0x815E, 0x82A0}}}, {300, 250, {{0x815F}}}};
        for (const PlacedText& pieces : {PlacedText{}, placed}) {
            SCOPED_TRACE(pieces.size());
            const auto moved =
                std::make_unique<VectorSet>(trimmedDrawing(*drawing, settings, pieces));
            const PlacedText movedPieces = trimmedPlacedText(*drawing, settings, pieces);
            const Point by{box[0].x - moved->lines[0].points[0].x,
                           box[0].y - moved->lines[0].points[0].y};
            EXPECT_EQ(by.y % 16, 0);
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                EXPECT_EQ(movedPieces[i].x, pieces[i].x - by.x);
                EXPECT_EQ(movedPieces[i].y, pieces[i].y - by.y);
                EXPECT_GE(movedPieces[i].x, 0);
                EXPECT_GE(movedPieces[i].y, 0);
            }
            const RenderResult art = render(*moved, movedPieces);
            EXPECT_TRUE(art.inexactPieces.empty());
            std::string trimmed = art.text;
            const int dropped = dropEmptyRows(trimmed);
            ASSERT_GT(dropped, 0);
            const auto under = std::make_unique<VectorSet>(
                drawingUnderTrimmedArt(*drawing, settings, dropped, pieces));
            PlacedText piecesUnder = movedPieces;
            for (PlacedPiece& piece : piecesUnder) {
                piece.y -= 16 * dropped;
            }
            std::string again = render(*under, piecesUnder).text;
            dropEmptyRows(again);
            EXPECT_EQ(again, trimmed);
        }
    }
}

}  // namespace
}  // namespace penmoji
