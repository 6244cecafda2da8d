// SPDX-License-Identifier: MIT
// The art layer in the editor, offscreen: from placing, moving or replacing a piece to the
// canvas painted with the new art, and pasting a large piece of text art.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMimeData>

#include <random>

#include "app/character_palette.h"
#include "app/live_rendering.h"
#include "canvas/art_text_input.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/char_width_table.h"
#include "drawing_fixtures.h"
#include "offscreen_canvas_bench.h"

namespace penmoji {
namespace {

using bench::PaintWatch;

template <typename Done>
void runEventsUntil(Done done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

// A face of a few rows, as boards have them.
const QString kFace =
    QStringLiteral("　 ∧＿∧\n　（　´∀｀）\n　（　　　　）\n　｜ ｜　|\n　（_＿)＿）");

// The editor as the main window wires it: the live rendering follows the drawing and its
// pieces, and each result is painted on the canvas.
struct LiveCanvas {
    EditorDocument document;
    CharWidthTable charWidths;
    CEditCanvas canvas{document, charWidths};
    LiveRendering live{document};
    PaintWatch watch;
    std::vector<PlacedGlyph> shownGlyphs;

    explicit LiveCanvas(const VectorSet& drawing) {
        document.document().replaceAll(drawing);
        canvas.resize(1280, 800);
        canvas.show();
        canvas.installEventFilter(&watch);
        QObject::connect(&live, &LiveRendering::updated,
                         [this](const std::shared_ptr<const RenderOutcome>& outcome) {
                             canvas.setGlyphBoxes(outcome->result.boxes);
                             canvas.setTextArt(outcome->result.glyphs);
                             canvas.preview().setPreviewText(outcome->result.text);
                             const bool looksNew = outcome->result.glyphs != shownGlyphs;
                             shownGlyphs = outcome->result.glyphs;
                             watch.armed = true;
                             watch.painted = !looksNew;
                         });
        QObject::connect(&document, &EditorDocument::drawingChanged, &live,
                         &LiveRendering::invalidate);
        QObject::connect(&document, &EditorDocument::placedTextChanged, &live,
                         &LiveRendering::invalidate);
        live.invalidate();
        runEventsUntil([&] { return watch.painted; });
        QElapsedTimer settling;
        settling.start();
        runEventsUntil([&] { return settling.elapsed() > 300; });
    }

    // Runs `change` and waits for the new art on the canvas.
    template <typename Change>
    void changeAndWait(Change change) {
        watch.armed = false;
        watch.painted = false;
        change();
        runEventsUntil([&] { return watch.painted && live.upToDate(); });
    }
};

std::unique_ptr<VectorSet> typicalDrawing() {
    std::mt19937 random(2);
    return fixtures::randomWalks(random, 36, 6, 30, {639, 399});
}

// Each iteration places a face, moves it by a few pixels and a row, or puts another character
// in one of its places, in turn, and waits for the art painted with it.
void pieceEdits(benchmark::State& state, const VectorSet& drawing) {
    LiveCanvas editor(drawing);
    const ArtInput face = readArtText(kFace);
    editor.changeAndWait([&] { editor.document.addPiece({200, 150, face.rows}, "place"); });
    int step = 0;
    for (auto _ : state) {
        switch (step++ % 3) {
            case 0:
                editor.changeAndWait([&] { editor.document.nudgePiece(0, 7, 1); });
                break;
            case 1:
                editor.changeAndWait([&] {
                    PlacedPiece replaced = editor.document.placedText()[0];
                    replaced.rows[1][2] = replaced.rows[1][2] == 0x8176 ? 0x82CC : 0x8176;
                    editor.document.replacePiece(0, std::move(replaced), "replace");
                });
                break;
            default:
                editor.changeAndWait([&] { editor.document.deletePiece(0); });
                editor.changeAndWait([&] {
                    editor.document.addPiece({200 + step % 40, 150, face.rows}, "place");
                });
        }
    }
}

void pieceEditToPaintedArt(benchmark::State& state) {
    pieceEdits(state, *typicalDrawing());
}
BENCHMARK(pieceEditToPaintedArt)->Unit(benchmark::kMillisecond)->UseRealTime();

void pieceEditOnLargestDrawing(benchmark::State& state) {
    std::mt19937 random(1);
    pieceEdits(state, *fixtures::randomWalks(random, kSlotCount, kMaxPoints, 40, {1919, 1079}));
}
BENCHMARK(pieceEditOnLargestDrawing)->Unit(benchmark::kMillisecond)->UseRealTime();

// A piece of 100 rows of 60 characters from the clipboard: read, placed as one step and
// painted on the canvas (the art follows it as above).
void pasteLargePiece(benchmark::State& state) {
    EditorDocument document;
    CharWidthTable charWidths;
    CEditCanvas canvas(document, charWidths);
    canvas.resize(1280, 800);
    canvas.show();
    QString art;
    const QString characters = QStringLiteral("（´∀｀）／＼｜＿ノ丿ヽ从人ﾟдﾟ⊂⊃∩∪ミ彡");
    for (int row = 0; row < 100; ++row) {
        for (int c = 0; c < 60; ++c) {
            art += characters.at((row * 7 + c) % characters.size());
        }
        art += QLatin1Char('\n');
    }
    QMimeData data;
    data.setText(art);
    for (auto _ : state) {
        const ArtInput read = readClipboardArt(data);
        if (!read.ok()) {
            state.SkipWithError("the art could not be read");
            break;
        }
        document.selectPiece(document.addPiece({20, 20, read.rows}, "paste"));
        canvas.repaint();
        state.PauseTiming();
        document.undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(pasteLargePiece)->Unit(benchmark::kMillisecond)->UseRealTime();

// The touch-up palette's ranking of every character of the font for one place.
void paletteRanking(benchmark::State& state) {
    const std::unique_ptr<VectorSet> drawing = typicalDrawing();
    for (auto _ : state) {
        benchmark::DoNotOptimize(charactersForCell(*drawing, 300, 161, CharacterPalette::kShown));
    }
}
BENCHMARK(paletteRanking)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace penmoji

int main(int argc, char** argv) {
    return penmoji::bench::runOffscreenBenchmarks(argc, argv);
}
