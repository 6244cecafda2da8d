// SPDX-License-Identifier: MIT
// Incremental rendering gives, after every edit, exactly what a whole rendering of the edited
// drawing gives: text, dots, boxes and placed characters, in both modes and under every setting.

#include "compose/incremental_rendering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "allocation_limit.h"
#include "drawing_fixtures.h"

namespace penmoji {
namespace {

using PieceRows = std::vector<std::vector<std::int32_t>>;

// Stops the rendering at the given poll.
class StopAfter final : public ProgressReceiver {
public:
    explicit StopAfter(int polls) : polls_(polls) {}
    void reportProgress(std::int64_t, std::int64_t) override {}
    bool stopRequested() override { return --polls_ < 0; }

private:
    int polls_;
};

// Renders incrementally and checks the result against a whole rendering from the same dot
// generator, which both then leave alike. Returns the rows matched.
std::size_t expectSameAsWhole(IncrementalRendering& incremental, const VectorSet& vectors,
                              const RenderSettings& settings, RandomGenerator& random,
                              const PlacedText& placed = {}) {
    NoProgress quiet;
    RandomGenerator wholeRandom = random;
    const std::optional<RenderResult> whole =
        renderText(vectors, settings, wholeRandom, quiet, placed);
    const std::optional<RenderResult> part =
        incremental.render(vectors, settings, random, quiet, placed).result;
    EXPECT_TRUE(whole && part);
    if (!whole || !part) {
        return 0;
    }
    EXPECT_EQ(part->text, whole->text);
    EXPECT_EQ(part->glyphs, whole->glyphs);
    EXPECT_EQ(part->inexactPieces, whole->inexactPieces);
    const auto boxes = part->boxes.outlines();
    const auto wholeBoxes = whole->boxes.outlines();
    EXPECT_TRUE(std::ranges::equal(boxes, wholeBoxes))
        << boxes.size() << " boxes against " << wholeBoxes.size();
    EXPECT_TRUE(random == wholeRandom) << "the dot generator goes on elsewhere";
    return incremental.rowsMatched();
}

// The edits a user makes, at random, within a canvas of about `high`.
class RandomEditor {
public:
    RandomEditor(std::mt19937& random, Point high) : random_(random), high_(high) {}

    // Pieces are placed, moved, replaced and deleted about as often as vectors are edited.
    void edit(VectorSet& vectors, RenderSettings& settings, PlacedText& placed) {
        using PieceEdit = void (RandomEditor::*)(PlacedText&);
        static constexpr PieceEdit kPieceEdits[] = {
            &RandomEditor::addPiece,     &RandomEditor::movePiece,   &RandomEditor::movePiece,
            &RandomEditor::replacePiece, &RandomEditor::deletePiece,
        };
        if (pick(0, 2) == 0) {
            (this->*kPieceEdits[pick(0, static_cast<int>(std::size(kPieceEdits)) - 1)])(placed);
        } else {
            edit(vectors, settings);
        }
    }

