// SPDX-License-Identifier: MIT
// A rendering asked to stop ends at the next poll, and polls come often in every kind of drawing,
// including between two cursor positions far apart. Counted in polls, not in time.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "drawing_fixtures.h"
#include "render/fine_matcher.h"
#include "render/render_pass.h"

namespace penmoji {
namespace {

using fixtures::Polyline;

// Says stop at its `stopAt`-th poll (never when 0) and counts what the rendering does after it.
struct StopAfter final : ProgressReceiver, RowSink {
    explicit StopAfter(std::int64_t stopAtPoll) : stopAt(stopAtPoll) {}

    void reportProgress(std::int64_t, std::int64_t) override {
        ++reports;
        afterStop += stopped ? 1 : 0;
    }
    bool stopRequested() override {
        afterStop += stopped ? 1 : 0;
        stopped = stopped || ++polls == stopAt;
        return stopped;
    }
    void takeRow(const TextRow&) override { afterStop += stopped ? 1 : 0; }

    std::int64_t stopAt;
    std::int64_t polls = 0;
    std::int64_t reports = 0;
    std::int64_t afterStop = 0;  // reports, polls and rows after the stop was asked
    bool stopped = false;
};

bool render(const VectorSet& vectors, StopAfter& receiver) {
    TextRow row;
    GlyphBoxList boxes;
    return renderVectors(row, vectors, MatchSettings{}, boxes, receiver, receiver);
}

bool renderFine(const VectorSet& vectors, StopAfter& receiver) {
    TextRow row;
    GlyphBoxList boxes;
    return renderVectorsFine(row, vectors, ExactGaps{}, boxes, receiver, receiver);
}

// One row whose segments all come within reach of every probe window of the gap filler without
// meeting one: the cursor stops at x = 1 only, and one walk steps across the whole width. The
// segments lie just above the row; they reach in from beyond the largest coordinate a file
// holds, where the band cannot leave them out as clear of the row, so each is tested at every
// step.
std::unique_ptr<VectorSet> oneLongGapWalk() {
    std::vector<Polyline> strokes;
    for (std::int32_t i = 0; i < 40; ++i) {
        strokes.push_back({{i - 3'000'000, -1}, {100'000 - i, 0}});
    }
    return fixtures::drawing(strokes);
}

struct Family {
    std::string name;
    std::unique_ptr<VectorSet> vectors;
};

std::vector<Family> families() {
    using fixtures::backAndForth;
    std::mt19937 random(3);
    std::vector<Family> all;
    all.push_back(
        {"coincident diagonal", fixtures::drawing({backAndForth({0, 0}, {3000, 3000}, 200),
                                                   backAndForth({3000, 3000}, {0, 0}, 200)})});
    all.push_back({"row boundary", fixtures::drawing({backAndForth({0, 33}, {20'000, 33}, 200)})});
    all.push_back({"staircase", fixtures::drawing({fixtures::staircase(20, 3000, 1)})});
    all.push_back({"zigzag", fixtures::drawing({fixtures::zigzag(random, 100, 600, 600)})});
    all.push_back({"long gap walk", oneLongGapWalk()});
    return all;
}

// In both modes: the fine one polls while it draws a row's lines and while it plans the row.
TEST(RenderStop, EndsAtThePollThatAsksWhereverItComes) {
    for (const auto& [mode, pass] : {std::pair{"default", &render}, std::pair{"fine", &renderFine}}) {
        for (const Family& family : families()) {
            SCOPED_TRACE(std::string(mode) + " " + family.name);
            StopAfter unstopped(0);
            ASSERT_TRUE(pass(*family.vectors, unstopped));
            ASSERT_GE(unstopped.polls, 20);
            for (const std::int64_t stopAt :
                 {std::int64_t{1}, unstopped.polls / 3, unstopped.polls - 1, unstopped.polls}) {
                StopAfter stopping(stopAt);
                EXPECT_FALSE(pass(*family.vectors, stopping)) << "stop at poll " << stopAt;
                EXPECT_EQ(stopping.polls, stopAt);
                EXPECT_EQ(stopping.afterStop, 0) << "stop at poll " << stopAt;
            }
        }
    }
}

// The walk between two cursor positions polls and reports as it goes: its 50,000 probes over 40
// segments are about 30 polls' worth of work.
TEST(RenderStop, LongWalksBetweenPositionsPollAndReport) {
    StopAfter unstopped(0);
    ASSERT_TRUE(render(*oneLongGapWalk(), unstopped));
    EXPECT_GE(unstopped.polls, 25);
    EXPECT_EQ(unstopped.reports, unstopped.polls);
}

}  // namespace
}  // namespace penmoji
