// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "app/board_limits_pane.h"
#include "app/command_ids.h"
#include "app/copy_commands.h"
#include "app/document_commands.h"
#include "app/interchange_commands.h"
#include "app/live_rendering.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/render_options_dialog.h"
#include "app_session.h"
#include "canvas/document_history.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "fake_interaction.h"
#include "rendering_wait.h"

namespace penmoji {
namespace {

FileChoice choiceOf(const QString& path) {
    return {path, QFileInfo(path).suffix()};
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// `count` horizontal lines, one in each row of the canvas.
QByteArray svgOfLines(int count) {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\">";
    for (int i = 0; i < count; ++i) {
        const QByteArray y = QByteArray::number(i * 16 + 5);
        svg += "<line x1=\"0\" y1=\"" + y + "\" x2=\"60\" y2=\"" + y + "\"/>";
    }
    return svg + "</svg>";
}

}  // namespace

class InterchangeCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void importReplacesTheDrawingInOneChangeAndSaysWhatWasDropped();
    void importAsksAboutUnsavedChangesAndIsOneUndoStep();
    void importIsReadBehindTheProgressWindowAndCancelLeavesTheDrawing();
    void exportThenImportRestoresTheDrawing();
    void pictureAndMltPageOfTheCurrentArt();
    void exportDialogsSuggestTheDrawingsName();
    void boardChosenInTheSettingsTurnsTheLiveFiguresRed();

private:
    // Imports through the menu and waits for the file to be read; false when the import was
    // not started (asked away) or did not end.
    bool importSvg();
    Document& document() { return app_->document().document(); }
    QString path(const QString& name) const { return session_->dir().filePath(name); }

    std::unique_ptr<AppSession> session_;
    FakeInteraction* fake_ = nullptr;
    CMainApp* app_ = nullptr;
    CMainFrame* frame_ = nullptr;
};

void InterchangeCommandsTest::init() {
    session_ = std::make_unique<AppSession>();
    QVERIFY(session_->start());
    fake_ = &session_->fake();
    app_ = &session_->app();
    frame_ = &session_->frame();
}

bool InterchangeCommandsTest::importSvg() {
    QSignalSpy read(&frame_->interchangeCommands().importer(), &BackgroundTask::finished);
    frame_->dispatchCommand(command::kImportSvg);
    return frame_->interchangeCommands().importer().busy() && read.wait(10000);
}

void InterchangeCommandsTest::cleanup() {
    session_.reset();
}

void InterchangeCommandsTest::importReplacesTheDrawingInOneChangeAndSaysWhatWasDropped() {
    const Point old[] = {{1, 1}, {2, 2}};
    document().setVector(210 - 200, old);
    writeAll(path("many.svg"), svgOfLines(203));
    fake_->filesToOpen.push_back(choiceOf(path("many.svg")));
    fake_->answers.push_back(false);  // at 1:1
    const auto revision = document().revision();
    QVERIFY(importSvg());

    QCOMPARE(document().revision(), revision + 1);
    QCOMPARE(document().line(kSlotCount - 1).count, 2);
    QCOMPARE(document().line(10).points[0], (Point{0, 10 * 16 + 5}));
    QCOMPARE(fake_->messages.size(), 1);
    QVERIFY2(fake_->messages[0].contains(
                 QString::fromUtf8("3 本の線 (3 本のベクトル) を読み込みませんでした")),
             qPrintable(fake_->messages[0]));

    // A file that is no SVG leaves the drawing alone.
    writeAll(path("bad.svg"), "not svg");
    fake_->filesToOpen.push_back(choiceOf(path("bad.svg")));
    fake_->answers.push_back(true);
    QVERIFY(importSvg());
    QCOMPARE(document().revision(), revision + 1);
    QVERIFY(fake_->messages.last().startsWith(QString::fromUtf8("ファイルが開けません")));
}

// The picture replaces the drawing as opening a file does: unsaved changes are asked about
// first, one undo takes the whole import back, and the drawing has no file of its own after it,
// so saving cannot put the picture over the drawing it replaced.
void InterchangeCommandsTest::importAsksAboutUnsavedChangesAndIsOneUndoStep() {
    const Point old[] = {{5, 5}, {50, 50}};
    writeAll(path("lines.svg"), svgOfLines(3));
    const QString drawing = path("drawing.pmj");
    document().setVector(0, old);
    fake_->filesToSave.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kSaveAs);
    QCOMPARE(frame_->document().filePath(), drawing);
    document().appendPoint(0, {60, 60});

    // Cancelled at the question: nothing is read.
    fake_->saveAnswers.push_back(SaveAnswer::Cancel);
    fake_->filesToOpen.push_back(choiceOf(path("lines.svg")));
    frame_->dispatchCommand(command::kImportSvg);
    QCOMPARE(fake_->saveQuestions.size(), 1);
    QCOMPARE(document().line(0).count, 3);
    QCOMPARE(fake_->filesToOpen.size(), 1u);

