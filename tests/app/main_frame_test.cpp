// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <map>
#include <memory>
#include <random>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <csignal>
#endif

#include "app/about_dialog.h"
#include "app/background_task.h"
#include "app/command_ids.h"
#include "app/interchange_commands.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/progress_dialog.h"
#include "app_session.h"
#include "canvas/canvas_view.h"
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

const QByteArray kEmptyDrawingText("\x81\x40\r\n\0", 5);

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowCarriesTheTitleAndTheIcon();
    void menusFollowTheCommandTable();
    void toolbarButtonsNameThemselvesAndTheirKeys();
    void helpOpensTheManual();
    void zoomAndArtOnlyShowInTheWindow();
    void commandStatesAtStart();
    void reRenderWaitsForASuccessfulRenderAs();
    void renderAsChoosesTheFormatByExtension_data();
    void renderAsChoosesTheFormatByExtension();
    void failedRenderAsKeepsTheEarlierOutput();
    void writeFailuresAreReported();
    void saveThenOpenRestoresTheDrawing();
    void openRefusesABadFileAndKeepsTheDrawing_data();
    void openRefusesABadFileAndKeepsTheDrawing();
    void initialiseAsksFirst();
    void finishedBoxesCanGoToTheStatusBar();
    void newVectorSaysWhyWhenEverySlotIsUsed();
    void deleteSelectedKeepsTheGlyphBoxes();
    void viewTogglesFollowTheBars();
    void gridToggleCarriesTheCheckMark();
    void clipboardAndPaneKeysDoNothing();
    void statusBarShowsPromptsAndReady();
    void aboutBoxShowsTitleIconAndCloses();
    void progressDialogCancelsAndShowsProgress();
    void reRenderAsksBeforeWritingOverAnotherDrawing_data();
    void reRenderAsksBeforeWritingOverAnotherDrawing();
    void cancelledRenderAsKeepsTheOldFile_data();
    void cancelledRenderAsKeepsTheOldFile();
    void oneRenderingForAFileAtATime();

private:
    void placeDrawing();
    Document& document() { return app_->document().document(); }
    QString path(const QString& name) const { return session_->dir().filePath(name); }
    QAction* action(int id) const { return frame_->action(id); }

    std::unique_ptr<AppSession> session_;
    FakeInteraction* fake_ = nullptr;
    CMainApp* app_ = nullptr;
    CMainFrame* frame_ = nullptr;
};

void MainFrameTest::init() {
    session_ = std::make_unique<AppSession>();
    QVERIFY(session_->start());
    fake_ = &session_->fake();
    app_ = &session_->app();
    frame_ = &session_->frame();
    QApplication::setActiveWindow(frame_);
    QVERIFY(QTest::qWaitForWindowActive(frame_));
}

void MainFrameTest::cleanup() {
    session_.reset();
}

// Slot 5 holds (10, 20) (30, 40) (-1, 7) and is selected by a click on its first segment; one
// glyph box is shown.
void MainFrameTest::placeDrawing() {
    const Point points[] = {{10, 20}, {30, 40}, {-1, 7}};
    document().setVector(5, points);
    CEditCanvas& canvas = frame_->canvas();
    QTest::mouseClick(&canvas, Qt::LeftButton, {},
                      canvas.contentsRect().topLeft() + QPoint(20, 30));
    QCOMPARE(canvas.editor().selectedSlot(), 5);
    GlyphBoxList boxes;
    boxes.addBox(1, 1, 16);
    canvas.setGlyphBoxes(boxes);
}

void MainFrameTest::windowCarriesTheTitleAndTheIcon() {
    // With the place of the modified mark.
    QCOMPARE(frame_->windowTitle(), QString::fromUtf8("Penmoji Version 1.0a1[*]"));
    QVERIFY(!frame_->windowIcon().isNull());
    QCOMPARE(QCoreApplication::organizationName(),
             QStringLiteral("Local AppWizard-Generated Applications"));
    // The settings, though, are where Linux programs keep theirs.
    QCOMPARE(app_->settings()->fileName(), path("config/penmoji/penmoji.conf"));
    QCOMPARE(frame_->centralWidget(), &frame_->canvasView());
    QCOMPARE(frame_->canvasView().widget(), &frame_->canvas());
}

