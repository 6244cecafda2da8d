// From a change of the drawing to the canvas painted with the new text, offscreen, and how
// late the GUI thread answers meanwhile.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <random>

#include "app/app_state.h"
#include "app/live_rendering.h"
#include "canvas/edit_canvas.h"
#include "drawing_fixtures.h"

namespace penmoji {
namespace {

// Runs the event loop until `done`, noting the longest wait of a 2 ms timer meanwhile: the
// delay an input event would have met.
template <typename Done>
double waitNotingDelay(Done done) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticker.start(2);
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return static_cast<double>(std::max(longest, clock.elapsed() - last));
}

void changeToPaintedResult(benchmark::State& state, const VectorSet& drawing) {
    AppState app;
    app.document.document().replaceAll(drawing);
    CEditCanvas canvas(app.document, app.charWidths);
    canvas.resize(1920, 1080);
    canvas.show();
    LiveRendering live(app);
    bool delivered = false;
    QObject::connect(&live, &LiveRendering::updated,
                     [&](const std::shared_ptr<const RenderOutcome>& outcome) {
                         canvas.setGlyphBoxes(outcome->result.boxes);
                         canvas.setTextArt(outcome->result.glyphs);
                         canvas.preview().setPreviewText(outcome->result.text);
                         canvas.repaint();
                         delivered = true;
                     });
    QObject::connect(&app.document, &DocumentModel::changed, &live, &LiveRendering::invalidate);
    live.invalidate();
    waitNotingDelay([&] { return delivered; });

    double worstDelay = 0;
    int step = 0;
    for (auto _ : state) {
        delivered = false;
        const Point p = drawing.lines[0].points[0];
        app.document.document().setPoint(0, 0, {p.x + (++step % 2), p.y});
        worstDelay = std::max(worstDelay, waitNotingDelay([&] { return delivered; }));
    }
    state.counters["worst_event_delay_ms"] = worstDelay;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
