// SPDX-License-Identifier: MIT
#include "render/glyph_table.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <vector>

namespace penmoji {
namespace {

constexpr std::array<std::size_t, 4> kGroupSizes = {51, 87, 49, 10};

bool sameSegment(const GlyphSegment& a, const GlyphSegment& b) {
    return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
}

TEST(GlyphTable, GroupsHoldTheirEntriesAndTheTableIsTheirSequence) {
    EXPECT_TRUE(glyphGroup(0).empty());
    EXPECT_TRUE(glyphGroup(5).empty());
    EXPECT_TRUE(glyphGroup(-1).empty());

    const std::span<const GlyphShape> all = glyphTable();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kGlyphCount));
    std::size_t at = 0;
    for (int k = 1; k <= 4; ++k) {
        const std::span<const GlyphShape> group = glyphGroup(k);
        ASSERT_EQ(group.size(), kGroupSizes[static_cast<std::size_t>(k - 1)]) << k;
        for (const GlyphShape& glyph : group) {
            EXPECT_EQ(&glyph, &all[at++]) << "group " << k;
        }
    }
}

TEST(GlyphTable, CodesAscendWithinGroupsAppearOnceAndAreNeverBlanks) {
    const std::set<std::int32_t> blanks = {0x20, 0x8140, 0xFFF0, 0xFFF1, 0xFFF2, 0xFFF3, 0xFFF4};
    std::set<std::int32_t> seen;
    for (int k = 1; k <= 4; ++k) {
        std::int32_t previous = -1;
        for (const GlyphShape& glyph : glyphGroup(k)) {
            EXPECT_GT(glyph.code, previous) << "group " << k;
            previous = glyph.code;
            EXPECT_TRUE(seen.insert(glyph.code).second) << std::hex << glyph.code;
            EXPECT_FALSE(blanks.contains(glyph.code)) << std::hex << glyph.code;
        }
    }
}

TEST(GlyphTable, WidthsAndPrioritiesStayInRange) {
    for (const GlyphShape& glyph : glyphTable()) {
        SCOPED_TRACE(testing::Message() << std::hex << glyph.code);
        EXPECT_EQ(glyph.width % 16, 0);
        EXPECT_GE(glyph.width, 48);
        EXPECT_LE(glyph.width, 256);
        EXPECT_GE(glyph.priority, -2);
        EXPECT_LE(glyph.priority, 3);
    }
}

// Used slots hold distinct strokes of some length inside the box; the rest stay zero.
TEST(GlyphTable, StrokesLieInTheBoxAndUnusedSlotsAreZero) {
    for (int k = 1; k <= 4; ++k) {
        for (const GlyphShape& glyph : glyphGroup(k)) {
            SCOPED_TRACE(testing::Message() << std::hex << glyph.code);
            for (std::size_t slot = 0; slot < glyph.segments.size(); ++slot) {
                const GlyphSegment& s = glyph.segments[slot];
                if (slot >= static_cast<std::size_t>(k)) {
                    EXPECT_TRUE(sameSegment(s, GlyphSegment{})) << "slot " << slot;
                    continue;
                }
                for (const std::int32_t x : {s.x0, s.x1}) {
                    EXPECT_TRUE(x >= 0 && x <= glyph.width) << "slot " << slot << " x " << x;
                }
                for (const std::int32_t y : {s.y0, s.y1}) {
                    EXPECT_TRUE(y >= 0 && y <= kGlyphBoxHeight) << "slot " << slot << " y " << y;
                }
                EXPECT_FALSE(s.x0 == s.x1 && s.y0 == s.y1) << "slot " << slot;
                for (std::size_t other = 0; other < slot; ++other) {
                    EXPECT_FALSE(sameSegment(s, glyph.segments[other]))
                        << "slots " << other << " and " << slot;
                }
            }
        }
    }
}

// These twelve entries came with their strokes; the rest of the table is traced to match
// them, so they must stay exactly as given.
TEST(GlyphTable, ReferenceEntriesAreExact) {
    struct Reference {
        int group;
        GlyphShape shape;
    };
    const std::vector<Reference> references = {
        {1, {0x0021, 64, -1, {{{11, 0, 11, 256}}}}},
        {1, {0x005F, 80, 0, {{{80, 246, 0, 247}}}}},
        {1, {0x815E, 256, 3, {{{240, 0, 0, 240}}}}},
        {1, {0x8162, 256, 0, {{{121, 0, 121, 256}}}}},
        {1, {0x8141, 176, 0, {{{0, 184, 83, 256}}}}},
        {1, {0x8152, 192, 1, {{{38, 27, 151, 228}}}}},
        {1, {0x815B, 240, 0, {{{0, 98, 240, 120}}}}},
        {2, {0x00C9, 128, 0, {{{95, 0, 68, 154}, {57, 156, 0, 218}}}}},
        {2, {0x817B, 256, 0, {{{256, 122, 0, 123}, {121, 0, 122, 256}}}}},
        {2, {0x84A1, 256, 0, {{{123, 121, 123, 256}, {256, 120, 126, 123}}}}},
        {3, {0x8352, 208, 0, {{{0, 74, 208, 74}, {0, 203, 208, 205}, {173, 33, 170, 247}}}}},
        {4,
         {0x826C,
          240,
          0,
          {{{27, 0, 27, 256}, {0, 29, 139, 256}, {240, 0, 89, 256}, {203, 0, 205, 256}}}}},
    };
    for (const Reference& expected : references) {
        SCOPED_TRACE(testing::Message() << std::hex << expected.shape.code);
        const GlyphShape* found = nullptr;
        for (const GlyphShape& glyph : glyphGroup(expected.group)) {
            if (glyph.code == expected.shape.code) {
                found = &glyph;
            }
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->width, expected.shape.width);
        EXPECT_EQ(found->priority, expected.shape.priority);
        for (std::size_t slot = 0; slot < found->segments.size(); ++slot) {
            EXPECT_TRUE(sameSegment(found->segments[slot], expected.shape.segments[slot]))
                << "slot " << slot;
        }
    }
}

}  // namespace
}  // namespace penmoji
