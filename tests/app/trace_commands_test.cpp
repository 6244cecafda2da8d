// SPDX-License-Identifier: MIT
// The picture to draw over: opened, placed, moved, each change an undo step; painted at the
// canvas's zoom; traced (whole or in part) into the drawing in one step with the text art shown;
// kept with the drawing in its sidecar file.

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include <sys/stat.h>
#include <memory>

#include "app/background_task.h"
#include "app/command_ids.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/trace_commands.h"
#include "app/trace_dialog.h"
#include "app/trace_preview.h"
#include "app/trace_sidecar.h"
#include "app_session.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/trace_layer.h"
#include "fake_interaction.h"

namespace penmoji {
namespace {

FileChoice choiceOf(const QString& path) {
    return {path, QFileInfo(path).suffix()};
}

// Two dark strokes on white: a horizontal one at y 20 and a vertical one at x 100.
QImage strokesPicture() {
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(10, 20, 140, 20);
    painter.drawLine(100, 40, 100, 110);
    return picture;
}

void pressOk(QDialog& dialog) {
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

// Waits until the lines of the settings shown have come.
bool waitForLines(TraceDialog& dialog) {
    QSignalSpy traced(&dialog, &TraceDialog::traced);
    return !dialog.tracing() || traced.wait(10000);
}

}  // namespace

class TraceCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandsWaitForAPicture();
    void placementDialogActsAtOnceAndCancelPutsItBack();
    void tracingAddsTheLinesInOneChange();
    void tracingFillsOnlyTheFreeVectors();
    void sidecarGoesWithTheSavedDrawing();
    void missingPictureIsSaidAndTheDrawingOpens();
    void eachChangeOfThePictureIsAnUndoStep();
    void nudgesInARowAreOneStep();
    void openingADrawingBringsItsPictureInTheSameStep();
    void tracingAPartTracesOnlyWhatIsInside();
    void dragOverThePreviewChoosesThePart();
    void dialogShowsTheTextArtOfTheTracedLines();
    void dialogKeepsTheLinesShownUntilTheLatestTracingComes();
    void zoomedPictureIsSmoothOrBlocky();

private:
    void openPicture(const QString& name);
    Document& document() { return app_->document().document(); }
    QString path(const QString& name) const { return session_->dir().filePath(name); }
    bool enabled(int id) const { return frame_->action(id)->isEnabled(); }