    void edit(VectorSet& vectors, RenderSettings& settings) {
        // Drags, the commonest edit, come three times as often as the others.
        using Edit = void (RandomEditor::*)(VectorSet&);
        static constexpr Edit kEdits[] = {
            &RandomEditor::movePoint,    &RandomEditor::movePoint,   &RandomEditor::movePoint,
            &RandomEditor::addPoint,     &RandomEditor::deletePoint, &RandomEditor::addVector,
            &RandomEditor::deleteVector, &RandomEditor::moveVector,  &RandomEditor::addTick,
            &RandomEditor::copyVector,
        };
        const int choice = pick(0, static_cast<int>(std::size(kEdits)));
        if (choice == static_cast<int>(std::size(kEdits))) {
            changeSetting(settings);
        } else {
            (this->*kEdits[choice])(vectors);
        }
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    Point anywhere() { return {pick(-8, high_.x), pick(-8, high_.y)}; }

    VectorLine* usedLine(VectorSet& vectors) {
        std::vector<VectorLine*> used;
        for (VectorLine& line : vectors.lines) {
            if (line.count > 0) {
                used.push_back(&line);
            }
        }
        return used.empty()
                   ? nullptr
                   : used[static_cast<std::size_t>(pick(0, static_cast<int>(used.size()) - 1))];
    }

    void movePoint(VectorSet& vectors) {
        if (VectorLine* line = usedLine(vectors)) {
            Point& p = line->points[static_cast<std::size_t>(pick(0, line->count - 1))];
            // Mostly a drag of a few pixels, sometimes across the canvas.
            p = pick(0, 3) == 0 ? anywhere() : Point{p.x + pick(-20, 20), p.y + pick(-20, 20)};
        }
    }

    void addPoint(VectorSet& vectors) {
        VectorLine* line = usedLine(vectors);
        if (line == nullptr || line->count == kMaxPoints) {
            return;
        }
        const auto at = static_cast<std::size_t>(pick(0, line->count));
        std::copy_backward(line->points.begin() + static_cast<std::ptrdiff_t>(at),
                           line->points.begin() + line->count,
                           line->points.begin() + line->count + 1);
        line->points[at] = anywhere();
        ++line->count;
    }

    void deletePoint(VectorSet& vectors) {
        if (VectorLine* line = usedLine(vectors)) {
            const auto at = static_cast<std::ptrdiff_t>(pick(0, line->count - 1));
            std::copy(line->points.begin() + at + 1, line->points.begin() + line->count,
                      line->points.begin() + at);
            --line->count;
        }
    }

    void addVector(VectorSet& vectors) {
        VectorLine& line = vectors.lines[static_cast<std::size_t>(pick(0, kSlotCount - 1))];
        line.count = pick(1, 6);
        Point p = anywhere();
        for (int i = 0; i < line.count; ++i) {
            line.points[static_cast<std::size_t>(i)] = p;
            p = {p.x + pick(-40, 40), p.y + pick(-40, 40)};
        }
    }

    void deleteVector(VectorSet& vectors) {
        if (VectorLine* line = usedLine(vectors)) {
            line->clear();
        }
    }

    void moveVector(VectorSet& vectors) {
        if (VectorLine* line = usedLine(vectors)) {
            const Point by{pick(-24, 24), pick(-24, 24)};
            for (int i = 0; i < line->count; ++i) {
                Point& p = line->points[static_cast<std::size_t>(i)];
                p = {p.x + by.x, p.y + by.y};
            }
        }
    }

    // A short stroke just above or below a row's edges, beside a drawn point: the rows either
    // side may see it.
    void addTick(VectorSet& vectors) {
        const VectorLine* near = usedLine(vectors);
        if (near == nullptr) {
            return;
        }
        const Point at = near->points[static_cast<std::size_t>(pick(0, near->count - 1))];
        const std::int32_t y =
            16 * (at.y / 16) + 1 + std::array{-3, -2, -1, 16, 17, 18}[pick(0, 5)];
        VectorLine& line = vectors.lines[static_cast<std::size_t>(pick(0, kSlotCount - 1))];
        line.count = 2;
        line.points[0] = {at.x + pick(-6, 6), y};
        line.points[1] = {line.points[0].x + pick(-4, 4), y + pick(-1, 1)};
    }

    // A copy of a vector in another slot: segments drawn twice.
    void copyVector(VectorSet& vectors) {
        if (VectorLine* line = usedLine(vectors)) {
            vectors.lines[static_cast<std::size_t>(pick(0, kSlotCount - 1))] = *line;
        }
    }

    // Table characters, other characters and entity blanks, in one row or several.
    PieceRows pieceText() {
        static const PieceRows kTexts[] = {
            {{0x815E, 0x815F}},
            {{'(', 0x814F, 0x83D6, 0x814F, ')'}, {kPlacedEnSpaceCode, 0x815E, ' ', 0x815F}},
            {{'|'}, {'|'}, {'|'}},
            {{0x82A0, kPlacedThinSpaceCode, 0x889F, kPlacedNbspCode, 0xB1}},
            {{0x8150, 0x8150, 0x8150, 0x8150, 0x8150, 0x8150}},
        };
        return kTexts[pick(0, static_cast<int>(std::size(kTexts)) - 1)];
    }

    // Over the lines mostly, now and then in the rows past the drawing or partly off the canvas.
    void addPiece(PlacedText& placed) {
        Point at = anywhere();
        if (pick(0, 4) == 0) {
            at.y = high_.y + pick(0, 80);
        }
        placed.push_back({at.x, at.y, pieceText()});
    }

    PlacedPiece* somePiece(PlacedText& placed) {
        return placed.empty() ? nullptr
                              : &placed[static_cast<std::size_t>(
                                    pick(0, static_cast<int>(placed.size()) - 1))];
    }

    void movePiece(PlacedText& placed) {
        if (PlacedPiece* piece = somePiece(placed)) {
            // Mostly by a pixel or a row, as the arrow keys move it.
            const Point by = pick(0, 3) == 0 ? Point{pick(-60, 60), pick(-60, 60)}
                                             : Point{pick(-1, 1), 16 * pick(-1, 1)};
            piece->x += by.x;
            piece->y += by.y;
        }
    }

    void replacePiece(PlacedText& placed) {
        if (PlacedPiece* piece = somePiece(placed)) {
            piece->rows = pieceText();
        }
    }

    void deletePiece(PlacedText& placed) {
        if (PlacedPiece* piece = somePiece(placed)) {
            placed.erase(placed.begin() + (piece - placed.data()));
        }
    }

    void changeSetting(RenderSettings& s) {
        switch (pick(0, 6)) {
            case 0:
                s.innerProductThreshold = std::array{0.85f, 0.5f, 0.97f}[pick(0, 2)];
                break;
            case 1:
                s.scanStep = std::array{2, 5, 11}[pick(0, 2)];
                break;
            case 2:
                s.priorityScale = std::array{1.0f, 0.0f, 2.0f}[pick(0, 2)];
                break;
            case 3:
                s.useDots = !s.useDots;
                break;
            case 4:
                s.noEntities = !s.noEntities;
                break;
            case 5:
                s.underscoreRuns = !s.underscoreRuns;
                break;
            default:
                s.strictHalfSpaces = !s.strictHalfSpaces;
                break;
        }
    }

    std::mt19937& random_;
    Point high_;
};

struct Sequence {
    const char* name;
    bool fine;
    unsigned seed;
    int edits;
};

// Random edit sequences from random drawings, the dot generator carried on from rendering to
// rendering as the editor does; now and then a rendering is stopped half-way first, which must
// leave the kept rendering and the generator as they were.
TEST(IncrementalRendering, EveryEditGivesWhatAWholeRenderingGives) {
    const Sequence sequences[] = {
        {"default", false, 1, 160}, {"default", false, 2, 160}, {"default", false, 3, 160},
        {"fine", true, 4, 80},      {"fine", true, 5, 80},      {"fine", true, 6, 80},
    };
    for (const Sequence& sequence : sequences) {
        SCOPED_TRACE(std::string(sequence.name) + " seed " + std::to_string(sequence.seed));
        std::mt19937 random(sequence.seed);
        auto vectors = fixtures::randomWalks(random, 12, 8, 40, {399, 319});
        RenderSettings settings;
        settings.fine = sequence.fine;
        settings.useDots = true;
        RandomGenerator dots;
        IncrementalRendering incremental;
        RandomEditor editor(random, {399, 319});
        PlacedText placed;
        expectSameAsWhole(incremental, *vectors, settings, dots);
        for (int step = 0; step < sequence.edits && !testing::Test::HasFailure(); ++step) {
            SCOPED_TRACE("edit " + std::to_string(step));
            editor.edit(*vectors, settings, placed);
            if (step % 7 == 3) {
                // An edit that leaves every row as it was completes without asking.
                StopAfter stop(step % 3);
                const RandomGenerator before = dots;
                const CheckedRendering stopped =
                    incremental.render(*vectors, settings, dots, stop, placed);
                if (stopped.end == RenderEnd::Stopped) {
                    EXPECT_TRUE(dots == before);
                } else {
                    EXPECT_EQ(stopped.end, RenderEnd::Complete);
                }
            }
            expectSameAsWhole(incremental, *vectors, settings, dots, placed);
        }
    }
}

// Rows of close teeth 10,000 pixels wide: each row holds as many cells as a row can, and
// three rows fill the box list, so that the fine mode cuts the rows below short where the
// list's room ends. An edit of the first row moves where that happens.
std::unique_ptr<VectorSet> teethRows(int rows) {
    auto vectors = std::make_unique<VectorSet>();
    int slot = 0;
    for (int r = 0; r < rows; ++r) {
        const std::int32_t top = 16 * r + 1;
        for (int k = 0; k < 2000; ++k) {
            VectorLine& line = vectors->lines[static_cast<std::size_t>(slot + k / kMaxPoints)];
            line.points[static_cast<std::size_t>(k % kMaxPoints)] = {5 * k,
                                                                     top + (k % 2 == 0 ? 2 : 13)};
            line.count = k % kMaxPoints + 1;
        }
        slot += 2000 / kMaxPoints;
    }
    return vectors;
}

TEST(IncrementalRendering, FullRowsAndAFullBoxList) {
    for (const bool fine : {false, true}) {
        SCOPED_TRACE(fine ? "fine" : "default");
        auto vectors = teethRows(6);
        RenderSettings settings;
        settings.fine = fine;
        RandomGenerator dots;
        IncrementalRendering incremental;
        expectSameAsWhole(incremental, *vectors, settings, dots);
        // The first row loses half its teeth, then all, then gets them back: the fifth row
        // has room for all its characters only while the first row is empty.
        const auto whole = vectors->lines;
        for (int slot = 5; slot < 10; ++slot) {
            vectors->lines[static_cast<std::size_t>(slot)].clear();
        }
        expectSameAsWhole(incremental, *vectors, settings, dots);
        for (int slot = 0; slot < 5; ++slot) {
            vectors->lines[static_cast<std::size_t>(slot)].clear();
        }
        expectSameAsWhole(incremental, *vectors, settings, dots);
        vectors->lines = whole;
        expectSameAsWhole(incremental, *vectors, settings, dots);
    }
}

struct LocalEdit {
    const char* name;
    bool fine;
    std::size_t mostRows;
};

// A drag of one point matches the rows its two segments reach, not the drawing's 40.
TEST(IncrementalRendering, ADragMatchesOnlyTheRowsItReaches) {
    const LocalEdit cases[] = {{"default", false, 2}, {"fine", true, 6}};
    for (const LocalEdit& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(7);
        auto vectors = fixtures::randomWalks(random, 20, 30, 30, {399, 639});
        // The drawing's extent stays put whatever the drag.
        vectors->lines[199].count = 1;
        vectors->lines[199].points[0] = {420, 640};
        RenderSettings settings;
        settings.fine = c.fine;
        RandomGenerator dots;
        IncrementalRendering incremental;
        EXPECT_EQ(expectSameAsWhole(incremental, *vectors, settings, dots), 41u);
        // Point 10 of vector 3 and its neighbours lie within 3 pixels of height: two rows
        // between them, each row's reach included.
        VectorLine& line = vectors->lines[3];
        line.points[10] = {line.points[9].x, line.points[9].y + 3};
        line.points[11] = {line.points[9].x + 5, line.points[9].y};
        expectSameAsWhole(incremental, *vectors, settings, dots);
        line.points[10].x += 6;
        EXPECT_LE(expectSameAsWhole(incremental, *vectors, settings, dots), c.mostRows);
        // The same drawing again matches nothing.
        EXPECT_EQ(expectSameAsWhole(incremental, *vectors, settings, dots), 0u);
    }
}

// Placing and moving a piece matches the rows it leaves and enters (in the fine mode, and what
// they reach below), not the drawing's 40; a piece whose ink lies on lines the row below sees
// changes that row too.
TEST(IncrementalRendering, APieceMatchesOnlyTheRowsItTouches) {
    const LocalEdit cases[] = {{"default", false, 2}, {"fine", true, 6}};
    for (const LocalEdit& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 random(7);
        auto vectors = fixtures::randomWalks(random, 20, 30, 30, {399, 639});
        // A level line on the first pixel row of row 11, within reach of row 10's ink.
        vectors->lines[199].count = 2;
        vectors->lines[199].points = {Point{40, 177}, Point{200, 177}};
        RenderSettings settings;
        settings.fine = c.fine;
        RandomGenerator dots;
        IncrementalRendering incremental;
        expectSameAsWhole(incremental, *vectors, settings, dots);
        PlacedText placed = {{100, 200, {{0x815E, 0x815F}, {0x8150, 0x8150}}}};
        EXPECT_LE(expectSameAsWhole(incremental, *vectors, settings, dots, placed), c.mostRows);
        placed[0].x += 1;
        EXPECT_LE(expectSameAsWhole(incremental, *vectors, settings, dots, placed), c.mostRows);
        // Underscores over the level lines, then gone.
        placed.push_back({60, 170, {{0x8151, 0x8151, 0x8151, 0x8151}}});
        expectSameAsWhole(incremental, *vectors, settings, dots, placed);
        placed.erase(placed.begin());
        expectSameAsWhole(incremental, *vectors, settings, dots, placed);
        placed.clear();
        expectSameAsWhole(incremental, *vectors, settings, dots, placed);
    }
}

// Memory running out half-way through a rendering is reported, and the rendering after it is
// whole again, whatever the failed one had got to.
TEST(IncrementalRendering, RunningOutOfMemoryKeepsNothingHalfDone) {
    for (const std::size_t limit : {std::size_t{64}, std::size_t{4} << 10, std::size_t{64} << 10}) {
        SCOPED_TRACE(limit);
        std::mt19937 random(9);
        auto vectors = fixtures::randomWalks(random, 30, 20, 40, {799, 639});
        RenderSettings settings;
        settings.useDots = true;
        RandomGenerator dots;
        IncrementalRendering incremental;
        expectSameAsWhole(incremental, *vectors, settings, dots);
        vectors->lines[4].points[3].y += 40;
        const RandomGenerator before = dots;
        RenderEnd end = RenderEnd::Complete;
        {
            NoProgress quiet;
            const testing_support::AllocationLimit scarce(limit);
            end = incremental.render(*vectors, settings, dots, quiet).end;
        }
        // The largest limit leaves enough for an edit of a few rows.
        EXPECT_EQ(end,
                  limit < (std::size_t{8} << 10) ? RenderEnd::OutOfMemory : RenderEnd::Complete);
        if (end == RenderEnd::OutOfMemory) {
            EXPECT_TRUE(dots == before);
        }
        vectors->lines[5].points[2].x += 30;
        expectSameAsWhole(incremental, *vectors, settings, dots);
    }
}

}  // namespace
}  // namespace penmoji
