// SPDX-License-Identifier: MIT
#include "compose/streamed_rendering.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "allocation_limit.h"
#include "drawing_fixtures.h"

namespace penmoji {
namespace {

using fixtures::drawing;
using testing_support::AllocationLimit;

// 500 rows of about 600 bytes: columns at widths that need every kind of blank (odd gaps,
// half-width spaces side by side without entities and strictness), a diagonal across them and a
// level line on a row's top.
std::unique_ptr<VectorSet> tallDrawing() {
    return drawing({{{0, 0}, {0, 8000}},
                    {{23, 0}, {23, 8000}, {61, 8000}, {61, 5}},
                    {{74, 0}, {74, 8000}},
                    {{305, 0}, {305, 8000}},
                    {{3000, 0}, {3000, 8000}},
                    {{5, 40}, {400, 7900}},
                    {{0, 1601}, {420, 1601}}});
}

RenderSettings settingsWith(void (*change)(RenderSettings&)) {
    RenderSettings settings;
    change(settings);
    return settings;
}

struct Stopping final : ProgressReceiver {
    void reportProgress(std::int64_t, std::int64_t) override {}
    bool stopRequested() override { return true; }
};

// The streamed text is the text, byte for byte, whatever the settings; the dots continue
// from the same generator state, the boxes are the same.
TEST(RenderTextTo, StreamsExactlyTheTextOfRenderText) {
    const RenderSettings cases[] = {
        RenderSettings{},
        settingsWith([](RenderSettings& s) { s.useDots = true; }),
        settingsWith([](RenderSettings& s) { s.noEntities = true; }),
        settingsWith([](RenderSettings& s) {
            s.noEntities = true;
            s.strictHalfSpaces = false;
        }),
        settingsWith([](RenderSettings& s) {
            s.noEntities = true;
            s.strictHalfSpaces = false;
            s.underscoreRuns = false;
        }),
        settingsWith([](RenderSettings& s) { s.fine = true; }),
    };
    const auto vectors = tallDrawing();
    for (const RenderSettings& settings : cases) {
        SCOPED_TRACE(testing::Message()
                     << "dots " << settings.useDots << " entities " << !settings.noEntities
                     << " strict " << settings.strictHalfSpaces << " underscores "
                     << settings.underscoreRuns << " fine " << settings.fine);
        RandomGenerator whole;
        whole.next();  // carried over from an earlier rendering
        RandomGenerator streamed = whole;
        NoProgress quiet;
        const std::optional<RenderResult> expected = renderText(*vectors, settings, whole, quiet);
        ASSERT_TRUE(expected);
        ASSERT_GT(expected->text.size(), 256'000u);

        std::ostringstream out;
        GlyphBoxList boxes;
        ASSERT_EQ(renderTextTo(*vectors, settings, streamed, quiet, out, boxes),
                  RenderEnd::Complete);
        EXPECT_TRUE(out.str() == expected->text);
        EXPECT_EQ(boxes.boxCount(), expected->boxes.boxCount());
        EXPECT_EQ(streamed.next(), whole.next());
    }
    // The drawing makes what the settings are about.
    NoProgress quiet;
    RandomGenerator random;
    const std::string loose = renderText(*vectors, cases[3], random, quiet)->text;
    EXPECT_NE(loose.find(" _"), std::string::npos);
}

// A rendering that does not complete says why, and leaves the dot generator where it was.
TEST(RenderTextTo, EndsWithTheReasonAndKeepsTheGenerator) {
    const auto vectors = tallDrawing();
    RenderSettings settings;
    settings.useDots = true;
    NoProgress quiet;
    Stopping stop;
    std::ostringstream fine;
    std::ofstream closed;  // never opened: every write fails

    struct Case {
        const char* name;
        ProgressReceiver& progress;
        std::ostream& out;
        std::size_t allocationLimit;
        RenderEnd end;
    };
    const Case cases[] = {
        {"stopped", stop, fine, 0, RenderEnd::Stopped},
        {"output fails", quiet, closed, 0, RenderEnd::WriteFailed},
        {"memory runs out", quiet, fine, 64 << 10, RenderEnd::OutOfMemory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RandomGenerator random;
        GlyphBoxList boxes;
        RenderEnd end = RenderEnd::Complete;
        {
            const AllocationLimit limit(c.allocationLimit);
            end = renderTextTo(*vectors, settings, random, c.progress, c.out, boxes);
        }
        EXPECT_EQ(end, c.end);
        EXPECT_EQ(random.next(), RandomGenerator().next());
    }
}

// The whole text in memory can exhaust it: that is a value, not an exception.
TEST(RenderTextChecked, MemoryRunningOutIsAValue) {
    const auto vectors = tallDrawing();
    NoProgress quiet;
    RandomGenerator random;
    CheckedRendering checked;
    {
        // More than anything but the text needs.
        const AllocationLimit limit(std::size_t{200} << 10);
        checked = renderTextChecked(*vectors, RenderSettings{}, random, quiet);
    }
    EXPECT_EQ(checked.end, RenderEnd::OutOfMemory);
    EXPECT_FALSE(checked.result);

    checked = renderTextChecked(*vectors, RenderSettings{}, random, quiet);
    EXPECT_EQ(checked.end, RenderEnd::Complete);
    ASSERT_TRUE(checked.result);
    RandomGenerator again;
    EXPECT_EQ(checked.result->text, renderText(*vectors, RenderSettings{}, again, quiet)->text);
}

TEST(DisplayTextOf, KeepsWholeRowsWithinTheBudget) {
    // Rows of 6, 4 and 8 bytes; "\x82\xa0" is one character.
    const std::string rows = "\x81\x40\x61\x62\r\n\x81\x40\r\n\x81\x40\x82\xa0\x63\x64\r\n";
    const std::string longRow = "\x81\x40\x82\xa0\x63\r\n";
    struct Case {
        const std::string& text;
        std::size_t budget;
        std::string kept;
        bool cut;
    };
    const Case cases[] = {
        {rows, 18, rows, false},
        {rows, 100, rows, false},
        {rows, 17, rows.substr(0, 10), true},
        {rows, 10, rows.substr(0, 10), true},
        {rows, 9, rows.substr(0, 6), true},
        // A first row longer than the budget keeps its whole characters.
        {longRow, 5, "\x81\x40\x82\xa0\x63", true},
        {longRow, 3, "\x81\x40", true},
        {longRow, 1, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.budget);
        const DisplayText shown = displayTextOf(c.text, c.budget);
        EXPECT_EQ(shown.text, c.kept);
        EXPECT_EQ(shown.cut, c.cut);
    }
}

}  // namespace
}  // namespace penmoji