void MainFrameTest::menusFollowTheCommandTable() {
    using namespace command;
    struct Popup {
        const char* title;
        std::vector<std::pair<int, const char*>> items;  // id 0: separator
    };
    const std::vector<Popup> expected = {
        {"ﾌｧｲﾙ(&F)",
         {{kInitialise, "初期化"},
          {kOpen, "PenmojiFileを開く"},
          {kSave, "上書き保存"},
          {kSaveAs, "PenmojiFileを名前を付けて保存"},
          {0, ""},
          {kImportSvg, "SVG を読み込む..."},
          {kExportSvg, "SVG として書き出す..."},
          {0, ""},
          {kTraceOpen, "下絵を開く..."},
          {kTraceClose, "下絵を閉じる"},
          {0, ""},
          {kRenderAs, "名前を付けてレンダリング"},
          {kReRender, "再レンダリング\tctrl-R"},
          {kExportPicture, "画像として書き出す..."},
          {kAppendMlt, "MLT に追加..."},
          {0, ""},
          // The recent files, hidden while there are none, then their separator.
          {kRecentFileFirst, ""},
          {kRecentFileFirst + 1, ""},
          {kRecentFileFirst + 2, ""},
          {kRecentFileFirst + 3, ""},
          {kRecentFileFirst + 4, ""},
          {kRecentFileFirst + 5, ""},
          {kRecentFileFirst + 6, ""},
          {kRecentFileFirst + 7, ""},
          {0, ""},
          {kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}}},
        {"編集(&E)",
         {{kEditUndo, "元に戻す"},
          {kEditRedo, "やり直し"},
          {0, ""},
          {kNewVector, "新規ベクトル"},
          {kDeleteSelected, "選択ベクトルを消す"},
          {0, ""},
          {kTraceToLines, "下絵から線を作る..."},
          {0, ""},
          {kRenderSettings, "レンダリング設定"},
          {0, ""},
          {kEditCopy, "コピー"},
          {kCopyUnicode, "Unicode 空白でコピー"},
          {kTrimMargins, "余白を詰める"},
          {0, ""},
          {kPasteArt, "アートを貼り付け"},
          {kTypeText, "テキストを置く"},
          {kTouchUp, "文字を直す"},
          {kChooseCharacter, "文字を選ぶ..."}}},
        {"表示(&V)",
         {{kToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)"},
          {kStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"},
          {kGuideLines, "補助線"},
          {0, ""},
          {kGridToggle, "グリッド！"},
          {kGridSettings, "グリッド設定"},
          {0, ""},
          {kZoomIn, "拡大"},
          {kZoomOut, "縮小"},
          {kZoomReset, "等倍"},
          {0, ""},
          {kLiveRendering, "ライブ表示"},
          {kTextArt, "テキストアート"},
          {kArtOnly, "アートのみ表示"},
          {kPreviewWindow, "プレビュー"},
          {kPreviewLarge, "プレビューを大きく"},
          {kPreviewHome, "プレビューを元の位置へ"},
          {0, ""},
          {kTraceShow, "下絵を表示"},
          {kTraceOpacity, "下絵の濃さ..."},
          {kTracePlace, "位置と大きさ..."},
          {kTraceSmooth, "下絵をなめらかに拡大"},
          {0, ""},
          {kFinishedMessages, "完了メッセージを表示"}}},
        {"ﾍﾙﾌﾟ(&H)", {{kHelp, "使い方(&M)"}, {0, ""}, {kAbout, "Penmoji のﾊﾞｰｼﾞｮﾝ情報(&A)..."}}},
    };
    const QList<QAction*> popups = frame_->menuBar()->actions();
    QCOMPARE(popups.size(), qsizetype(expected.size()));
    for (std::size_t p = 0; p < expected.size(); ++p) {
        QCOMPARE(popups[p]->text(), QString::fromUtf8(expected[p].title));
        const QList<QAction*> items = popups[p]->menu()->actions();
        QCOMPARE(items.size(), qsizetype(expected[p].items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const auto& [id, caption] = expected[p].items[std::size_t(i)];
            if (id == 0) {
                QVERIFY(items[i]->isSeparator());
            } else {
                QCOMPARE(items[i], action(id));
                if (*caption != '\0') {
                    QCOMPARE(items[i]->text(), QString::fromUtf8(caption));
                } else {
                    QVERIFY(!items[i]->isVisible());
                }
            }
        }
    }
    QCOMPARE(action(kReRender)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    QCOMPARE(action(kSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    // The keys every desktop program has, beside the table's.
    QCOMPARE(action(kInitialise)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QCOMPARE(action(kOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(action(kSaveAs)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QCOMPARE(action(kExit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(action(kArtOnly)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    // The menu shows the Ctrl key, the table's other key works too.
    QCOMPARE(action(kEditUndo)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z),
                                  QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    QCOMPARE(action(kEditRedo)->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
}

void MainFrameTest::toolbarButtonsNameThemselvesAndTheirKeys() {
    using namespace command;
    QToolBar& bar = frame_->toolBar();
    QVERIFY(bar.isMovable());
    QVERIFY(bar.isFloatable());
    QCOMPARE(bar.allowedAreas(), Qt::AllToolBarAreas);
    QCOMPARE(frame_->toolBarArea(&bar), Qt::TopToolBarArea);

    const QList<QAction*> items = bar.actions();
    const int expected[] = {kNewVector, kDeleteSelected, 0, kEditUndo, kEditRedo, 0, kRenderAs,
                            kReRender,  kFineMatching,   0, kAbout};
    // Every button names itself and its key.
    const std::map<int, const char*> tips = {{kNewVector, "新規ベクトル"},
                                             {kDeleteSelected, "選択ベクトルを消す (Del)"},
                                             {kEditUndo, "元に戻す (Ctrl+Z)"},
                                             {kEditRedo, "やり直し (Ctrl+Y)"},
                                             {kRenderAs, "名前を付けてレンダリング"},
                                             {kReRender, "再レンダリング (Ctrl+R)"},
                                             {kFineMatching, "高品質マッチング"},
                                             {kAbout, "ﾊﾞｰｼﾞｮﾝ情報"}};
    QCOMPARE(items.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (expected[i] == 0) {
            QVERIFY(items[i]->isSeparator());
            continue;
        }
        QCOMPARE(items[i], action(expected[i]));
        QCOMPARE(items[i]->icon().actualSize(QSize(48, 32)), QSize(48, 32));
        QVERIFY(!items[i]->statusTip().isEmpty());

        QWidget* button = bar.widgetForAction(items[i]);
        // The tip of the button before goes away after a moment.
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(button, &help);
        const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
        QCOMPARE(shown, QString::fromUtf8(tips.at(expected[i])));
    }
    QToolTip::hideText();
}

void MainFrameTest::zoomAndArtOnlyShowInTheWindow() {
    QCOMPARE(frame_->zoomPane().text(), QStringLiteral("100%"));
    frame_->dispatchCommand(command::kZoomIn);
    QCOMPARE(frame_->zoomPane().text(), QStringLiteral("200%"));

    QTest::keyClick(frame_, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(frame_->canvas().artOnly());
    QVERIFY(action(command::kArtOnly)->isChecked());
    frame_->dispatchCommand(command::kArtOnly);
    QVERIFY(!frame_->canvas().artOnly());

    // The preview grows to read the art in, where it was, and back to its first size.
    CPreviewWindow& preview = frame_->canvas().preview();
    frame_->resize(1200, 900);
    QTRY_VERIFY(frame_->canvasView().viewport()->height() > 700);
    const QRect before = frame_->canvasView().previewInView();
    frame_->dispatchCommand(command::kPreviewLarge);
    QVERIFY(action(command::kPreviewLarge)->isChecked());
    const QSize large = preview.size();
    QCOMPARE(frame_->canvasView().previewInView().topLeft(), before.topLeft());
    QVERIFY(preview.clientRect().width() >= 60 * 11);
    QVERIFY(preview.clientRect().height() >= 20 * 16);
    frame_->dispatchCommand(command::kPreviewLarge);
    QVERIFY(!action(command::kPreviewLarge)->isChecked());
    QCOMPARE(frame_->canvasView().previewInView(), QRect(before.topLeft(), QSize(200, 200)));

    // In a window too small for it where it is, it moves up and left to stay in view.
    frame_->resize(800, 600);
    QTRY_VERIFY(frame_->canvasView().viewport()->height() < before.top() + large.height());
    frame_->dispatchCommand(command::kPreviewLarge);
    const QRect inSmall = frame_->canvasView().previewInView();
    QCOMPARE(inSmall.size(), large);
    QVERIFY2(frame_->canvasView().viewport()->rect().contains(inSmall),
             qPrintable(QStringLiteral("%1 %2 %3 %4")
                            .arg(inSmall.x())
                            .arg(inSmall.y())
                            .arg(frame_->canvasView().viewport()->width())
                            .arg(frame_->canvasView().viewport()->height())));
    frame_->dispatchCommand(command::kPreviewLarge);

    // The large size is remembered, and the menu says so when the program starts again.
    frame_->dispatchCommand(command::kPreviewLarge);
    QVERIFY(frame_->close());
    CMainApp again(*fake_);
    QVERIFY(again.initInstance());
    CMainFrame& restarted = *again.mainFrame();
    QVERIFY(QTest::qWaitForWindowExposed(&restarted));
    QCOMPARE(restarted.canvas().preview().size(), large);
    for (QAction* popup : restarted.menuBar()->actions()) {
        emit popup->menu()->aboutToShow();
    }
    QVERIFY(restarted.action(command::kPreviewLarge)->isChecked());
}

void MainFrameTest::helpOpensTheManual() {
    frame_->dispatchCommand(command::kHelp);
    QCOMPARE(fake_->openedUrls.size(), 1);
    // Not installed here, so the project's page.
    QCOMPARE(fake_->openedUrls[0].scheme(), QStringLiteral("https"));
}

void MainFrameTest::commandStatesAtStart() {
    using namespace command;
    for (int id : {kNewVector, kRenderAs, kDeleteSelected, kRenderSettings, kGridToggle,
                   kGridSettings, kGuideLines, kInitialise, kOpen, kSave, kSaveAs, kAbout, kExit,
                   kToolBar, kStatusBar, kZoomIn}) {
        QVERIFY2(action(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    for (int id : {kEditUndo, kEditRedo, kZoomOut, kZoomReset}) {
        QVERIFY2(!action(id)->isEnabled(), qPrintable(QString::number(id)));
    }
    QVERIFY(!action(kReRender)->isEnabled());
    QVERIFY(!frame_->toolBar().widgetForAction(action(kReRender))->isEnabled());
    QVERIFY(action(kToolBar)->isChecked());
    QVERIFY(action(kStatusBar)->isChecked());
    QVERIFY(action(kGuideLines)->isChecked());
    QVERIFY(!action(kGridToggle)->isChecked());
}

void MainFrameTest::reRenderWaitsForASuccessfulRenderAs() {
    const QString out = path("out.txt");

    // Neither Ctrl+R nor a cancelled or failed render-as starts anything.
    QTest::keyClick(frame_, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(renderingEnded(*frame_));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    fake_->filesToSave.push_back(choiceOf(path("no such folder/out.txt")));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    QCOMPARE(fake_->messages, QStringList{QStringLiteral("file open error")});
    QVERIFY(frame_->renderPath().isEmpty());
    QVERIFY(!action(command::kReRender)->isEnabled());
    QVERIFY(!QFileInfo::exists(path("no such folder")));

    fake_->messages.clear();
    fake_->filesToSave.push_back(choiceOf(out));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    QCOMPARE(fake_->messages, QStringList{QString::fromUtf8("終了")});
    QCOMPARE(readAll(out), kEmptyDrawingText);
    QCOMPARE(frame_->canvas().preview().previewText(), std::string("\x81\x40\r\n"));
    QVERIFY(action(command::kReRender)->isEnabled());
    QVERIFY(frame_->toolBar().widgetForAction(action(command::kReRender))->isEnabled());
    QVERIFY(frame_->findChildren<CProgressDialog*>().isEmpty());

    // Ctrl+R now writes the same file again, without a message; the keyboard is still with
    // the main window after the progress window has gone.
    QVERIFY(QTest::qWaitForWindowActive(frame_));
    QVERIFY(QFile::remove(out));
    QTest::keyClick(frame_, Qt::Key_R, Qt::ControlModifier);
    QVERIFY(renderingEnded(*frame_));
    QCOMPARE(readAll(out), kEmptyDrawingText);
    QCOMPARE(fake_->messages.size(), 1);
}

void MainFrameTest::reRenderAsksBeforeWritingOverAnotherDrawing_data() {
    QTest::addColumn<int>("replacing");
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("open, overwrite") << int(command::kOpen) << true;
    QTest::newRow("open, keep") << int(command::kOpen) << false;
    QTest::newRow("recent file, keep") << int(command::kRecentFileFirst + 1) << false;
    QTest::newRow("initialise, keep") << int(command::kInitialise) << false;
    QTest::newRow("import, overwrite") << int(command::kImportSvg) << true;
}

// The house is rendered to house.txt, then the cat comes in. Ctrl+R must not put the cat into
// house.txt unasked: Yes writes it, No asks for another name (cancelled here) and leaves the
// house's art where it is.
void MainFrameTest::reRenderAsksBeforeWritingOverAnotherDrawing() {
    QFETCH(int, replacing);
    QFETCH(bool, overwrite);
    const QString cat = path("cat.pmj");
    fake_->filesToSave.push_back(choiceOf(cat));
    frame_->dispatchCommand(command::kSaveAs);
    QFile svg(path("cat.svg"));
    QVERIFY(svg.open(QIODevice::WriteOnly));
    svg.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40">)"
              R"(<path d="M2 2 L30 30" stroke="black"/></svg>)");
    svg.close();

    placeDrawing();
    const QString house = path("house.txt");
    fake_->filesToSave.push_back(choiceOf(path("house.pmj")));
    frame_->dispatchCommand(command::kSaveAs);
    fake_->filesToSave.push_back(choiceOf(house));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    const QByteArray houseArt = readAll(house);
    QVERIFY(houseArt != kEmptyDrawingText);

    // Ctrl+R on the same drawing asks nothing.
    frame_->dispatchCommand(command::kReRender);
    QVERIFY(renderingEnded(*frame_));
    QVERIFY(fake_->questions.isEmpty());

    fake_->filesToOpen.push_back(choiceOf(replacing == command::kImportSvg ? svg.fileName() : cat));
    if (replacing == command::kInitialise || replacing == command::kImportSvg) {
        fake_->answers.push_back(true);  // よろしいですか？ or the fit question
    }
    QSignalSpy imported(&frame_->interchangeCommands().importer(), &BackgroundTask::finished);
    frame_->dispatchCommand(replacing);
    QVERIFY(replacing != command::kImportSvg || imported.wait(10000));
    QVERIFY(replacing == command::kImportSvg || document().line(5).count == 0);
    const qsizetype asked = fake_->questions.size();
    const std::size_t saveDialogs = fake_->fileDialogs.size();

    fake_->answers.push_back(overwrite);
    frame_->dispatchCommand(command::kReRender);
    QVERIFY(renderingEnded(*frame_));
    QCOMPARE(fake_->questions.size(), asked + 1);
    QVERIFY(fake_->questions.last().contains(QStringLiteral("house.txt")));
    QCOMPARE(frame_->renderPath(), house);
    if (overwrite) {
        QVERIFY(readAll(house) != houseArt);
        QCOMPARE(fake_->fileDialogs.size(), saveDialogs);
        // The target is this drawing's now.
        frame_->dispatchCommand(command::kReRender);
        QVERIFY(renderingEnded(*frame_));
        QCOMPARE(fake_->questions.size(), asked + 1);
    } else {
        QCOMPARE(readAll(house), houseArt);
        QCOMPARE(fake_->fileDialogs.size(), saveDialogs + 1);
        QCOMPARE(fake_->fileDialogs.back().filters.first(),
                 QString::fromUtf8("テキスト(txt) (*.txt)"));
    }
}

void MainFrameTest::renderAsChoosesTheFormatByExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("html");
    QTest::newRow("html") << "page.html" << true;
    QTest::newRow("HTML") << "PAGE.HTML" << true;
    QTest::newRow("Html") << "page.Html" << true;
    QTest::newRow("htm") << "page.htm" << false;
    QTest::newRow("tx") << "art.tx" << false;
    QTest::newRow("txt") << "art.txt" << false;
}

void MainFrameTest::renderAsChoosesTheFormatByExtension() {
    QFETCH(QString, name);
    QFETCH(bool, html);
    fake_->filesToSave.push_back(choiceOf(path(name)));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    const QByteArray written = readAll(path(name));
    if (html) {
        QVERIFY(written.startsWith("<!doctype html"));
        QVERIFY(written.contains("\x81\x40<br></font>\n"));
    } else {
        QCOMPARE(written, kEmptyDrawingText);
    }
    QCOMPARE(frame_->renderExtension(), QFileInfo(name).suffix());
}

void MainFrameTest::failedRenderAsKeepsTheEarlierOutput() {
    const QString page = path("page.html");
    fake_->filesToSave.push_back(choiceOf(page));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    fake_->filesToSave.push_back(choiceOf(session_->dir().path()));  // a folder cannot be written
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    QCOMPARE(fake_->messages.last(), QStringLiteral("file open error"));
    QCOMPARE(frame_->renderPath(), page);

    QVERIFY(QFile::remove(page));
    frame_->dispatchCommand(command::kReRender);
    QVERIFY(renderingEnded(*frame_));
    QVERIFY(readAll(page).startsWith("<!doctype html"));
}

// A full disk must never end in "終了": both kinds of file report the failure and leave what
// was on disk as it was.
void MainFrameTest::writeFailuresAreReported() {
#ifdef Q_OS_UNIX
    const QString out = path("out.txt");
    const QString drawing = path("drawing.pmj");
    QFile old(drawing);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    // Root may write anywhere, so the disk is made "full" with a file size limit instead.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 3;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    fake_->filesToSave.push_back(choiceOf(out));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    fake_->filesToSave.push_back(choiceOf(drawing));
    frame_->dispatchCommand(command::kSaveAs);
    setrlimit(RLIMIT_FSIZE, &saved);

    // Each headline as it was, with the cause on a second line.
    const QString writeError = QString::fromUtf8("書き込み中にエラーが起きました");
    QCOMPARE(fake_->messages.size(), 2);
    QVERIFY(fake_->messages[0].startsWith(QStringLiteral("file write error\n") + writeError));
    QVERIFY(
        fake_->messages[1].startsWith(QString::fromUtf8("ファイルが開けません\n") + writeError));
    QVERIFY(!QFileInfo::exists(out));
    QVERIFY(frame_->renderPath().isEmpty());
    QCOMPARE(readAll(drawing), QByteArray("old"));
#else
    QSKIP("needs a file size limit");
#endif
}

void MainFrameTest::saveThenOpenRestoresTheDrawing() {
    placeDrawing();
    const QString file = path("drawing.pmj");
    fake_->filesToSave.push_back(choiceOf(file));
    frame_->dispatchCommand(command::kSaveAs);
    QCOMPARE(fake_->messages, QStringList{QString::fromUtf8("終了")});
    QCOMPARE(QFileInfo(file).size(), 824);
    QCOMPARE(fake_->fileDialogs.back().defaultSuffix, QStringLiteral("pmj"));
    QCOMPARE(fake_->fileDialogs.back().filters.first(), QStringLiteral("PenmojiFile(pmj) (*.pmj)"));

    document().clear();
    fake_->filesToOpen.push_back(choiceOf(file));
    frame_->dispatchCommand(command::kOpen);
    QCOMPARE(fake_->messages.size(), 2);
    QCOMPARE(fake_->messages.last(), QString::fromUtf8("終了"));
    const VectorLine& line = document().line(5);
    QCOMPARE(line.count, 3);
    QCOMPARE(line.points[2], (Point{-1, 7}));
    QCOMPARE(frame_->canvas().editor().selectedSlot(), -1);
    QCOMPARE(frame_->canvas().glyphBoxes().boxCount(), std::size_t{0});
}

void MainFrameTest::openRefusesABadFileAndKeepsTheDrawing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("cause");
    const QString cannotOpen = QString::fromUtf8("ファイルが見つからないか、開く権限がありません");
    const QString damaged = QString::fromUtf8("ファイルが壊れています");
    QTest::newRow("missing") << QByteArray() << false << cannotOpen;
    QTest::newRow("cut short") << QByteArray(799, '\0') << true << damaged;
    QTest::newRow("count above 200")
        << QByteArray("\xC9\0\0\0", 4) + QByteArray(796, '\0') << true << damaged;
    QTest::newRow("negative count")
        << QByteArray("\xFF\xFF\xFF\xFF", 4) + QByteArray(796, '\0') << true << damaged;
}

void MainFrameTest::openRefusesABadFileAndKeepsTheDrawing() {
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(QString, cause);
    placeDrawing();
    const QString file = path("bad.pmj");
    if (exists) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    fake_->filesToOpen.push_back(choiceOf(file));
    frame_->dispatchCommand(command::kOpen);
    // The headline stays; the cause follows on a second line, with the precise reason.
    QCOMPARE(fake_->messages.size(), 1);
    const QStringList lines = fake_->messages.first().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QString::fromUtf8("ファイルが開けません"));
    QVERIFY2(lines[1].startsWith(cause + QString::fromUtf8("（")), qPrintable(lines[1]));
    QCOMPARE(document().line(5).count, 3);
    QCOMPARE(frame_->canvas().glyphBoxes().boxCount(), std::size_t{1});
}

void MainFrameTest::initialiseAsksFirst() {
    placeDrawing();
    fake_->answers = {false, true};
    frame_->dispatchCommand(command::kInitialise);
    QCOMPARE(document().line(5).count, 3);
    frame_->dispatchCommand(command::kInitialise);
    QCOMPARE(fake_->questions, (QStringList{QString::fromUtf8("よろしいですか？"),
                                            QString::fromUtf8("よろしいですか？")}));
    QCOMPARE(document().line(5).count, 0);
    QCOMPARE(frame_->canvas().glyphBoxes().boxCount(), std::size_t{0});
}

// "終了" comes in a box after save-as, open and render-as until the user turns that off; then
// the status bar says it, and the choice is kept for the next run.
void MainFrameTest::finishedBoxesCanGoToTheStatusBar() {
    const auto saveOpenRender = [this] {
        fake_->filesToSave.push_back(choiceOf(path("drawing.pmj")));
        frame_->dispatchCommand(command::kSaveAs);
        fake_->filesToOpen.push_back(choiceOf(path("drawing.pmj")));
        frame_->dispatchCommand(command::kOpen);
        fake_->filesToSave.push_back(choiceOf(path("out.txt")));
        frame_->dispatchCommand(command::kRenderAs);
        QVERIFY(renderingEnded(*frame_));
    };
    const QStringList three(3, QString::fromUtf8("終了"));
    QVERIFY(action(command::kFinishedMessages)->isChecked());
    saveOpenRender();
    QCOMPARE(fake_->messages, three);
    QVERIFY(fake_->statusMessages.isEmpty());

    frame_->dispatchCommand(command::kFinishedMessages);
    QVERIFY(!action(command::kFinishedMessages)->isChecked());
    fake_->messages.clear();
    saveOpenRender();
    QVERIFY(fake_->messages.isEmpty());
    QCOMPARE(fake_->statusMessages, three);

    QVERIFY(frame_->close());
    QCOMPARE(app_->settings()->value(QStringLiteral("view/finishedMessages")).toBool(), false);
}

void MainFrameTest::newVectorSaysWhyWhenEverySlotIsUsed() {
    const Point points[] = {{1, 1}, {2, 2}};
    for (int slot = 1; slot < kSlotCount; ++slot) {
        document().setVector(slot, points);
    }
    // One slot left: drawing starts.
    QTest::keyClick(frame_, Qt::Key_N, Qt::ControlModifier);  // Ctrl+N asks first: No
    QCOMPARE(fake_->questions, QStringList{QString::fromUtf8("よろしいですか？")});
    frame_->dispatchCommand(command::kNewVector);
    QVERIFY(frame_->canvas().editor().drawing());
    QVERIFY(fake_->statusMessages.isEmpty());
    frame_->dispatchCommand(command::kEndVector);

    document().setVector(0, points);
    frame_->dispatchCommand(command::kNewVector);
    QVERIFY(!frame_->canvas().editor().drawing());
    QCOMPARE(fake_->statusMessages.size(), 1);
    QVERIFY(fake_->statusMessages[0].contains(QStringLiteral("200")));
    QVERIFY(fake_->messages.isEmpty());
}

void MainFrameTest::deleteSelectedKeepsTheGlyphBoxes() {
    placeDrawing();
    const Point other[] = {{100, 100}, {120, 100}};
    document().setVector(7, other);  // not selected
    QTest::mouseClick(frame_->toolBar().widgetForAction(action(command::kDeleteSelected)),
                      Qt::LeftButton);
    QCOMPARE(document().line(5).count, 0);
    QCOMPARE(document().line(7).count, 2);
    QCOMPARE(frame_->canvas().glyphBoxes().boxCount(), std::size_t{1});
    QVERIFY(fake_->messages.isEmpty());
}

void MainFrameTest::viewTogglesFollowTheBars() {
    const int canvasHeight = frame_->canvas().height();
    action(command::kStatusBar)->trigger();
    action(command::kToolBar)->trigger();
    QVERIFY(frame_->statusBar()->isHidden());
    QVERIFY(frame_->toolBar().isHidden());
    QVERIFY(!action(command::kStatusBar)->isChecked());
    QVERIFY(!action(command::kToolBar)->isChecked());
    QTRY_VERIFY(frame_->canvas().height() > canvasHeight);

    action(command::kToolBar)->trigger();
    QVERIFY(!frame_->toolBar().isHidden());
    QVERIFY(action(command::kToolBar)->isChecked());
}

void MainFrameTest::gridToggleCarriesTheCheckMark() {
    action(command::kGridToggle)->trigger();
    QVERIFY(app_->document().grid().gridEnabled);
    QVERIFY(action(command::kGridToggle)->isChecked());
    action(command::kGridToggle)->trigger();
    QVERIFY(!app_->document().grid().gridEnabled);
    QVERIFY(!action(command::kGridToggle)->isChecked());
}

void MainFrameTest::clipboardAndPaneKeysDoNothing() {
    placeDrawing();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_C, Qt::ControlModifier},      {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_X, Qt::ControlModifier},      {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_F6, Qt::NoModifier},          {Qt::Key_F6, Qt::ShiftModifier},
    };
    for (const auto& [key, modifiers] : keys) {
        QTest::keyClick(frame_, key, modifiers);
    }
    QCOMPARE(document().line(5).count, 3);
    QCOMPARE(frame_->canvas().editor().selectedSlot(), 5);
    QVERIFY(fake_->messages.isEmpty());
    QCOMPARE(fake_->dialogsRun, 0);
    QVERIFY(fake_->fileDialogs.empty());
}

void MainFrameTest::statusBarShowsPromptsAndReady() {
    QLabel& pane = frame_->messagePane();
    QCOMPARE(pane.text(), QString::fromUtf8("ﾚﾃﾞｨ"));
    action(command::kAbout)->showStatusText(frame_);
    QCOMPARE(pane.text(), QString::fromUtf8("ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"));
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(frame_, &leave);
    QCOMPARE(pane.text(), QString::fromUtf8("ﾚﾃﾞｨ"));

    // The lock indicators follow the message pane; blank while off or unknown.
    const QList<QLabel*> labels = frame_->statusBar()->findChildren<QLabel*>();
    for (const char* name : {"ｶﾅ", "CAP", "NUM", "SCRL"}) {
        const auto* indicator = frame_->statusBar()->findChild<QLabel*>(QString::fromUtf8(name));
        QVERIFY2(indicator != nullptr, name);
        QVERIFY(indicator->text().isEmpty() || indicator->text() == QString::fromUtf8(name));
    }
}

void MainFrameTest::aboutBoxShowsTitleIconAndCloses() {
    QString title;
    bool hasIcon = false;
    fake_->inDialog = [&](QDialog& dialog) {
        QVERIFY(qobject_cast<CAboutDialog*>(&dialog) != nullptr);
        title = dialog.findChild<QLabel*>(QStringLiteral("title"))->text();
        hasIcon = !dialog.findChild<QLabel*>(QStringLiteral("icon"))->pixmap().isNull();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    };
    QTest::mouseClick(frame_->toolBar().widgetForAction(action(command::kAbout)), Qt::LeftButton);
    QCOMPARE(fake_->dialogsRun, 1);
    QCOMPARE(title, QStringLiteral("Penmoji Version 1.0a1"));
    QVERIFY(hasIcon);
}

// No close box: the Cancel button and Escape are the ways out, and both only ask.
void MainFrameTest::progressDialogCancelsAndShowsProgress() {
    CProgressDialog dialog(frame_);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(dialog.findChildren<QAbstractButton*>().size(), 1);
    QSignalSpy cancelled(&dialog, &CProgressDialog::cancelled);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("cancel")), Qt::LeftButton);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(cancelled.count(), 2);

    // Totals that fit 32 bits are shown as they are; larger ones are scaled down with their
    // position.
    struct Case {
        std::int64_t position, total;
        int value, maximum;
    };
    const Case cases[] = {
        {0, 70000, 0, 70000},
        {69999, 70000, 69999, 70000},
        {2'000'000'000, 2'147'483'647, 2'000'000'000, 2'147'483'647},
        {3'000'000'000, 6'000'000'000, 750'000'000, 1'500'000'000},
    };
    for (const Case& c : cases) {
        dialog.reportProgress(c.position, c.total);
        QCOMPARE(dialog.bar().maximum(), c.maximum);
        QCOMPARE(dialog.bar().value(), c.value);
    }
}

void MainFrameTest::cancelledRenderAsKeepsTheOldFile_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape") << true;
}

// A rendering of minutes, cancelled from its progress dialog: the file written before stays as
// it was, nothing else appears beside it, nothing is said, and the editor goes on working.
void MainFrameTest::cancelledRenderAsKeepsTheOldFile() {
    QFETCH(bool, escape);
    const QString out = path("out.txt");
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    // Long strokes scattered over the largest canvas: minutes of work.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> coordinate(0, 1'000'000);
    for (int slot = 0; slot < 20; ++slot) {
        std::vector<Point> points(50);
        for (Point& p : points) {
            p = {coordinate(random), coordinate(random)};
        }
        document().setVector(slot, points);
    }

    QTimer cancelling;
    bool cancelledOnce = false;
    connect(&cancelling, &QTimer::timeout, [&] {
        const auto dialogs = frame_->findChildren<CProgressDialog*>();
        if (dialogs.isEmpty() || !dialogs.front()->isVisible() || cancelledOnce) {
            return;
        }
        cancelledOnce = true;
        if (escape) {
            QTest::keyClick(dialogs.front(), Qt::Key_Escape);
        } else {
            QTest::mouseClick(
                dialogs.front()->findChild<QAbstractButton*>(QStringLiteral("cancel")),
                Qt::LeftButton);
        }
    });
    cancelling.start(100);
    fake_->filesToSave.push_back(choiceOf(out));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    cancelling.stop();

    QVERIFY(cancelledOnce);
    QVERIFY(fake_->messages.isEmpty());
    QCOMPARE(readAll(out), QByteArray("old"));
    // Nothing was written, so re-render has no file to write.
    QVERIFY(frame_->renderPath().isEmpty());
    QVERIFY(!action(command::kReRender)->isEnabled());
    QCOMPARE(QDir(session_->dir().path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("out.txt")});
    QVERIFY(frame_->findChildren<CProgressDialog*>().isEmpty());

    // The next render-as of a small drawing writes the file.
    document().clear();
    fake_->filesToSave.push_back(choiceOf(out));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(renderingEnded(*frame_));
    QCOMPARE(readAll(out), kEmptyDrawingText);
}

// Render-as returns at once and its result comes by signal: meanwhile the window stays blocked
// by the progress window, and no command starts a second rendering over the first.
void MainFrameTest::oneRenderingForAFileAtATime() {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> coordinate(0, 1'000'000);
    for (int slot = 0; slot < 20; ++slot) {
        std::vector<Point> points(50);
        for (Point& p : points) {
            p = {coordinate(random), coordinate(random)};
        }
        document().setVector(slot, points);
    }
    fake_->filesToSave.push_back(choiceOf(path("out.txt")));
    frame_->dispatchCommand(command::kRenderAs);
    QVERIFY(frame_->fileRenderer().busy());
    const auto dialogs = frame_->findChildren<CProgressDialog*>();
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs.front()->windowModality(), Qt::WindowModal);
    QVERIFY(!action(command::kRenderAs)->isEnabled());

    const std::size_t asked = fake_->fileDialogs.size();
    for (int id : {command::kRenderAs, command::kEditCopy, command::kExportPicture}) {
        frame_->dispatchCommand(id);
    }
    QCOMPARE(fake_->fileDialogs.size(), asked);
    QCOMPARE(frame_->findChildren<CProgressDialog*>().size(), 1);

    QTest::keyClick(dialogs.front(), Qt::Key_Escape);
    QVERIFY(renderingEnded(*frame_));
    QVERIFY(action(command::kRenderAs)->isEnabled());
    QVERIFY(!QFileInfo::exists(path("out.txt")));
    QVERIFY(fake_->messages.isEmpty());
}

}  // namespace penmoji

QTEST_MAIN(penmoji::MainFrameTest)
#include "main_frame_test.moc"