    std::unique_ptr<AppSession> session_;
    FakeInteraction* fake_ = nullptr;
    CMainApp* app_ = nullptr;
    CMainFrame* frame_ = nullptr;
};

void TraceCommandsTest::init() {
    session_ = std::make_unique<AppSession>();
    QVERIFY(session_->start());
    fake_ = &session_->fake();
    app_ = &session_->app();
    frame_ = &session_->frame();
}

void TraceCommandsTest::cleanup() {
    session_.reset();
}

void TraceCommandsTest::openPicture(const QString& name) {
    QVERIFY(strokesPicture().save(path(name)));
    fake_->filesToOpen.push_back(choiceOf(path(name)));
    frame_->dispatchCommand(command::kTraceOpen);
    QVERIFY(fake_->messages.isEmpty());
}

void TraceCommandsTest::commandsWaitForAPicture() {
    using namespace command;
    for (int id : {kTraceClose, kTraceShow, kTraceOpacity, kTracePlace, kTraceToLines}) {
        QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
    }
    QVERIFY(enabled(kTraceOpen));

    openPicture(QStringLiteral("picture.png"));
    for (int id : {kTraceClose, kTraceShow, kTraceOpacity, kTracePlace, kTraceToLines}) {
        QVERIFY2(enabled(id), qPrintable(QString::number(id)));
    }
    QVERIFY(frame_->action(kTraceShow)->isChecked());
    // The picture shows under the drawing: the stroke's pixel is no longer white.
    CEditCanvas& canvas = frame_->canvas();
    const QPoint stroke = canvas.contentsRect().topLeft() + QPoint(50, 20);
    QVERIFY(canvas.grab().toImage().pixelColor(stroke) != QColor(Qt::white));

    frame_->dispatchCommand(kTraceShow);
    QVERIFY(!frame_->action(kTraceShow)->isChecked());
    QCOMPARE(canvas.grab().toImage().pixelColor(stroke), QColor(Qt::white));

    frame_->dispatchCommand(kTraceClose);
    QVERIFY(!enabled(kTraceToLines));

    std::ofstream(path("broken.png").toStdString()) << "not a picture";
    fake_->filesToOpen.push_back(choiceOf(path("broken.png")));
    frame_->dispatchCommand(kTraceOpen);
    QCOMPARE(fake_->messages.size(), 1);
    QVERIFY(fake_->messages[0].contains(QStringLiteral("読めません")));
    QVERIFY(!enabled(kTraceClose));
}

void TraceCommandsTest::placementDialogActsAtOnceAndCancelPutsItBack() {
    openPicture(QStringLiteral("picture.png"));
    CEditCanvas& canvas = frame_->canvas();
    const QPoint moved = canvas.contentsRect().topLeft() + QPoint(250, 80);
    fake_->inDialog = [&](QDialog& dialog) {
        const auto boxes = dialog.findChildren<QDoubleSpinBox*>();
        dialog.findChild<QSpinBox*>()->setValue(200);  // the stroke at y 20 now lies at 40
        boxes[0]->setValue(30);
        boxes[1]->setValue(40);
        // Live: y 40 + 2 * 20 = 80, x 30 + 2 * 110 = 250.
        QVERIFY(canvas.grab().toImage().pixelColor(moved) != QColor(Qt::white));
    };
    frame_->dispatchCommand(command::kTracePlace);  // cancelled by the fake
    QCOMPARE(canvas.grab().toImage().pixelColor(moved), QColor(Qt::white));

    const auto inDialog = fake_->inDialog;
    fake_->inDialog = [&](QDialog& dialog) {
        inDialog(dialog);
        pressOk(dialog);
    };
    frame_->dispatchCommand(command::kTracePlace);
    QVERIFY(canvas.grab().toImage().pixelColor(moved) != QColor(Qt::white));
}

void TraceCommandsTest::tracingAddsTheLinesInOneChange() {
    openPicture(QStringLiteral("picture.png"));
    // Placed at (5, 7) and doubled, the lines come out in canvas pixels.
    fake_->inDialog = [](QDialog& dialog) {
        const auto boxes = dialog.findChildren<QDoubleSpinBox*>();
        boxes[0]->setValue(5);
        boxes[1]->setValue(7);
        dialog.findChild<QSpinBox*>()->setValue(200);
        pressOk(dialog);
    };
    frame_->dispatchCommand(command::kTracePlace);

    const QUndoStack& steps = app_->document().history().stack();
    const int stepsBefore = steps.count();
    QString summary;
    fake_->inDialog = [&](QDialog& dialog) {
        auto& trace = dynamic_cast<TraceDialog&>(dialog);
        QVERIFY(waitForLines(trace));
        summary = trace.summary().text();
        pressOk(dialog);
    };
    frame_->dispatchCommand(command::kTraceToLines);
    QCOMPARE(steps.count(), stepsBefore + 1);
    QVERIFY2(summary.contains(QStringLiteral("ベクトル 2 本")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("許容誤差 1 px")), qPrintable(summary));
    const VectorLine& horizontal = document().line(0);
    const VectorLine& vertical = document().line(1);
    // Straight strokes where the picture puts them; an end may keep a short bend of the
    // thinning within the tolerance (1 picture pixel, 2 canvas pixels here).
    QVERIFY(horizontal.count >= 2 && horizontal.count <= 3);
    QVERIFY(vertical.count >= 2 && vertical.count <= 3);
    for (int i = 0; i < horizontal.count; ++i) {
        QVERIFY(std::abs(horizontal.points[i].y - (7 + 2 * 20)) <= 2);
    }
    for (int i = 0; i < vertical.count; ++i) {
        QVERIFY(std::abs(vertical.points[i].x - (5 + 2 * 100)) <= 2);
    }
    // The stroke runs from x 10 to 140 with square caps 1.5 pixels long: 3 canvas pixels.
    const int last = horizontal.count - 1;
    QVERIFY(std::abs(horizontal.points[0].x - (5 + 2 * 10)) <= 3);
    QVERIFY(std::abs(horizontal.points[last].x - (5 + 2 * 140)) <= 3);
    QCOMPARE(document().line(2).count, 0);

    // Cancelled, nothing changes.
    fake_->inDialog = nullptr;
    const VectorSet traced = document().vectors();
    frame_->dispatchCommand(command::kTraceToLines);
    QCOMPARE(steps.count(), stepsBefore + 1);
    QCOMPARE(document().line(1).count, traced.lines[1].count);
    QCOMPARE(document().line(2).count, 0);

    // One undo takes both lines away.
    frame_->dispatchCommand(command::kEditUndo);
    QCOMPARE(document().line(0).count, 0);
    QCOMPARE(document().line(1).count, 0);
}

void TraceCommandsTest::tracingFillsOnlyTheFreeVectors() {
    // Every slot but slot 7 is taken: one line fits, the longer one, and the rest stay as they
    // were.
    const Point taken[] = {{1, 1}, {2, 2}};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (slot != 7) {
            document().setVector(slot, taken);
        }
    }
    openPicture(QStringLiteral("picture.png"));
    fake_->inDialog = [](QDialog& dialog) {
        auto& trace = dynamic_cast<TraceDialog&>(dialog);
        QVERIFY(waitForLines(trace));
        QCOMPARE(trace.result().report.droppedLines, 1);
        pressOk(dialog);
    };
    frame_->dispatchCommand(command::kTraceToLines);
    QCOMPARE(document().line(7).count, 2);
    QCOMPARE(document().line(7).points[0].y, 20);  // the horizontal stroke, the longer one
    QCOMPARE(document().line(0).points[1], (Point{2, 2}));
}

