// SPDX-License-Identifier: MIT
// The undo history's memory: what 10,000 point moves add, on the largest drawing the editor can
// hold, where a step that copied its vector (or the drawing) would show at once.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "canvas/document_texts.h"
#include "canvas/editor_document.h"

namespace penmoji {
namespace {

constexpr int kMoves = 10'000;
constexpr double kBudgetBytes = 20.0 * 1024 * 1024;

// Every byte in use on the heap, whoever asked for it (Qt's strings come from malloc).
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void fillEverySlot(Document& document) {
    std::vector<Point> points(kMaxPoints);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int i = 0; i < kMaxPoints; ++i) {
            points[std::size_t(i)] = {i * 3, slot * 4};
        }
        document.setVector(slot, points);
    }
}

// Each move is a drag as the canvas makes it: a step around a few positions of one point.
void BM_UndoMemoryOfPointMoves(benchmark::State& state) {
    std::size_t grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<EditorDocument>();
        fillEverySlot(model->document());
        model->startHistoryHere();
        DocumentHistory& history = model->history();
        const std::size_t before = heapInUse();
        state.ResumeTiming();

        for (int move = 0; move < kMoves; ++move) {
            const int slot = move % kSlotCount;
            const int index = (move * 7) % kMaxPoints;
            history.beginStep(QString::fromUtf8(text::kStepMovePoint));
            for (int step = 1; step <= 3; ++step) {
                model->document().setPoint(slot, index, {move + step, step});
            }
            history.endStep();
        }

        state.PauseTiming();
        grown = heapInUse() - before;
        if (history.stack().count() != kMoves) {
            state.SkipWithError("a move was not one step");
        }
        model.reset();
        state.ResumeTiming();
    }
    state.counters["MB"] = double(grown) / (1024 * 1024);
    state.counters["bytes_per_move"] = double(grown) / kMoves;
    if (double(grown) >= kBudgetBytes) {
        state.SkipWithError("10,000 point moves take 20 MB or more");
    }
}
BENCHMARK(BM_UndoMemoryOfPointMoves)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace penmoji