    fake_->saveAnswers.push_back(SaveAnswer::Discard);
    QVERIFY(importSvg());
    QCOMPARE(document().line(0).points[0], (Point{0, 5}));
    QCOMPARE(document().line(2).count, 2);
    QVERIFY(frame_->document().filePath().isEmpty());
    QVERIFY(!app_->document().history().clean());

    app_->document().history().undo();
    QCOMPARE(document().line(0).count, 3);
    QCOMPARE(document().line(0).points[1], (Point{50, 50}));
    QCOMPARE(document().line(1).count, 0);
}

// The window is never held while the file is read: the command returns with the progress
// window up and the drawing as it was, and the picture lands when the reading ends. キャンセル
// gives up at once, and what the reading brings afterwards is dropped.
void InterchangeCommandsTest::importIsReadBehindTheProgressWindowAndCancelLeavesTheDrawing() {
    const Point old[] = {{5, 5}, {50, 50}};
    document().setVector(0, old);
    app_->document().history().setClean();
    writeAll(path("lines.svg"), svgOfLines(3));
    InterchangeCommands& commands = frame_->interchangeCommands();
    const auto revision = document().revision();
    const int steps = app_->document().history().stack().count();

    fake_->filesToOpen.push_back(choiceOf(path("lines.svg")));
    QSignalSpy read(&commands.importer(), &BackgroundTask::finished);
    frame_->dispatchCommand(command::kImportSvg);
    QVERIFY(commands.importProgress() != nullptr);
    QVERIFY(commands.importProgress()->isVisible());
    QCOMPARE(document().revision(), revision);
    QVERIFY(read.wait(10000));
    QVERIFY(commands.importProgress() == nullptr);
    QCOMPARE(document().line(2).count, 2);
    QCOMPARE(app_->document().history().stack().count(), steps + 1);
    app_->document().history().undo();
    QCOMPARE(document().line(0).points[1], (Point{50, 50}));
    QCOMPARE(document().line(1).count, 0);

    // Cancelled before the result is taken in: it comes and goes unseen.
    const auto before = document().revision();
    fake_->filesToOpen.push_back(choiceOf(path("lines.svg")));
    frame_->dispatchCommand(command::kImportSvg);
    QVERIFY(commands.importProgress() != nullptr);
    commands.importProgress()->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    QVERIFY(!commands.importer().busy());
    QTRY_COMPARE(BackgroundTask::runningThreads(), 0);
    QTest::qWait(50);
    QCOMPARE(document().revision(), before);
    QCOMPARE(document().line(0).count, 2);
    QCOMPARE(document().line(1).count, 0);
    QVERIFY(fake_->messages.isEmpty());
    QCOMPARE(fake_->statusMessages.last(), QString::fromUtf8("lines.svg の読み込みを中止しました"));
    QVERIFY(commands.importProgress() == nullptr);

    // The next import is not held up by the one given up.
    fake_->filesToOpen.push_back(choiceOf(path("lines.svg")));
    QVERIFY(importSvg());
    QCOMPARE(document().line(2).count, 2);
}

void InterchangeCommandsTest::exportThenImportRestoresTheDrawing() {
    const Point a[] = {{10, 20}, {300, 40}, {-5, 7}};
    const Point b[] = {{0, 0}, {16, 16}};
    document().setVector(0, a);
    document().setVector(1, b);
    const VectorSet before = document().vectors();
    fake_->filesToSave.push_back(choiceOf(path("drawing.svg")));
    frame_->dispatchCommand(command::kExportSvg);
    // Done as asked: the status bar says so, with no box to click away.
    QCOMPARE(fake_->statusMessages,
             QStringList{QString::fromUtf8("drawing.svg に SVG を書き出しました")});

    document().clear();
    fake_->filesToOpen.push_back(choiceOf(path("drawing.svg")));
    fake_->answers.push_back(false);
    QVERIFY(importSvg());
    // Fitting to the canvas is the default answer; this picture comes in at 1:1.
    QCOMPARE(fake_->questionsDefaultingToYes.size(), 1);
    QCOMPARE(fake_->statusMessages.last(), QString::fromUtf8("drawing.svg を読み込みました"));
    QVERIFY(fake_->messages.isEmpty());
    for (int slot = 0; slot < 2; ++slot) {
        const VectorLine& line = document().line(slot);
        QCOMPARE(line.count, before.lines[slot].count);
        for (int i = 0; i < line.count; ++i) {
            QCOMPARE(line.points[i], before.lines[slot].points[i]);
        }
    }
}

