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
        const auto render = [&](const VectorSet& vectors) {
            RandomGenerator random;
            NoProgress quiet;
            return renderText(vectors, settings, random, quiet)->text;
        };
        std::string trimmed = render(trimmedDrawing(*drawing, settings));
        const int dropped = dropEmptyRows(trimmed);
        ASSERT_GT(dropped, 0);
        const auto under =
            std::make_unique<VectorSet>(drawingUnderTrimmedArt(*drawing, settings, dropped));
        std::string again = render(*under);
        dropEmptyRows(again);
        EXPECT_EQ(again, trimmed);
    }
}

}  // namespace
}  // namespace penmoji
