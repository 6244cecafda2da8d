// SPDX-License-Identifier: MIT
#include "cli/glyph_table_json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace penmoji::cli {
namespace {

// The groups are what the render pass relies on, so they say how many strokes are real.
TEST(GlyphTableJson, UsedSegmentsMatchTheGlyphsGroup) {
    for (int k = 1; k <= 4; ++k) {
        for (const GlyphShape& glyph : glyphGroup(k)) {
            EXPECT_EQ(usedSegments(glyph).size(), static_cast<std::size_t>(k))
                << std::hex << glyph.code;
        }
    }
}

TEST(GlyphTableJson, OneEntryPerLineInTableOrder) {
    std::ostringstream out;
    writeGlyphTableJson(out);
    std::istringstream in(out.str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    const auto table = glyphTable();
    ASSERT_EQ(lines.size(), table.size() + 2);
    EXPECT_EQ(lines.front(), "[");
    EXPECT_EQ(lines.back(), "]");
    EXPECT_EQ(lines[1],
              R"(  {"code": 33, "width": 64, "priority": -1, "segments": [[11, 0, 11, 256]]},)");
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string& line = lines[i + 1];
        SCOPED_TRACE(line);
        EXPECT_TRUE(line.starts_with("  {\"code\": " + std::to_string(table[i].code) + ", "));
        EXPECT_EQ(line.ends_with("]]},"), i + 1 < table.size());
        // Every stroke is one bracketed group of four numbers.
        const auto brackets = std::count(line.begin(), line.end(), '[');
        EXPECT_EQ(static_cast<std::size_t>(brackets), 1 + usedSegments(table[i]).size());
    }
}

}  // namespace
}  // namespace penmoji::cli
