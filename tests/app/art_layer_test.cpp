// SPDX-License-Identifier: MIT
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/character_palette.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/copied_art.h"
#include "app/copy_commands.h"
#include "app/live_rendering.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/placed_text_commands.h"
#include "canvas/art_text_input.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/preview_text_view.h"
#include "compose/placed_text_layout.h"
#include "compose/render_driver.h"
#include "compose/text_art_reading.h"
#include "compose/trimmed_drawing.h"
#include "fake_interaction.h"

namespace penmoji {
namespace {

using Rows = std::vector<std::vector<std::int32_t>>;

std::unique_ptr<QMimeData> unicodeText(const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

}  // namespace

class ArtLayerTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_->filePath("config"));
        fake_ = std::make_unique<FakeInteraction>();
        app_ = std::make_unique<CMainApp>(*fake_);
        QVERIFY(app_->initInstance({}));
        frame_ = app_->mainFrame();
        QApplication::setActiveWindow(frame_);
        QVERIFY(QTest::qWaitForWindowActive(frame_));
    }

    void cleanup() {
        app_.reset();
        fake_.reset();
    }

    // Clipboard text of either kind becomes one piece with the blanks it stands for; text that
    // cannot be placed is refused with its row and character named, and nothing placed.
    void pastedTextBecomesAPiece_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("error");

        const Rows face = {{0x8169, kPlacedEnSpaceCode, 0x815E, kPlacedThinSpaceCode, 0x816A},
                           {0x20, kPlacedNbspCode, 0x41}};
        QTest::newRow("unicode blanks")
            << QString() << QString::fromUtf8("（\u2002／\u2009）\n \u00a0A").toUtf8() << face
            << QString();
        QTest::newRow("unicode entities, board's leading space")
            << QString() << QString::fromUtf8("　（&ensp;／&thinsp;）\r\n　 &nbsp;A\r\n").toUtf8()
            << face << QString();
        QTest::newRow("shift_jis bytes")
            << QStringLiteral("text/plain;charset=Shift_JIS")
            << QByteArray("\x81\x69&ensp;\x81\x5E&thinsp;\x81\x6A\r\n &nbsp;A") << face
            << QString();
        QTest::newRow("no shift_jis code") << QString() << QString::fromUtf8("ab\nc😀d").toUtf8()
                                           << Rows{} << QStringLiteral("2 行目の 2 文字目「😀」");
        QTest::newRow("not in the font")
            << QStringLiteral("text/plain;charset=shift_jis") << QByteArray("A\r\nB\x01") << Rows{}
            << QStringLiteral("2 行目の 2 文字目");
        QTest::newRow("nothing") << QString() << QByteArray(" \n") << Rows{}
                                 << QStringLiteral("文字がありません");
    }

    void pastedTextBecomesAPiece() {
        QFETCH(QString, format);
        QFETCH(QByteArray, bytes);
        QFETCH(Rows, rows);
        QFETCH(QString, error);
        QMimeData data;
        if (format.isEmpty()) {
            data.setText(QString::fromUtf8(bytes));
        } else {
            data.setData(format, bytes);
            data.setText(QStringLiteral("the plain text is not taken"));
        }
        const bool placed = frame_->placedTextCommands().pasteArt(data);
        QCOMPARE(placed, error.isEmpty());
        if (placed) {
            QCOMPARE(document().placedText().size(), std::size_t{1});
            QCOMPARE(document().placedText()[0].rows, rows);
            QCOMPARE(document().selectedPiece(), 0);
            QVERIFY(fake_->messages.isEmpty());
        } else {
            QVERIFY(document().placedText().empty());
            QCOMPARE(fake_->messages.size(), 1);
            QVERIFY2(fake_->messages[0].contains(error), qPrintable(fake_->messages[0]));
        }
    }

    // A selected piece moves with the keys (pixels across, rows down) and the mouse, is copied
    // as its own text and deleted with Delete; each is one step, a run of keys one step.
    void aSelectedPieceMovesCopiesAndDeletes() {
        CEditCanvas& canvas = frame_->canvas();
        canvas.setShowGuides(false);
        QCursor::setPos(canvas.mapToGlobal(QPoint(-50, -50)));  // outside: the view's middle
        QVERIFY(frame_->placedTextCommands().pasteArt(*unicodeText(QStringLiteral("AB\nC"))));
        const PlacedPiece pasted = document().placedText()[0];
        const int steps = history().count();

        QTest::keyClick(frame_, Qt::Key_Right);
        QTest::keyClick(frame_, Qt::Key_Right);
        QTest::keyClick(frame_, Qt::Key_Down);
        QTest::keyClick(frame_, Qt::Key_Left, Qt::ShiftModifier);  // the grid's size, 8
        QCOMPARE(document().placedText()[0].x, pasted.x + 2 - 8);
        QCOMPARE(document().placedText()[0].y, pasted.y + 16);
        QCOMPARE(history().count(), steps + 1);

        // A drag by (7, 20) moves by 7 pixels and one row; the piece's layout keeps its shape.
        const PlacedPiece before = document().placedText()[0];
        const QPoint grip =
            QPoint(before.x + 3, rowHolding(before.y) * 16 + 5) + canvas.contentsRect().topLeft();
        QTest::mousePress(&canvas, Qt::LeftButton, {}, grip);
        QTest::mouseMove(&canvas, grip + QPoint(4, 9));
        QTest::mouseMove(&canvas, grip + QPoint(7, 20));
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, grip + QPoint(7, 20));
        QCOMPARE(document().placedText()[0],
                 (PlacedPiece{before.x + 7, before.y + 16, before.rows}));
        QCOMPARE(history().count(), steps + 2);
        document().undo();
        QCOMPARE(document().placedText()[0], before);
        document().redo();

        QGuiApplication::clipboard()->clear();
        QTest::keyClick(frame_, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("AB\r\nC\r\n"));

        QTest::keyClick(frame_, Qt::Key_Delete);
        QVERIFY(document().placedText().empty());
        document().undo();
        QCOMPARE(document().placedText().size(), std::size_t{1});
    }

    // Typed text is one piece and one step: Enter starts a row, Backspace takes back, a
    // character that cannot be placed is refused in the status bar, Escape ends.
    void typedTextIsOnePiece() {
        CEditCanvas& canvas = frame_->canvas();
        action(command::kTypeText)->trigger();
        QCOMPARE(canvas.tool(), CEditCanvas::Tool::TypeText);
        const QPoint at = QPoint(30, 40) + canvas.contentsRect().topLeft();
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, at);
        QTest::keyClicks(&canvas, QStringLiteral("abc"));
        QTest::keyClick(&canvas, Qt::Key_Backspace);
        QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);  // takes back a character too
        QTest::keyClick(&canvas, Qt::Key_Return);
        const qsizetype refused = fake_->statusMessages.size();
        QInputMethodEvent input;
        input.setCommitString(QStringLiteral("ア😀あ"));
        QApplication::sendEvent(&canvas, &input);
        QCOMPARE(fake_->statusMessages.size(), refused + 1);
        QVERIFY(document().placedText().empty());  // not a part of the drawing until it ends
        QTest::keyClick(&canvas, Qt::Key_Escape);

        QCOMPARE(document().placedText(), (PlacedText{{30, 40, {{0x61}, {0x8341, 0x82A0}}}}));
        QCOMPARE(history().count(), 1);
        QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(document().placedText().empty());
    }

    // Touch-up pins a rendered character as a piece of its own, typing replaces it, the arrows
    // nudge it by a pixel, and Delete leaves a pinned blank of its width.
    void touchUpPinsReplacesAndBlanks() {
        const Point line[] = {{20, 8}, {200, 8}};
        document().document().setVector(0, line);
        QVERIFY(QTest::qWaitFor([&] { return frame_->liveRendering().upToDate(); }, 60'000));
        CEditCanvas& canvas = frame_->canvas();
        QVERIFY(!canvas.renderedGlyphs().empty());
        const PlacedGlyph glyph = canvas.renderedGlyphs()[0];
        const int steps = history().count();

        action(command::kTouchUp)->trigger();
        QTest::mouseClick(&canvas, Qt::LeftButton, {},
                          QPoint(glyph.x + 1, glyph.top + 8) + canvas.contentsRect().topLeft());
        QCOMPARE(document().placedText(), (PlacedText{{glyph.x, glyph.top, {{glyph.code}}}}));
        QInputMethodEvent input;
        input.setCommitString(QStringLiteral("ー"));
        QApplication::sendEvent(&canvas, &input);
        QCOMPARE(document().placedText()[0].rows, (Rows{{0x815B}}));
        QTest::keyClick(frame_, Qt::Key_Right);
        QCOMPARE(document().placedText()[0].x, glyph.x + 1);
        QTest::keyClick(&canvas, Qt::Key_Delete);
        // The blanks keep the character's room, to the pixel where blanks can make it.
        const std::vector<std::int32_t>& blanks = document().placedText()[0].rows.at(0);
        std::int32_t width = 0;
        for (const std::int32_t code : blanks) {
            QVERIFY(code == 0x20 || code == 0x8140 || code == kPlacedEnSpaceCode ||
                    code == kPlacedThinSpaceCode);
            width += placedElementWidth(code);
        }
        QCOMPARE(width, placedElementWidth(0x815B));
        QCOMPARE(history().count(), steps + 4);
        QCOMPARE(canvas.tool(), CEditCanvas::Tool::TouchUp);

        // A character picked in the preview is the rendered one nearest it in its row; one
        // that a piece holds already selects the piece.
        document().selectPiece(-1);
        const PlacedGlyph other = canvas.renderedGlyphs().back();
        PreviewTextView& preview = canvas.preview().textView();
        QSignalSpy picks(&preview, &PreviewTextView::characterPicked);
        emit preview.characterPicked((other.top - 1) / 16, other.x + 11 + 1);
        QCOMPARE(document().placedText().size(), std::size_t{2});
        QCOMPARE(document().placedText()[1], (PlacedPiece{other.x, other.top, {{other.code}}}));
        emit preview.characterPicked((other.top - 1) / 16, other.x + 11);
        QCOMPARE(document().placedText().size(), std::size_t{2});
        QCOMPARE(document().selectedPiece(), 1);
        // A click on the preview's text picks only while touching up, and only a character.
        preview.setText("\x81\x40\x81\x62\r\n", false);
        picks.clear();
        const QPoint inFirstRow(2, preview.lineHeight() / 2);
        QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, inFirstRow);  // the space
        QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, inFirstRow + QPoint(13, 0));
        QCOMPARE(picks.size(), 1);
        QCOMPARE(picks[0][0].toInt(), 0);
        QVERIFY(picks[0][1].toInt() >= 10);

        // The live rendering renders with the pieces.
        QVERIFY(frame_->placedTextCommands().pasteArt(*unicodeText(QStringLiteral("＠"))));
        QVERIFY(QTest::qWaitFor([&] { return frame_->liveRendering().upToDate(); }, 60'000));
        QVERIFY(frame_->liveRendering().current()->result.text.find("\x81\x97") !=
                std::string::npos);
    }

    // A deleted character leaves blanks of its width: exact wherever the blank elements can
    // make it, the nearest below where they cannot, and as few elements as make it.
    void deletedCharacterKeepsItsRoom() {
        struct Case {
            std::int32_t width;
            std::int32_t made;
            std::size_t elements;
        };
        const Case cases[] = {{0, 0, 0},   {1, 0, 0},   {2, 2, 1},   {3, 2, 1},   {7, 7, 2},
                              {11, 11, 1}, {13, 13, 2}, {16, 16, 2}, {19, 19, 2}, {-4, 0, 0}};
        for (const Case& c : cases) {
            const std::vector<std::int32_t> blanks = blanksOfWidth(c.width);
            std::int32_t made = 0;
            for (const std::int32_t code : blanks) {
                made += placedElementWidth(code);
            }
            QCOMPARE(made, c.made);
            QCOMPARE(blanks.size(), c.elements);
        }
    }

    // With "余白を詰める" on, the copied art moves the pieces with the drawing, also when the
    // copy has to render afresh: it is what the core makes of the trimmed drawing and pieces.
    void copiedTrimmedArtMovesThePieces() {
        document().setTrimMargins(true);
        document().addPiece({200, 100, {{0x815E, 'A'}}}, "test");
        const PlacedText placed = document().placedText();
        RenderSettings settings = document().renderSettings();
        RandomGenerator random = document().random();
        NoProgress progress;
        const std::optional<RenderResult> expected =
            renderText(trimmedDrawing(document().vectors(), settings, placed), settings, random,
                       progress, trimmedPlacedText(document().vectors(), settings, placed));
        QVERIFY(expected);
        std::string copied;
        frame_->copyCommands().withTextToCopy([&](const std::string& art) { copied = art; });
        QTRY_VERIFY(!copied.empty());
        QCOMPARE(QByteArray::fromStdString(copied),
                 QByteArray::fromStdString(copiedText(expected->text, true)));
    }

    // The palette puts the characters that follow the lines under the place first, and the
    // one chosen replaces the touched-up character as one step.
    void paletteOffersCharactersThatFitTheLines() {
        // A full-width bar and a full-width underscore, each under the line it draws.
        constexpr std::int32_t kBar = 0x8162, kUnderscore = 0x8151;
        const std::int32_t middle = 100 + placedElementWidth(kBar) / 2;
        struct Case {
            const char* name;
            Point from, to;
            std::int32_t better, worse;
        };
        const Case cases[] = {
            {"upright", {middle, 0}, {middle, 60}, kBar, kUnderscore},
            {"flat at the foot", {80, 31}, {140, 31}, kUnderscore, kBar},
        };
        for (const Case& c : cases) {
            VectorSet vectors;
            vectors.lines[0].count = 2;
            vectors.lines[0].points[0] = c.from;
            vectors.lines[0].points[1] = c.to;
            const std::vector<std::int32_t> ranked = charactersForCell(vectors, 100, 17, 100'000);
            const auto rank = [&](std::int32_t code) {
                return std::find(ranked.begin(), ranked.end(), code) - ranked.begin();
            };
            QVERIFY2(rank(c.better) < rank(c.worse), c.name);
            QVERIFY2(rank(c.better) < 40, c.name);
        }

        const Point upright[] = {{104, 0}, {104, 60}};
        document().document().setVector(0, upright);
        document().selectPiece(document().addPiece({100, 17, {{0x41}}}, "touch up"));
        fake_->inDialog = [](QDialog& dialog) {
            auto& palette = static_cast<CharacterPalette&>(dialog);
            QCOMPARE(palette.list().count(), static_cast<int>(CharacterPalette::kShown));
            palette.list().setCurrentRow(0);
            palette.accept();
        };
        action(command::kChooseCharacter)->trigger();
        QCOMPARE(fake_->dialogsRun, 1);
        const std::int32_t chosen = document().placedText()[0].rows.at(0).at(0);
        QCOMPARE(chosen, charactersForCell(document().vectors(), 100, 17, 1).at(0));
        document().undo();
        QCOMPARE(document().placedText()[0].rows, (Rows{{0x41}}));
    }

private:
    EditorDocument& document() { return app_->document(); }
    const QUndoStack& history() { return app_->document().history().stack(); }
    QAction* action(int id) { return frame_->commands().action(id); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeInteraction> fake_;
    std::unique_ptr<CMainApp> app_;
    CMainFrame* frame_ = nullptr;
};

}  // namespace penmoji

QTEST_MAIN(penmoji::ArtLayerTest)
#include "art_layer_test.moc"
