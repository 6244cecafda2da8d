// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/board_limits_pane.h"
#include "app/command_ids.h"
#include "app/copy_commands.h"
#include "app/live_rendering.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/preview_text_view.h"
#include "compose/board_limits.h"
#include "compose/render_driver.h"
#include "compose/trimmed_drawing.h"
#include "fake_interaction.h"
#include "rendering_wait.h"

namespace penmoji {
namespace {

using Outcome = std::shared_ptr<const RenderOutcome>;

// A short slanted stroke far from the top left, so the art has a margin to trim.
const Point kStroke[] = {{200, 100}, {260, 130}};

std::string directText(const VectorSet& vectors, const RenderSettings& settings,
                       RandomGenerator random) {
    NoProgress quiet;
    return renderText(vectors, settings, random, quiet)->text;
}

}  // namespace

class LiveResultTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        fake_ = std::make_unique<FakeInteraction>();
        app_ = std::make_unique<CMainApp>(*fake_);
        QVERIFY(app_->initInstance());
        frame_ = app_->mainFrame();
        QTRY_VERIFY(live().upToDate());
    }

    void cleanup() {
        app_.reset();
        fake_.reset();
    }

    void aBurstOfChangesDeliversOneRenderingOfTheLatestDrawing() {
        QSignalSpy updated(&live(), &LiveRendering::updated);
        for (int i = 0; i < 50; ++i) {
            document().appendPoint(3, {10 + 7 * i, 20 + (i % 5) * 9});
        }
        QTRY_COMPARE(updated.count(), 1);
        QTest::qWait(100);
        QCOMPARE(updated.count(), 1);
        const Outcome outcome = updated[0][0].value<Outcome>();
        QCOMPARE(outcome->result.text,
                 directText(document().vectors(), state().renderSettings(), state().random()));
        // What the canvas and the preview show is that rendering.
        QCOMPARE(frame_->canvas().glyphBoxes().boxCount(), outcome->result.boxes.boxCount());
        QCOMPARE(frame_->canvas().preview().previewText(), outcome->result.text);
    }

    void figuresCountWhatTheCopyGives_data() {
        QTest::addColumn<bool>("trim");
        QTest::newRow("trimmed") << true;
        QTest::newRow("as drawn") << false;
    }

    // The status bar counts, and checks against the board, exactly the text a copy gives. A
    // stroke 25 rows down is over the standard board's 24 rows as drawn, and fits trimmed.
    void figuresCountWhatTheCopyGives() {
        QFETCH(bool, trim);
        state().setBoardProfile(1);
        if (!trim) {
            frame_->dispatchCommand(command::kTrimMargins);
        }
        document().setVector(0, {{{200, 400}, {260, 430}}});
        QTRY_VERIFY(live().upToDate());
        QTRY_VERIFY(!trim || frame_->copiedRendering().upToDate());
        frame_->dispatchCommand(command::kEditCopy);
        QVERIFY(renderingEnded(*frame_));
        const QByteArray copied =
            QStringEncoder("Shift_JIS").encode(QGuiApplication::clipboard()->text());
        const BoardPaneText expected = boardPaneText(copied.toStdString(), boardProfiles()[1]);
        QCOMPARE(frame_->figuresPane().text(), expected.text);
        QCOMPARE(frame_->figuresPane().styleSheet().contains(QStringLiteral("red")), !trim);

        // Switched over, the figures follow at once.
        frame_->dispatchCommand(command::kTrimMargins);
        QTRY_VERIFY(trim || frame_->copiedRendering().upToDate());
        QTRY_COMPARE(frame_->figuresPane().styleSheet().contains(QStringLiteral("red")), trim);
    }

    // Live renderings start from a copy of the dots of the saved files and advance nothing.
    void liveRenderingsLeaveTheSavedFilesAsTheyWere() {
        QTemporaryDir dir;
        RenderSettings dotted = state().renderSettings();
        dotted.useDots = true;
        state().setRenderSettings(dotted);
        document().setVector(0, kStroke);
        RandomGenerator expected;
        const std::string first =
            directText(document().vectors(), state().renderSettings(), expected);
        for (int i = 0; i < 5; ++i) {
            document().setPoint(0, 1, {260 + i, 130});
            QTRY_VERIFY(live().upToDate());
        }
        document().setPoint(0, 1, {260, 130});
        QTRY_VERIFY(live().upToDate());
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        fake_->filesToSave.push_back({out, QStringLiteral("txt")});
        frame_->dispatchCommand(command::kRenderAs);
        QVERIFY(renderingEnded(*frame_));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(first.data(), qsizetype(first.size())) + '\0');
    }

    void copyPutsTheArtOnTheClipboard_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("trim");
        QTest::addColumn<bool>("unicodeBlanks");
        QTest::newRow("コピー, trimmed") << command::kEditCopy << true << false;
        QTest::newRow("コピー, as drawn") << command::kEditCopy << false << false;
        QTest::newRow("Unicode 空白でコピー") << command::kCopyUnicode << true << true;
    }

    void copyPutsTheArtOnTheClipboard() {
        QFETCH(int, command);
        QFETCH(bool, trim);
        QFETCH(bool, unicodeBlanks);
        document().setVector(0, kStroke);
        QTRY_VERIFY(live().upToDate());
        if (!trim) {
            frame_->dispatchCommand(command::kTrimMargins);
        }
        frame_->dispatchCommand(command);
        QVERIFY(renderingEnded(*frame_));

        VectorSet vectors = document().vectors();
        if (trim) {
            vectors = trimmedDrawing(vectors, state().renderSettings());
        }
        std::string expected = directText(vectors, state().renderSettings(), state().random());
        if (trim) {
            dropEmptyRows(expected);
        }
        if (unicodeBlanks) {
            QVERIFY(expected.find('&') != std::string::npos);  // entities to replace
        }
        const QString clipboard = QGuiApplication::clipboard()->text();
        QVERIFY(!clipboard.contains(QChar(0)));
        QVERIFY(clipboard.endsWith(QStringLiteral("\r\n")));
        QString shouldBe = QStringDecoder("Shift_JIS").decode(QByteArray::fromStdString(expected));
        if (unicodeBlanks) {
            QVERIFY(!clipboard.contains(QLatin1Char('&')));
        }
        if (unicodeBlanks) {
            shouldBe.replace(QStringLiteral("&nbsp;"), QString(QChar(0x00A0)))
                .replace(QStringLiteral("&ensp;"), QString(QChar(0x2002)))
                .replace(QStringLiteral("&thinsp;"), QString(QChar(0x2009)));
        }
        QCOMPARE(clipboard, shouldBe);
        // Trimmed, the art starts at the top and ends at its last row: neither row is empty.
        QCOMPARE(clipboard.startsWith(QStringLiteral("\u3000\r\n")), !trim);
        QCOMPARE(clipboard.endsWith(QStringLiteral("\n\u3000\r\n")), !trim);
    }

    void trimmedArtIsTheArtDrawnAtTheTopLeft() {
        VectorSet far;
        VectorSet near;
        far.lines[0].count = near.lines[0].count = 2;
        for (int i = 0; i < 2; ++i) {
            // Moved by whole rows and a multiple of the scan step.
            near.lines[0].points[i] = {kStroke[i].x - 160, kStroke[i].y - 64};
            far.lines[0].points[i] = kStroke[i];
        }
        RenderSettings settings;
        std::string fromFar = directText(trimmedDrawing(far, settings), settings, {});
        std::string fromNear = directText(trimmedDrawing(near, settings), settings, {});
        dropLeadingEmptyRows(fromFar);
        dropLeadingEmptyRows(fromNear);
        QCOMPARE(fromFar, fromNear);
    }

    void previewOpensOnTheArtAndCanBeBroughtBack() {
        document().setVector(0, {{{900, 700}, {960, 730}}});
        QTRY_VERIFY(live().upToDate());
        CPreviewWindow& preview = frame_->canvas().preview();
        PreviewTextView& view = preview.textView();
        QVERIFY(view.verticalScrollBar()->value() > 0);
        QVERIFY(view.horizontalScrollBar()->value() > 0);

        frame_->dispatchCommand(command::kPreviewWindow);
        QVERIFY(preview.isHidden());
        QVERIFY(!frame_->action(command::kPreviewWindow)->isChecked());
        preview.move(5000, 5000);
        frame_->dispatchCommand(command::kPreviewHome);
        QVERIFY(!preview.isHidden());
        QCOMPARE(
            frame_->canvasView().previewInView(),
            QRect(frame_->canvas().contentsRect().topLeft() + QPoint(200, 200), QSize(200, 200)));
        QVERIFY(frame_->action(command::kPreviewWindow)->isChecked());
    }

    void textArtShowsEachCharacterAtItsCell() {
        CEditCanvas& canvas = frame_->canvas();
        canvas.preview().hide();
        canvas.setShowGuides(false);
        const PlacedGlyph bar{40, 17, 0x817B};  // "＋": ink across its middle
        canvas.setTextArt(std::span(&bar, 1));
        const QRect client = canvas.contentsRect();
        QImage image = canvas.grab(client).toImage();
        auto inkIn = [&](QRect cell) {
            int ink = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    ink += image.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
                }
            }
            return ink;
        };
        QVERIFY(inkIn(QRect(40, 17, 16, 16)) > 4);
        QCOMPARE(inkIn(QRect(0, 0, 40, 60)), 0);
        frame_->dispatchCommand(command::kTextArt);
        image = canvas.grab(client).toImage();
        QCOMPARE(inkIn(QRect(40, 17, 16, 16)), 0);
    }

private:
    EditorDocument& state() { return app_->document(); }
    Document& document() { return state().document(); }
    LiveRendering& live() { return frame_->liveRendering(); }

    std::unique_ptr<FakeInteraction> fake_;
    std::unique_ptr<CMainApp> app_;
    CMainFrame* frame_ = nullptr;
};

}  // namespace penmoji

QTEST_MAIN(penmoji::LiveResultTest)
#include "live_result_test.moc"
