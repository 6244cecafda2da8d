// SPDX-License-Identifier: MIT
#include "compose/render_driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace penmoji {
namespace {

struct ProgressLog final : ProgressReceiver {
    std::vector<std::pair<std::int64_t, std::int64_t>> reports;
    void reportProgress(std::int64_t position, std::int64_t total) override {
        reports.emplace_back(position, total);
    }
};

std::string render(const VectorSet& vectors, ProgressReceiver& progress, GlyphBoxList& boxes) {
    RandomGenerator random;
    std::optional<RenderResult> result = renderText(vectors, RenderSettings{}, random, progress);
    boxes = result->boxes;
    return result->text;
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

TEST(RenderText, EmptyDrawingIsOneEmptyRow) {
    const auto vectors = std::make_unique<VectorSet>();
    ProgressLog progress;
    GlyphBoxList boxes;
    boxes.addBox(1, 1, 8);  // left from an earlier rendering
    EXPECT_EQ(render(*vectors, progress, boxes), "\x81\x40\r\n");
    EXPECT_EQ(boxes.boxCount(), 0u);
    // W = H = 16: one row at top 1; from the cursor at 1 the gap filler goes straight past 16.
    EXPECT_EQ(progress.reports, (std::vector<std::pair<std::int64_t, std::int64_t>>{{17, 256}}));
}

TEST(RenderText, ALonePointWidensTheCanvasByWholeRows) {
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[7].count = 1;
    vectors->lines[7].points[0] = {100, 50};
    ProgressLog progress;
    GlyphBoxList boxes;
    // Rows at 1, 17, 33, 49 and 65; none has a character.
    EXPECT_EQ(render(*vectors, progress, boxes),
              "\x81\x40\r\n\x81\x40\r\n\x81\x40\r\n\x81\x40\r\n\x81\x40\r\n");
    EXPECT_EQ(progress.reports.front(), (std::pair<std::int64_t, std::int64_t>{116 + 1, 66 * 116}));
}

TEST(RenderText, ALineOnARowTopBelongsToThatRowOnly) {
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[0].count = 2;
    vectors->lines[0].points[0] = {0, 17};
    vectors->lines[0].points[1] = {60, 17};
    ProgressLog progress;
    GlyphBoxList boxes;
    const std::string text = render(*vectors, progress, boxes);
    ASSERT_GT(boxes.boxCount(), 0u);
    for (const auto& outline : boxes.outlines()) {
        EXPECT_EQ(outline[0].y, 17);
    }
    EXPECT_EQ(text.substr(0, 4), "\x81\x40\r\n");  // the row at 1 stays empty
}

TEST(RenderText, LongTextsAreWrittenWhole) {
    // A staircase down 2000 pixels: 126 rows, most with a long blank run before their stroke.
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[0].count = 2;
    vectors->lines[0].points[0] = {0, 0};
    vectors->lines[0].points[1] = {2000, 2000};
    NoProgress quiet;
    GlyphBoxList boxes;
    const std::string text = render(*vectors, quiet, boxes);
    EXPECT_GT(text.size(), 6144u);
    EXPECT_EQ(lineCount(text), 126u);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Stops when asked for the `stopAt`-th time.
struct StopAfter final : ProgressReceiver {
    explicit StopAfter(int stopAt) : left(stopAt) {}
    void reportProgress(std::int64_t, std::int64_t) override {}
    bool stopRequested() override { return --left <= 0; }
    int left;
};

// A stopped rendering gives nothing and leaves the dot generator where it was, so the next
// complete rendering writes what it would have written without the stopped one.
TEST(RenderText, AStoppedRenderingReturnsNothingAndChangesNothing) {
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[0].count = 2;
    vectors->lines[0].points[0] = {0, 5};
    vectors->lines[0].points[1] = {300, 40};
    RenderSettings settings;
    settings.useDots = true;

    RandomGenerator fresh;
    NoProgress quiet;
    const std::optional<RenderResult> expected = renderText(*vectors, settings, fresh, quiet);
    ASSERT_TRUE(expected);

    for (int stopAt : {1, 2, 40}) {
        RandomGenerator random;
        StopAfter stop(stopAt);
        EXPECT_FALSE(renderText(*vectors, settings, random, stop).has_value());
        const std::optional<RenderResult> after = renderText(*vectors, settings, random, quiet);
        EXPECT_EQ(after->text, expected->text) << stopAt;
    }
}

// The fine mode plans a row as a whole; a row across a wide drawing must still stop inside.
TEST(RenderText, AStopReachesInsideAFineRow) {
    auto vectors = std::make_unique<VectorSet>();
    vectors->lines[0].count = 2;
    vectors->lines[0].points[0] = {0, 6};
    vectors->lines[0].points[1] = {60'000, 7};
    RenderSettings settings;
    settings.fine = true;
    RandomGenerator random;
    StopAfter stop(2);  // the first poll is at the row's start
    EXPECT_FALSE(renderText(*vectors, settings, random, stop).has_value());
}

}  // namespace
}  // namespace penmoji
