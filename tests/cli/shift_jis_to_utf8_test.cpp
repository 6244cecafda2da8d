// SPDX-License-Identifier: MIT
#include "cli/shift_jis_to_utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "render/glyph_table.h"

namespace penmoji::cli {
namespace {

TEST(ShiftJisToUtf8, ConvertsAsTheWindowsCodePage) {
    struct Case {
        std::string shiftJis;
        std::string utf8;
    };
    const Case cases[] = {
        {"\x81\x40", "\u3000"},  // full-width space, the start of every row
        {"<br>&nbsp;_.\r\n", "<br>&nbsp;_.\r\n"},
        {"\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", "ＭＳ Ｐゴシック"},
        {"\xb1\xde", "ｱﾞ"},                      // half-width katakana are single bytes
        {"\x5c\x7e", "\\~"},                     // ASCII, not yen sign and overline
        {"\x81\x5f\x81\x60\x81\x7c", "＼～－"},  // where CP932 and JIS X 0208 mappings differ
        {"\x87\x40", "①"},                       // NEC row 13
        {"\xed\x40", "纊"},                      // NEC-selected IBM extension
        {"\xfa\x40", "ⅰ"},                       // IBM extension
        {std::string("\x81\x40\0", 3), std::string("\u3000\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const Conversion result = shiftJisToUtf8(c.shiftJis);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.text, c.utf8);
    }
}

// Whatever the renderer places must reach a UTF-8 terminal.
TEST(ShiftJisToUtf8, EveryGlyphConvertsToOneCharacter) {
    for (const GlyphShape& glyph : glyphTable()) {
        std::string bytes;
        if (glyph.code > 0xFF) {
            bytes.push_back(static_cast<char>(glyph.code >> 8));
        }
        bytes.push_back(static_cast<char>(glyph.code & 0xFF));
        const Conversion result = shiftJisToUtf8(bytes);
        ASSERT_TRUE(result.ok) << std::hex << glyph.code << ": " << result.error;
        const auto continuation = [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        };
        EXPECT_FALSE(result.text.empty() || continuation(result.text.front()))
            << std::hex << glyph.code;
        EXPECT_EQ(std::count_if(result.text.begin(), result.text.end(), continuation) + 1,
                  static_cast<std::ptrdiff_t>(result.text.size()))
            << std::hex << glyph.code;
    }
}

TEST(ShiftJisToUtf8, BrokenSequencesFailWithTheirOffset) {
    struct Case {
        std::string shiftJis;
        std::string error;
    };
    const Case cases[] = {
        {"ab\x81", "incomplete Shift_JIS sequence at byte 2"},
        {"\x81\x40\x80", "invalid Shift_JIS sequence at byte 2"},
        {"a\x81\x20", "invalid Shift_JIS sequence at byte 1"},
        {"\xfd", "invalid Shift_JIS sequence at byte 0"},
    };
    for (const Case& c : cases) {
        const Conversion result = shiftJisToUtf8(c.shiftJis);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.text, "");
    }
}

// Written in pieces of any size, over more than one block, the text converts as a whole;
// a character split between two writes stays whole.
TEST(Utf8ConvertingBuffer, PiecesConvertAsTheWhole) {
    std::string text;
    while (text.size() < 200'000) {
        text += "\x81\x40\x82\xa0 .&nbsp;\x87\x40\xb1\r\n";
    }
    const Conversion whole = shiftJisToUtf8(text);
    ASSERT_TRUE(whole.ok) << whole.error;
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{65'537}}) {
        SCOPED_TRACE(piece);
        std::ostringstream out;
        Utf8ConvertingBuffer converter(out);
        std::ostream in(&converter);
        for (std::size_t at = 0; at < text.size(); at += piece) {
            in << std::string_view(text).substr(at, piece);
        }
        EXPECT_TRUE(converter.finish()) << converter.error();
        EXPECT_TRUE(out.str() == whole.text);
    }
    // An error far into the text names its offset in the whole text.
    const Conversion broken = shiftJisToUtf8(text + "\x80");
    EXPECT_EQ(broken.error, "invalid Shift_JIS sequence at byte " + std::to_string(text.size()));
}

}  // namespace
}  // namespace penmoji::cli
