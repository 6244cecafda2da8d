#include "compose/trimmed_drawing.h"

#include <gtest/gtest.h>

#include <string>

namespace penmoji {
namespace {

std::string withNul(const char* text) {
    return std::string(text) + '\0';
}

TEST(TrimmedRowsTest, EmptyRowsGoAtBothEndsAndOneRowStays) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        // Art between empty rows, as a trimmed rendering ends.
        {withNul("\x81\x40\r\n\x81\x40/\r\n\x81\x40\\\r\n\x81\x40\r\n\x81\x40\r\n"),
         withNul("\x81\x40/\r\n\x81\x40\\\r\n")},
        // An empty row inside the art stays.
        {withNul("\x81\x40/\r\n\x81\x40\r\n\x81\x40\\\r\n\x81\x40\r\n"),
         withNul("\x81\x40/\r\n\x81\x40\r\n\x81\x40\\\r\n")},
        // Without the NUL, as the clipboard has it.
        {"\x81\x40/\r\n\x81\x40\r\n", "\x81\x40/\r\n"},
        // A row that holds more than the space is not empty.
        {withNul("\x81\x40/\r\n\x81\x40 \r\n"), withNul("\x81\x40/\r\n\x81\x40 \r\n")},
        // An empty drawing is one empty row.
        {withNul("\x81\x40\r\n"), withNul("\x81\x40\r\n")},
        {withNul("\x81\x40\r\n\x81\x40\r\n\x81\x40\r\n"), withNul("\x81\x40\r\n")},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        dropEmptyRows(text);
        EXPECT_EQ(text, c.expected) << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace penmoji
