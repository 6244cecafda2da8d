// SPDX-License-Identifier: MIT
#include "compose/trimmed_text_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "compose/trimmed_drawing.h"

namespace penmoji {
namespace {

// The streamed trim gives what the trim of the whole text gives, however the text is cut into
// pieces on its way.
TEST(EmptyRowsDropperTest, GivesWhatTheWholeTextsTrimGives) {
    const std::string empty = "\x81\x40\r\n";
    const std::string art = "\x81\x40\x83\x41\r\n";
    const std::string texts[] = {
        "",
        empty,
        empty + empty,
        empty + empty + art + empty + art,
        empty + "\x81\x40",                      // a last row without a line break
        empty + empty + "\x81\x40\x81\x40\r\n",  // two spaces are not an empty row
        art + empty,
        art + empty + empty,
        empty + art + empty + art + empty + empty,
        art + empty + "\x81\x40",  // the empty row before a last row without a break stays
        "\r\n" + art,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        std::string expected = text;
        dropEmptyRows(expected);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, text.size() + 1}) {
            std::ostringstream out;
            EmptyRowsDropper dropper(out);
            std::ostream in(&dropper);
            for (std::size_t at = 0; at < text.size(); at += piece) {
                in << text.substr(at, piece);
            }
            ASSERT_TRUE(dropper.finish());
            EXPECT_EQ(out.str(), expected) << "in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace penmoji
