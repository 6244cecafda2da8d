// SPDX-License-Identifier: MIT
// From a change of the drawing or its placed text to its new text art: the editor's edits
// rendered incrementally, beside a whole rendering of the same edit.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "compose/incremental_rendering.h"
#include "compose/render_driver.h"
#include "document/placed_text.h"
#include "drawing_fixtures.h"

namespace penmoji {
namespace {

// A typical drawing: three dozen strokes of a few points each on a 640 x 400 canvas.
std::unique_ptr<VectorSet> typicalDrawing() {
    std::mt19937 random(2);
    return fixtures::randomWalks(random, 36, 6, 30, {639, 399});
}

// The largest drawing the editor can make: 200 vectors of 200 points on a 1920 x 1080 canvas.
std::unique_ptr<VectorSet> largestDrawing() {
    std::mt19937 random(1);
    return fixtures::randomWalks(random, kSlotCount, kMaxPoints, 40, {1919, 1079});
}

// One edit after another: a point dragged by a few pixels and back, each time another point
// somewhere in the drawing, or (moveVector) the last vector moved by 24 pixels and back, as
// the editor's live benchmark does. Each change is rendered; `incremental` chooses how.
void editAndRender(benchmark::State& state, std::unique_ptr<VectorSet> vectors, bool fine,
                   bool moveVector, bool incremental) {
    RenderSettings settings;
    settings.fine = fine;
    settings.useDots = true;
    NoProgress quiet;
    RandomGenerator dots;
    IncrementalRendering rendering;
    rendering.render(*vectors, settings, dots, quiet);
    std::mt19937 random(3);
    int last = 0;
    while (last + 1 < kSlotCount && vectors->lines[static_cast<std::size_t>(last) + 1].count > 0) {
        ++last;
    }
    std::size_t rows = 0;
    int step = 0;
    Point* moved = nullptr;
    for (auto _ : state) {
        const int sign = step++ % 2 == 0 ? 1 : -1;
        if (moveVector) {
            VectorLine& line = vectors->lines[static_cast<std::size_t>(last)];
            for (int i = 0; i < line.count; ++i) {
                Point& p = line.points[static_cast<std::size_t>(i)];
                p = {p.x + sign * 24, p.y + sign * 24};
            }
        } else {
            if (sign > 0) {
                VectorLine& line = vectors->lines[std::uniform_int_distribution<std::size_t>(
                    0, static_cast<std::size_t>(last))(random)];
                moved = &line.points[std::uniform_int_distribution<std::size_t>(
                    0, static_cast<std::size_t>(line.count - 1))(random)];
            }
            *moved = {moved->x + sign * 5, moved->y + sign * 5};
        }
        if (incremental) {
            benchmark::DoNotOptimize(rendering.render(*vectors, settings, dots, quiet).result);
            rows += rendering.rowsMatched();
        } else {
            benchmark::DoNotOptimize(renderText(*vectors, settings, dots, quiet));
        }
    }
    if (incremental) {
        state.counters["rows_matched"] =
            benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kAvgIterations);
    }
}

// A face of three rows, of table characters, other characters and an entity blank.
PlacedPiece facePiece() {
    return {200,
            150,
            {{0x815E, 0x8150, 0x8150, 0x815F},
             {'(', kPlacedEnSpaceCode, 0x814C, 0x83D6, 0x814D, ')'},
             {0x815F, 0x8151, 0x8151, 0x815E}}};
}

// Pasted art of 100 rows of 60 characters, over the drawing and on below it.
PlacedPiece largePiece() {
    const std::int32_t codes[] = {0x815E, 0x815F, '|', 0x82A0, 0x8150, 0x889F, ' ', 0x8151};
    PlacedPiece piece{20, 20, {}};
    for (int r = 0; r < 100; ++r) {
        std::vector<std::int32_t>& row = piece.rows.emplace_back();
        for (int c = 0; c < 60; ++c) {
            row.push_back(codes[static_cast<std::size_t>(r + c) % std::size(codes)]);
        }
    }
    return piece;
}

// A piece on the typical drawing moved by a pixel and back (`byRow`: by a row and back), or
// (`toggle`) placed and taken away again; each change rendered as `incremental` chooses.
void changePieceAndRender(benchmark::State& state, PlacedPiece piece, bool fine, bool toggle,
                          bool byRow, bool incremental) {
    const auto vectors = typicalDrawing();
    RenderSettings settings;
    settings.fine = fine;
    settings.useDots = true;
    NoProgress quiet;
    RandomGenerator dots;
    IncrementalRendering rendering;
    PlacedText placed = {piece};
    rendering.render(*vectors, settings, dots, quiet, placed);
    std::size_t rows = 0;
    int step = 0;
    for (auto _ : state) {
        const int sign = step++ % 2 == 0 ? 1 : -1;
        if (toggle) {
            placed = sign > 0 ? PlacedText{} : PlacedText{piece};
        } else if (byRow) {
            placed[0].y += sign * 16;
        } else {
            placed[0].x += sign;
        }
        if (incremental) {
            benchmark::DoNotOptimize(
                rendering.render(*vectors, settings, dots, quiet, placed).result);
            rows += rendering.rowsMatched();
        } else {
            benchmark::DoNotOptimize(renderText(*vectors, settings, dots, quiet, placed));
        }
    }
    if (incremental) {
        state.counters["rows_matched"] =
            benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kAvgIterations);
    }
}

void registerPieces() {
    struct Change {
        const char* name;
        PlacedPiece (*piece)();
        bool toggle;
        bool byRow;
    };
    const Change changes[] = {{"movePiece", facePiece, false, false},
                              {"movePieceByRow", facePiece, false, true},
                              {"placePiece", facePiece, true, false},
                              {"pasteLargePiece", largePiece, true, false}};
    for (const Change& change : changes) {
        for (const bool fine : {false, true}) {
            for (const bool incremental : {true, false}) {
                const std::string name = std::string(incremental ? "incremental" : "whole") +
                                         "/typical" + (fine ? "/fine/" : "/default/") + change.name;
                benchmark::RegisterBenchmark(name.c_str(), [change, fine,
                                                            incremental](benchmark::State& s) {
                    changePieceAndRender(s, change.piece(), fine, change.toggle, change.byRow,
                                         incremental);
                })->Unit(benchmark::kMillisecond);
            }
        }
    }
}

void registerAll() {
    registerPieces();
    struct Drawing {
        const char* name;
        std::unique_ptr<VectorSet> (*make)();
    };
    const Drawing drawings[] = {{"typical", typicalDrawing}, {"largest", largestDrawing}};
    for (const Drawing& drawing : drawings) {
        for (const bool fine : {false, true}) {
            for (const bool moveVector : {false, true}) {
                for (const bool incremental : {true, false}) {
                    const std::string name = std::string(incremental ? "incremental" : "whole") +
                                             "/" + drawing.name + (fine ? "/fine" : "/default") +
                                             (moveVector ? "/moveVector" : "/dragPoint");
                    benchmark::RegisterBenchmark(name.c_str(), [make = drawing.make, fine,
                                                                moveVector,
                                                                incremental](benchmark::State& s) {
                        editAndRender(s, make(), fine, moveVector, incremental);
                    })->Unit(benchmark::kMillisecond);
                }
            }
        }
    }
}

}  // namespace
}  // namespace penmoji

int main(int argc, char** argv) {
    penmoji::registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