void TraceCommandsTest::sidecarGoesWithTheSavedDrawing() {
    openPicture(QStringLiteral("picture.png"));
    fake_->inDialog = [](QDialog& dialog) {
        dialog.findChild<QSpinBox*>()->setValue(40);
        pressOk(dialog);
    };
    frame_->dispatchCommand(command::kTraceOpacity);
    fake_->inDialog = nullptr;

    const QString drawing = path("drawing.pmj");
    fake_->filesToSave.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kSaveAs);
    QFile sidecar(sidecarPath(drawing));
    QVERIFY(sidecar.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(sidecar.readAll()).object();
    sidecar.close();
    QCOMPARE(json.value("image").toString(), QStringLiteral("picture.png"));
    QCOMPARE(json.value("opacity").toDouble(), 0.4);
    QCOMPARE(json.value("visible").toBool(), true);

    frame_->dispatchCommand(command::kTraceClose);
    fake_->filesToOpen.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kOpen);
    QVERIFY(frame_->action(command::kTraceClose)->isEnabled());
    QVERIFY(frame_->action(command::kTraceShow)->isChecked());

    // Saved again without the picture, the sidecar goes, so the picture does not come back.
    frame_->dispatchCommand(command::kTraceClose);
    fake_->filesToSave.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kSaveAs);
    QVERIFY(!QFileInfo::exists(sidecarPath(drawing)));
    QVERIFY(QFileInfo::exists(drawing));
}

void TraceCommandsTest::missingPictureIsSaidAndTheDrawingOpens() {
    openPicture(QStringLiteral("gone.png"));
    const Point points[] = {{3, 4}, {50, 60}};
    document().setVector(0, points);
    const QString drawing = path("drawing.pmj");
    fake_->filesToSave.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kSaveAs);
    QVERIFY(QFile::remove(path("gone.png")));
    document().clear();
    fake_->messages.clear();

    fake_->filesToOpen.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kOpen);
    QCOMPARE(document().line(0).count, 2);
    QVERIFY(!frame_->action(command::kTraceClose)->isEnabled());
    QCOMPARE(fake_->messages.size(), 2);  // the picture's, then finished
    QVERIFY2(fake_->messages[0].contains(QStringLiteral("gone.png")),
             qPrintable(fake_->messages[0]));

    // A FIFO where the picture was would never give a byte: it is refused at once.
    QVERIFY(::mkfifo(QFile::encodeName(path("gone.png")).constData(), 0600) == 0);
    fake_->messages.clear();
    fake_->filesToOpen.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kOpen);
    QCOMPARE(document().line(0).count, 2);
    QVERIFY(!frame_->action(command::kTraceClose)->isEnabled());
    QVERIFY2(fake_->messages.value(0).contains(QStringLiteral("gone.png")),
             qPrintable(fake_->messages.value(0)));
    fake_->filesToOpen.push_back(choiceOf(path("gone.png")));
    frame_->dispatchCommand(command::kTraceOpen);
    QVERIFY(!frame_->action(command::kTraceClose)->isEnabled());
    QVERIFY(fake_->messages.last().contains(QStringLiteral("gone.png")));

    // A sidecar that is no sidecar is said too.
    QFile broken(sidecarPath(drawing));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{ not json");
    broken.close();
    fake_->messages.clear();
    fake_->filesToOpen.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kOpen);
    QCOMPARE(fake_->messages.size(), 2);
    QCOMPARE(document().line(0).count, 2);
}

