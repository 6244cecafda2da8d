// SPDX-License-Identifier: MIT
// The fine mode's text is valid for the same writers as the default mode's, under every
// combination of the blank settings, and puts every character on the pixel it was placed at.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>

#include "compose/exact_gaps.h"
#include "compose/render_driver.h"
#include "drawing_fixtures.h"
#include "render/fine_glyph_bitmaps.h"

namespace penmoji {
namespace {

struct Blank {
    std::string_view bytes;
    int width;
    bool entity;
};

constexpr Blank kBlanks[] = {
    {"\x81\x40", 11, false}, {"&ensp;", 8, true}, {"&nbsp;", 5, true},
    {"&thinsp;", 2, true},   {" ", 5, false},
};

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::map<int, int> fineWidths() {
    std::map<int, int> widths;
    for (const FineGlyph& glyph : fineGlyphs()) {
        widths.emplace(glyph.code, glyph.width);
    }
    return widths;
}

// Walks the text as a browser lays it out and checks each row's form and each element against
// the settings; returns the pen position and row top of every character, in order.
std::vector<std::pair<int, int>> checkedLayout(std::string_view text,
                                               const RenderSettings& settings) {
    static const std::map<int, int> widths = fineWidths();
    std::vector<std::pair<int, int>> pens;
    int top = 1;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        EXPECT_NE(end, std::string_view::npos) << "a row without CR LF";
        if (end == std::string_view::npos) {
            break;
        }
        std::string_view row = text.substr(0, end);
        text.remove_prefix(end + 2);
        EXPECT_TRUE(row.starts_with("\x81\x40")) << "a row without its leading full-width space";
        row.remove_prefix(2);
        int x = 0;
        while (!row.empty()) {
            const auto blank = std::ranges::find_if(
                kBlanks, [&](const Blank& b) { return row.starts_with(b.bytes); });
            if (blank != std::end(kBlanks)) {
                EXPECT_FALSE(blank->entity && settings.noEntities) << blank->bytes;
                x += blank->width;
                row.remove_prefix(blank->bytes.size());
                continue;
            }
            const auto lead = static_cast<unsigned char>(row[0]);
            EXPECT_NE(lead, '&') << "a stray ampersand";
            int code = lead;
            std::size_t length = 1;
            if (isLeadByte(lead)) {
                EXPECT_GE(row.size(), 2u) << "a lead byte without its trail byte";
                code = (lead << 8) | static_cast<unsigned char>(row[1]);
                length = 2;
            }
            const auto width = widths.find(code);
            EXPECT_NE(width, widths.end()) << "a character outside the fine table: " << code;
            pens.emplace_back(x, top);
            x += width == widths.end() ? 0 : width->second;
            row.remove_prefix(std::min(length, row.size()));
        }
        top += 16;
    }
    return pens;
}

TEST(FineRender, EverySettingWritesValidRowsWithEveryCharacterOnItsPixel) {
    std::mt19937 random(7);
    std::vector<std::unique_ptr<VectorSet>> drawings;
    drawings.push_back(fixtures::randomWalks(random, 30, 8, 30, {479, 239}));
    drawings.push_back(fixtures::randomDrawing(random, 12, 6, {0, 0}, {300, 160}));
    drawings.push_back(fixtures::drawing({{{0, 0}, {0, 40}}, {{3, 3}, {90, 3}}, {{5, 5}}}));
    // Short strokes along a row wider than a plan window: planned a window at a time.
    std::vector<fixtures::Polyline> strokes;
    for (std::int32_t i = 0; i < 60; ++i) {
        strokes.push_back({{400 * i + 3, 2 + i % 3 * 5}, {400 * i + 23, 12 - i % 3 * 3}});
    }
    drawings.push_back(fixtures::drawing(strokes));
    for (int combination = 0; combination < 16; ++combination) {
        RenderSettings settings;
        settings.fine = true;
        settings.useDots = (combination & 1) != 0;
        settings.noEntities = (combination & 2) != 0;
        settings.underscoreRuns = (combination & 4) != 0;
        settings.strictHalfSpaces = (combination & 8) != 0;
        for (const auto& drawing : drawings) {
            SCOPED_TRACE(testing::Message() << "settings " << combination);
            NoProgress quiet;
            RandomGenerator generator;
            const std::optional<RenderResult> rendered =
                renderText(*drawing, settings, generator, quiet);
            const std::string& text = rendered->text;
            const GlyphBoxList& boxes = rendered->boxes;
            const auto pens = checkedLayout(text, settings);
            // Dots and underscores of blank runs are characters too; the placed ones are the
            // rest, in the same order, each exactly where its box is.
            std::size_t next = 0;
            for (const GlyphBoxList::Outline& box : boxes.outlines()) {
                while (next < pens.size() &&
                       (pens[next].second < box[0].y ||
                        (pens[next].second == box[0].y && pens[next].first < box[0].x))) {
                    ++next;
                }
                ASSERT_LT(next, pens.size());
                EXPECT_EQ(pens[next], std::make_pair(box[0].x, box[0].y));
                ++next;
            }
            EXPECT_GT(boxes.boxCount(), 0u);
        }
    }
}

TEST(FineRender, ExactGapsFollowTheBlankElementsAllowed) {
    struct Case {
        bool noEntities;
        bool useDots;
        std::vector<int> exact;
        std::vector<int> inexact;
    };
    const Case cases[] = {
        {false, false, {2, 4, 5, 8, 10, 11, 13}, {1, 3}},
        // Two half-width spaces never meet, so 5 and 11 make only some of the widths.
        {true, false, {5, 11, 16, 21, 22, 27, 33, 139}, {1, 2, 3, 4, 6, 10, 12, 15, 40, 138}},
        {true, true, {3, 5, 6, 8, 11}, {1, 2, 4}},
    };
    for (const Case& c : cases) {
        RenderSettings settings;
        settings.noEntities = c.noEntities;
        settings.useDots = c.useDots;
        const ExactGaps gaps = exactGapsFor(settings);
        for (int width : c.exact) {
            EXPECT_TRUE(gaps.exact(width)) << width;
        }
        for (int width : c.inexact) {
            EXPECT_FALSE(gaps.exact(width)) << width;
        }
        EXPECT_TRUE(gaps.exact(ExactGaps::kExactGapLimit));
    }
}

}  // namespace
}  // namespace penmoji
