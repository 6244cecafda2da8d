// SPDX-License-Identifier: MIT
// From a change of the drawing to the canvas painted with the new text, offscreen, and how
// late the GUI thread answers meanwhile.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <random>

#include <time.h>

#include "app/live_rendering.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/char_width_table.h"
#include "drawing_fixtures.h"
#include "offscreen_canvas_bench.h"

namespace penmoji {
namespace {

// The processor time the calling thread has used, in milliseconds.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// How late the GUI thread answered while the event loop ran: the longest wait of a 2 ms
// timer (the delay an input event would have met) and the most processor time the thread
// spent between two of its ticks (the same without the time other programs on a busy machine
// took the processor away).
struct EventDelays {
    double wait = 0;
    double work = 0;

    void add(const EventDelays& other) {
        wait = std::max(wait, other.wait);
        work = std::max(work, other.work);
    }
};

// Runs the event loop until `done`, noting the delays meanwhile.
template <typename Done>
EventDelays waitNotingDelay(Done done) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    double lastWork = threadMilliseconds();
    EventDelays delays;
    auto tick = [&] {
        delays.wait = std::max(delays.wait, static_cast<double>(clock.elapsed() - last));
        last = clock.elapsed();
        const double work = threadMilliseconds();
        delays.work = std::max(delays.work, work - lastWork);
        lastWork = work;
    };
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, tick);
    ticker.start(2);
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    tick();
    return delays;
}

using bench::PaintWatch;

void changeToPaintedResult(benchmark::State& state, const VectorSet& drawing) {
    EditorDocument document;
    CharWidthTable charWidths;
    document.document().replaceAll(drawing);
    CEditCanvas canvas(document, charWidths);
    canvas.resize(1920, 1080);
    canvas.show();
    PaintWatch watch;
    canvas.installEventFilter(&watch);
    std::vector<PlacedGlyph> shownGlyphs;
    int changedResults = 0;
    LiveRendering live(document);
    // As the main window does with each live result.
    QObject::connect(&live, &LiveRendering::updated,
                     [&](const std::shared_ptr<const RenderOutcome>& outcome) {
                         canvas.setGlyphBoxes(outcome->result.boxes);
                         canvas.setTextArt(outcome->result.glyphs);
                         canvas.preview().setPreviewText(outcome->result.text);
                         // A result that looks as the last one did paints nothing.
                         const bool looksNew = outcome->result.glyphs != shownGlyphs;
                         shownGlyphs = outcome->result.glyphs;
                         watch.armed = true;
                         watch.painted = !looksNew;
                         changedResults += looksNew ? 1 : 0;
                     });
    QObject::connect(&document, &EditorDocument::drawingChanged, &live, &LiveRendering::invalidate);
    live.invalidate();
    waitNotingDelay([&] { return watch.painted; });
    // The window's first exposure may still be on its way; it is no part of an edit.
    QElapsedTimer settling;
    settling.start();
    waitNotingDelay([&] { return settling.elapsed() > 300; });

    EventDelays worst;
    int step = 0;
    int moved = 0;
    while (moved + 1 < kSlotCount && drawing.lines[moved + 1].count > 0) {
        ++moved;
    }
    for (auto _ : state) {
        watch.armed = false;
        watch.painted = false;
        // The last vector moves there and back, far enough to change the text (a rendering that
        // looks as the last one did paints nothing).
        const int offset = (++step % 2) * 24;
        const VectorLine& line = drawing.lines[moved];
        std::vector<Point> points(line.points.begin(), line.points.begin() + line.count);
        for (Point& p : points) {
            p = {p.x + offset, p.y + offset};
        }
        document.document().setVector(moved, points);
        worst.add(waitNotingDelay([&] { return watch.painted; }));
    }
    state.counters["worst_event_delay_ms"] = worst.wait;
    state.counters["worst_gui_work_ms"] = worst.work;
    // How many of the results changed the text and were painted.
    state.counters["new_text"] =
        benchmark::Counter(changedResults - 1, benchmark::Counter::kAvgIterations);
}

void liveTypicalDrawing(benchmark::State& state) {
    std::mt19937 random(2);
    changeToPaintedResult(state, *fixtures::randomWalks(random, 36, 6, 30, {639, 399}));
}
BENCHMARK(liveTypicalDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();

void liveLargestDrawing(benchmark::State& state) {
    std::mt19937 random(1);
    changeToPaintedResult(state,
                          *fixtures::randomWalks(random, kSlotCount, kMaxPoints, 40, {1919, 1079}));
}
BENCHMARK(liveLargestDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace penmoji

int main(int argc, char** argv) {
    return penmoji::bench::runOffscreenBenchmarks(argc, argv);
}