namespace {

// What the canvas shows of the picture: whether it does, and where and how.
struct ShownPicture {
    bool shown;
    TracePlacement placement;
    bool operator==(const ShownPicture&) const = default;
};

ShownPicture shownPicture(const CEditCanvas& canvas) {
    return {!canvas.traceLayer().isEmpty(), canvas.traceLayer().placement()};
}

}  // namespace

void TraceCommandsTest::eachChangeOfThePictureIsAnUndoStep() {
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    struct Case {
        const char* name;
        bool withPicture;  // opened before the change
        std::function<void()> change;
    };
    const Case cases[] = {
        {"open", false, [&] { openPicture(QStringLiteral("picture.png")); }},
        {"close", true, [&] { frame_->dispatchCommand(command::kTraceClose); }},
        {"hide", true, [&] { frame_->dispatchCommand(command::kTraceShow); }},
        {"opacity", true,
         [&] {
             fake_->inDialog = [](QDialog& dialog) {
                 dialog.findChild<QSpinBox*>()->setValue(30);
                 pressOk(dialog);
             };
             frame_->dispatchCommand(command::kTraceOpacity);
         }},
        {"place", true,
         [&] {
             fake_->inDialog = [](QDialog& dialog) {
                 dialog.findChildren<QDoubleSpinBox*>()[0]->setValue(30);
                 dialog.findChild<QSpinBox*>()->setValue(300);
                 pressOk(dialog);
             };
             frame_->dispatchCommand(command::kTracePlace);
         }},
        {"drag", true,
         [&] {
             CEditCanvas& canvas = frame_->canvas();
             const QPoint origin = canvas.contentsRect().topLeft();
             QTest::mousePress(&canvas, Qt::LeftButton, ctrlAlt, origin + QPoint(50, 20));
             QTest::mouseMove(&canvas, origin + QPoint(55, 27));
             QTest::mouseMove(&canvas, origin + QPoint(60, 35));
             QTest::mouseRelease(&canvas, Qt::LeftButton, ctrlAlt, origin + QPoint(60, 35));
             QCOMPARE(canvas.traceLayer().placement().offset, QPointF(10, 15));
         }},
        {"nudge", true, [&] { frame_->dispatchCommand(command::kTraceNudgeDown); }},
    };
    for (const Case& c : cases) {
        cleanup();
        init();
        CEditCanvas& fresh = frame_->canvas();
        if (c.withPicture) {
            openPicture(QStringLiteral("picture.png"));
        }
        const QUndoStack& steps = app_->document().history().stack();
        const int stepsBefore = steps.count();
        const ShownPicture before = shownPicture(fresh);
        c.change();
        const ShownPicture after = shownPicture(fresh);
        QVERIFY2(!(after == before), c.name);
        QVERIFY2(steps.count() == stepsBefore + 1, c.name);
        QVERIFY2(frame_->isWindowModified(), c.name);
        // The drawing itself is untouched: a drag of the picture draws nothing.
        QVERIFY2(document().line(0).count == 0, c.name);

        frame_->dispatchCommand(command::kEditUndo);
        QVERIFY2(shownPicture(fresh) == before, c.name);
        frame_->dispatchCommand(command::kEditRedo);
        QVERIFY2(shownPicture(fresh) == after, c.name);
    }
}

void TraceCommandsTest::nudgesInARowAreOneStep() {
    openPicture(QStringLiteral("picture.png"));
    const QUndoStack& steps = app_->document().history().stack();
    const int stepsBefore = steps.count();
    for (int id : {command::kTraceNudgeRight, command::kTraceNudgeRight, command::kTraceNudgeDown,
                   command::kTraceNudgeRight}) {
        frame_->dispatchCommand(id);
    }
    const CEditCanvas& canvas = frame_->canvas();
    QCOMPARE(canvas.traceLayer().placement().offset, QPointF(3, 1));
    QCOMPARE(steps.count(), stepsBefore + 1);
    frame_->dispatchCommand(command::kEditUndo);
    QCOMPARE(canvas.traceLayer().placement().offset, QPointF(0, 0));
    QVERIFY(!canvas.traceLayer().isEmpty());
}