// With margins trimmed, as by default, both are of the art a copy gives: a line far down
// makes no picture of margin and no page that starts with empty rows.
void InterchangeCommandsTest::pictureAndMltPageOfTheCurrentArt() {
    const Point line[] = {{400, 300}, {460, 300}};
    document().setVector(0, line);
    fake_->inDialog = [](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("scale"))->setCurrentIndex(1);
        dialog.findChild<QCheckBox*>(QStringLiteral("transparent"))->setChecked(true);
        dialog.accept();
    };
    fake_->filesToSave.push_back(choiceOf(path("art.png")));
    frame_->dispatchCommand(command::kExportPicture);
    QVERIFY(renderingEnded(*frame_));
    const QImage picture(path("art.png"));
    QVERIFY(!picture.isNull());
    // Each row of the art 18 pixels, twice the size.
    QTRY_VERIFY(frame_->copiedRendering().upToDate());
    const std::string art = frame_->copyCommands().textToCopy();
    QCOMPARE(std::count(art.begin(), art.end(), '\n'), 1);
    QCOMPARE(picture.height(), 2 * 18);
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);

    // The pages already there stay byte for byte; the dialog does not ask to replace the file.
    const QByteArray pages = "one\r\n[SPLIT]\r\ntwo";
    writeAll(path("art.mlt"), pages);
    fake_->filesToSave.push_back(choiceOf(path("art.mlt")));
    frame_->dispatchCommand(command::kAppendMlt);
    QVERIFY(renderingEnded(*frame_));
    QVERIFY(!fake_->fileDialogs.back().confirmReplace);
    const QByteArray after = readAll(path("art.mlt"));
    QVERIFY(after.startsWith(pages + "\r\n[SPLIT]\r\n"));
    QVERIFY(after.size() > pages.size() + 11);
    QVERIFY(!after.mid(pages.size() + 11).startsWith("\x81\x40\r\n"));
    QCOMPARE(fake_->statusMessages,
             (QStringList{QString::fromUtf8("art.png に画像を書き出しました"),
                          QString::fromUtf8("art.mlt にページを追加しました")}));
    QVERIFY(fake_->messages.isEmpty());
}

// Each export offers the drawing's name in its folder; an untitled drawing gets no name.
void InterchangeCommandsTest::exportDialogsSuggestTheDrawingsName() {
    fake_->inDialog = [](QDialog& dialog) { dialog.accept(); };
    const int exports[] = {command::kExportSvg, command::kExportPicture, command::kAppendMlt};
    for (int id : exports) {
        frame_->dispatchCommand(id);
        QVERIFY(renderingEnded(*frame_));
        QVERIFY(fake_->fileDialogs.back().suggestedName.isEmpty());
    }
    fake_->filesToSave.push_back(choiceOf(path("house.pmj")));
    frame_->dispatchCommand(command::kSaveAs);
    for (int id : exports) {
        frame_->dispatchCommand(id);
        QVERIFY(renderingEnded(*frame_));
        const FileDialogSetup& dialog = fake_->fileDialogs.back();
        QCOMPARE(dialog.suggestedName, path(QStringLiteral("house.") + dialog.defaultSuffix));
    }
}

// The figures pane follows the live result: it turns red and names the limit as soon as the
// drawing grows over the chosen board, without a file being written.
void InterchangeCommandsTest::boardChosenInTheSettingsTurnsTheLiveFiguresRed() {
    BoardLimitsPane& pane = frame_->figuresPane();
    QTRY_VERIFY(frame_->liveRendering().upToDate());
    QVERIFY(!pane.styleSheet().contains(QStringLiteral("red")));

    fake_->inDialog = [](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("board"))->setCurrentIndex(1);
        dialog.accept();
    };
    frame_->dispatchCommand(command::kRenderSettings);
    QCOMPARE(app_->document().boardProfile(), 1);
    QTRY_VERIFY(frame_->liveRendering().upToDate());
    QVERIFY(!pane.styleSheet().contains(QStringLiteral("red")));

    // Thirty rows are over the standard board's 24 lines.
    for (int row = 0; row < 30; ++row) {
        const Point line[] = {{0, row * 16 + 5}, {60, row * 16 + 5}};
        document().setVector(row, line);
    }
    QTRY_VERIFY(pane.styleSheet().contains(QStringLiteral("red")));
    QVERIFY2(pane.text().contains(QString::fromUtf8("制限超過: 行数 (24 行まで)")),
             qPrintable(pane.text()));
    QVERIFY(!pane.text().contains(QString::fromUtf8("バイト数")));

    // Back to no limits: the same art is fine.
    fake_->inDialog = [](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("board"))->setCurrentIndex(0);
        dialog.accept();
    };
    frame_->dispatchCommand(command::kRenderSettings);
    QVERIFY(!pane.styleSheet().contains(QStringLiteral("red")));
    QVERIFY(!pane.text().contains(QString::fromUtf8("制限超過")));
}

}  // namespace penmoji

QTEST_MAIN(penmoji::InterchangeCommandsTest)
#include "interchange_commands_test.moc"