void TraceCommandsTest::openingADrawingBringsItsPictureInTheSameStep() {
    openPicture(QStringLiteral("picture.png"));
    const Point points[] = {{3, 4}, {50, 60}};
    document().setVector(0, points);
    const QString drawing = path("drawing.pmj");
    fake_->filesToSave.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kSaveAs);
    frame_->dispatchCommand(command::kTraceClose);
    document().clear();

    fake_->filesToOpen.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kOpen);
    const CEditCanvas& canvas = frame_->canvas();
    QCOMPARE(document().line(0).count, 2);
    QVERIFY(!canvas.traceLayer().isEmpty());
    QVERIFY(!frame_->isWindowModified());
    QCOMPARE(frame_->action(command::kEditUndo)->text(),
             QStringLiteral("元に戻す: ファイルを開く"));

    // One undo puts back the empty drawing and the closed picture together.
    frame_->dispatchCommand(command::kEditUndo);
    QCOMPARE(document().line(0).count, 0);
    QVERIFY(canvas.traceLayer().isEmpty());
    frame_->dispatchCommand(command::kEditRedo);
    QCOMPARE(document().line(0).count, 2);
    QVERIFY(!canvas.traceLayer().isEmpty());
}

void TraceCommandsTest::tracingAPartTracesOnlyWhatIsInside() {
    openPicture(QStringLiteral("picture.png"));
    struct Case {
        const char* name;
        QRect region;  // in picture pixels; null for the whole
        int vectors;
    };
    const Case cases[] = {
        {"whole", {}, 2},
        {"the vertical stroke", {90, 30, 25, 90}, 1},
        {"both ends of nothing", {0, 50, 60, 60}, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<Point>> lines;
        fake_->inDialog = [&](QDialog& dialog) {
            auto& trace = dynamic_cast<TraceDialog&>(dialog);
            trace.setRegion(c.region);
            QVERIFY(waitForLines(trace));
            lines = trace.canvasLines();
            QCOMPARE(trace.preview().region(), c.region);
        };
        frame_->dispatchCommand(command::kTraceToLines);
        QVERIFY2(int(lines.size()) == c.vectors, c.name);
        if (c.vectors == 1) {
            // In canvas pixels, where the stroke is, not where the part begins.
            QVERIFY(std::abs(lines[0].front().x - 100) <= 1);
            QVERIFY(std::abs(lines[0].back().x - 100) <= 1);
        }
    }
}

void TraceCommandsTest::dragOverThePreviewChoosesThePart() {
    // 160 x 120 shown in 320 x 240: each picture pixel is 2 x 2 screen pixels, no margin.
    TracePreview preview(strokesPicture(), {});
    preview.resize(320, 240);
    QSignalSpy chosen(&preview, &TracePreview::regionChosen);
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(200, 40));
    QTest::mouseMove(&preview, QPoint(220, 150));
    QTest::mouseMove(&preview, QPoint(240, 200));
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(240, 200));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(preview.region(), QRect(QPoint(100, 20), QPoint(120, 100)));
    QCOMPARE(chosen.takeFirst().at(0).toRect(), preview.region());

    // A drag beyond the picture stops at its edge; a click goes back to the whole.
    QTest::mousePress(&preview, Qt::LeftButton, {}, QPoint(160, 160));
    QTest::mouseMove(&preview, QPoint(600, 600));
    QTest::mouseRelease(&preview, Qt::LeftButton, {}, QPoint(600, 600));
    QCOMPARE(preview.region(), QRect(QPoint(80, 80), QPoint(159, 119)));
    QTest::mouseClick(&preview, Qt::LeftButton, {}, QPoint(120, 120));
    QVERIFY(preview.region().isNull());
    QCOMPARE(chosen.count(), 2);
}

void TraceCommandsTest::dialogShowsTheTextArtOfTheTracedLines() {
    openPicture(QStringLiteral("picture.png"));
    fake_->inDialog = [&](QDialog& dialog) {
        auto& trace = dynamic_cast<TraceDialog&>(dialog);
        QSignalSpy shown(&trace, &TraceDialog::textArtShown);
        QVERIFY(shown.wait(10000));
        QVERIFY(trace.textArt());
        const std::vector<PlacedGlyph>& glyphs = trace.textArt()->result.glyphs;
        // Characters along the row of the horizontal stroke at y 20, and down the vertical one
        // at x 100.
        QVERIFY(std::any_of(glyphs.begin(), glyphs.end(), [](const PlacedGlyph& g) {
            return g.top <= 20 && 20 < g.top + 16 && g.x < 40;
        }));
        QVERIFY(std::any_of(glyphs.begin(), glyphs.end(), [](const PlacedGlyph& g) {
            return g.top > 60 && std::abs(g.x - 100) <= 4;
        }));
    };
    frame_->dispatchCommand(command::kTraceToLines);
    // Only looked at: the drawing is as it was.
    QCOMPARE(document().line(0).count, 0);
}

// Tracing runs beside the dialog: the lines shown stay until the next ones come, OK waits for
// the lines of the settings shown, and of two changes in a row only the last one's lines come.
void TraceCommandsTest::dialogKeepsTheLinesShownUntilTheLatestTracingComes() {
    openPicture(QStringLiteral("picture.png"));
    fake_->inDialog = [&](QDialog& dialog) {
        auto& trace = dynamic_cast<TraceDialog&>(dialog);
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QVERIFY(waitForLines(trace));
        QVERIFY(ok->isEnabled());
        const std::vector<std::vector<Point>> both = trace.canvasLines();
        QCOMPARE(both.size(), 2u);

        QSignalSpy traced(&trace, &TraceDialog::traced);
        trace.setRegion({0, 0, 160, 60});  // the horizontal stroke alone
        QVERIFY(trace.tracing());
        QVERIFY(!ok->isEnabled());
        QVERIFY(trace.canvasLines() == both);
        trace.setRegion({90, 30, 25, 90});  // the vertical stroke alone
        QVERIFY(traced.wait(10000));
        QTRY_COMPARE(BackgroundTask::runningThreads(), 0);
        QTest::qWait(20);
        QCOMPARE(traced.count(), 1);
        QVERIFY(!trace.tracing());
        QVERIFY(ok->isEnabled());
        QCOMPARE(trace.canvasLines().size(), 1u);
        pressOk(dialog);
    };
    frame_->dispatchCommand(command::kTraceToLines);
    QCOMPARE(document().line(0).points[0].x, 100);
    QCOMPARE(document().line(1).count, 0);
}

void TraceCommandsTest::zoomedPictureIsSmoothOrBlocky() {
    // Two pixels, black then white, shown at four screen pixels a canvas pixel.
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(1, 0, qRgb(255, 255, 255));
    const auto paint = [&](bool smooth) {
        TraceLayer layer;
        layer.setImage(picture, {{0, 0}, 1.0, 1.0});
        layer.setSmooth(smooth);
        QImage screen(8, 4, QImage::Format_RGB32);
        screen.fill(Qt::white);
        QPainter painter(&screen);
        layer.paint(painter, 4);
        painter.end();
        return screen;
    };
    const QImage blocky = paint(false);
    QCOMPARE(blocky.pixelColor(3, 1), QColor(Qt::black));
    QCOMPARE(blocky.pixelColor(4, 1), QColor(Qt::white));
    const QImage smooth = paint(true);
    QVERIFY(smooth.pixelColor(3, 1) != QColor(Qt::black));
    QVERIFY(smooth.pixelColor(3, 1) != QColor(Qt::white));

    // On the canvas: the zoom scales the picture, and the choice is the View menu's, kept.
    openPicture(QStringLiteral("picture.png"));
    CEditCanvas& canvas = frame_->canvas();
    canvas.setZoom(4);
    const QPoint stroke = canvas.contentsRect().topLeft() + QPoint(50 * 4 + 2, 20 * 4 + 2);
    QVERIFY(canvas.grab().toImage().pixelColor(stroke) != QColor(Qt::white));
    QVERIFY(frame_->action(command::kTraceSmooth)->isChecked());
    frame_->dispatchCommand(command::kTraceSmooth);
    QVERIFY(!canvas.traceLayer().smooth());
    QVERIFY(!frame_->action(command::kTraceSmooth)->isChecked());
    QCOMPARE(app_->settings()->value("view/traceSmooth").toBool(), false);
}

}  // namespace penmoji

QTEST_MAIN(penmoji::TraceCommandsTest)
#include "trace_commands_test.moc"
