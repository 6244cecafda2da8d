// SPDX-License-Identifier: MIT
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <memory>
#include <sstream>

#include "app/command_ids.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/settings_store.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "document/vector_file.h"
#include "fake_interaction.h"

namespace penmoji {
namespace {

FileChoice choiceOf(const QString& path) {
    return {path, QFileInfo(path).suffix()};
}

// The bytes the drawing would be saved as: what undo must bring back exactly.
std::string savedBytes(const Document& document) {
    std::ostringstream out;
    if (!document.vectors().writeTo(out).ok()) {
        return {};
    }
    return out.str();
}

// The gestures and commands whose undo step is checked.
enum class Edit { Draw, MovePoint, MoveVector, Delete, Initialise, Open, NudgeRun };

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void eachEditIsOneStepThatUndoesExactly_data();
    void eachEditIsOneStepThatUndoesExactly();
    void undoWhileDrawingTakesBackPoints();
    void menuAndTitleFollowTheHistory();
    void unsavedChangesAreAskedAbout_data();
    void unsavedChangesAreAskedAbout();
    void saveAsksForANameOnlyTheFirstTime();
    void commandLineFileOpensAtStart();
    void droppedDrawingOpens();
    void recentFilesListTheLastDrawings();
    void settingsSurviveARestart();
    void damagedSettingsAreClamped();
    void keysEditTheSelectedVector();
    void zoomKeepsPixelsAndPicking();
    void qtDialogsSpeakJapanese();

private:
    void startApp(const QString& file = {});
    // Slot 3 holds (40, 40) (120, 40) (120, 100), selected, and the history starts here.
    void placeDrawing();
    void perform(Edit edit);
    Document& document() { return app_->document().document(); }
    DocumentHistory& history() { return app_->document().history(); }
    CEditCanvas& canvas() { return frame_->canvas(); }
    QPoint at(int x, int y) { return canvas().contentsRect().topLeft() + QPoint(x, y); }
    QString path(const QString& name) const { return dir_->filePath(name); }
    QAction* action(int id) const { return frame_->action(id); }
    QString writeDrawing(const QString& name, std::initializer_list<Point> points);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeInteraction> fake_;
    std::unique_ptr<CMainApp> app_;
    CMainFrame* frame_ = nullptr;
};

void EditingTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_->filePath("config"));
    startApp();
}

void EditingTest::startApp(const QString& file) {
    app_.reset();
    fake_ = std::make_unique<FakeInteraction>();
    app_ = std::make_unique<CMainApp>(*fake_);
    QVERIFY(app_->initInstance(file));
    frame_ = app_->mainFrame();
    QApplication::setActiveWindow(frame_);
    QVERIFY(QTest::qWaitForWindowActive(frame_));
}

void EditingTest::cleanup() {
    app_.reset();
    fake_.reset();
    dir_.reset();
}

void EditingTest::placeDrawing() {
    const Point points[] = {{40, 40}, {120, 40}, {120, 100}};
    document().setVector(3, points);
    history().clearSteps();
    history().setClean();
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at(80, 40));
    QCOMPARE(canvas().editor().selectedSlot(), 3);
}

QString EditingTest::writeDrawing(const QString& name, std::initializer_list<Point> points) {
    auto vectors = std::make_unique<VectorSet>();
    std::copy(points.begin(), points.end(), vectors->lines[0].points.begin());
    vectors->lines[0].count = static_cast<std::int32_t>(points.size());
    const QString file = path(name);
    if (!saveVectorFile(file.toStdString(), *vectors).ok()) {
        return {};
    }
    return file;
}

void EditingTest::perform(Edit edit) {
    switch (edit) {
        case Edit::Draw:
            action(command::kNewVector)->trigger();
            QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at(10, 150));
            QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at(60, 170));
            QTest::mouseClick(&canvas(), Qt::RightButton, {}, at(60, 170));
            break;
        case Edit::MovePoint:
            QTest::mousePress(&canvas(), Qt::LeftButton, {}, at(120, 40));
            QTest::mouseMove(&canvas(), at(130, 30));
            QTest::mouseMove(&canvas(), at(150, 20));
            QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, at(150, 20));
            break;
        case Edit::MoveVector:
            QTest::mousePress(&canvas(), Qt::LeftButton, Qt::ShiftModifier, at(80, 40));
            QTest::mouseMove(&canvas(), at(90, 60));
            QTest::mouseRelease(&canvas(), Qt::LeftButton, Qt::ShiftModifier, at(90, 60));
            break;
        case Edit::Delete:
            QTest::keyClick(frame_, Qt::Key_Delete);
            break;
        case Edit::Initialise:
            fake_->answers = {true};
            frame_->dispatchCommand(command::kInitialise);
            break;
        case Edit::Open:
            fake_->filesToOpen.push_back(choiceOf(writeDrawing("other.pmj", {{1, 2}, {3, 4}})));
            frame_->dispatchCommand(command::kOpen);
            break;
        case Edit::NudgeRun:
            QTest::keyClick(frame_, Qt::Key_Right);
            QTest::keyClick(frame_, Qt::Key_Right);
            QTest::keyClick(frame_, Qt::Key_Down, Qt::ShiftModifier);
            break;
    }
}

void EditingTest::eachEditIsOneStepThatUndoesExactly_data() {
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("name");
    QTest::newRow("draw") << Edit::Draw << QString::fromUtf8("新規ベクトル");
    QTest::newRow("move point") << Edit::MovePoint << QString::fromUtf8("点の移動");
    QTest::newRow("move vector") << Edit::MoveVector << QString::fromUtf8("ベクトルの移動");
    QTest::newRow("delete") << Edit::Delete << QString::fromUtf8("ベクトルの削除");
    QTest::newRow("initialise") << Edit::Initialise << QString::fromUtf8("初期化");
    QTest::newRow("open") << Edit::Open << QString::fromUtf8("ファイルを開く");
    QTest::newRow("run of nudges") << Edit::NudgeRun << QString::fromUtf8("ベクトルの移動");
}

void EditingTest::eachEditIsOneStepThatUndoesExactly() {
    QFETCH(Edit, edit);
    QFETCH(QString, name);
    placeDrawing();
    const std::string before = savedBytes(document());
    perform(edit);
    const std::string after = savedBytes(document());
    QVERIFY(after != before);
    QCOMPARE(history().stack().count(), 1);
    QCOMPARE(action(command::kEditUndo)->text(), QString::fromUtf8("元に戻す: ") + name);

    QTest::keyClick(frame_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(savedBytes(document()), before);
    QCOMPARE(action(command::kEditRedo)->text(), QString::fromUtf8("やり直し: ") + name);
    QTest::keyClick(frame_, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(savedBytes(document()), after);
    QTest::keyClick(frame_, Qt::Key_Backspace, Qt::AltModifier);  // the table's other undo key
    QCOMPARE(savedBytes(document()), before);
    QTest::keyClick(frame_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(savedBytes(document()), after);
}

void EditingTest::undoWhileDrawingTakesBackPoints() {
    action(command::kNewVector)->trigger();
    for (int x : {10, 30, 50}) {
        QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at(x, 20));
    }
    QCOMPARE(frame_->messagePane().text(),
             QString::fromUtf8(
                 "左クリックで点を追加、右クリックかEnterで終了、Backspaceで最後の点を取り消し"));
    QVERIFY(action(command::kEditUndo)->isEnabled());
    QVERIFY(!action(command::kEditRedo)->isEnabled());
    QTest::keyClick(frame_, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(frame_, Qt::Key_Backspace);
    QVERIFY(canvas().editor().drawing());
    QCOMPARE(document().line(0).count, 1);
    QTest::mouseClick(&canvas(), Qt::LeftButton, {}, at(70, 40));
    QTest::keyClick(frame_, Qt::Key_Return);
    QVERIFY(!canvas().editor().drawing());
    QCOMPARE(frame_->messagePane().text(), QString::fromUtf8("ﾚﾃﾞｨ"));
    QCOMPARE(document().line(0).count, 2);
    QCOMPARE(document().line(0).points[1], (Point{70, 40}));
    QCOMPARE(history().stack().count(), 1);  // the whole vector, one step

    // With no point left, undo gives up the new vector; Escape ends one too.
    action(command::kNewVector)->trigger();
    QTest::keyClick(frame_, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!canvas().editor().drawing());
    action(command::kNewVector)->trigger();
    QTest::keyClick(frame_, Qt::Key_Escape);
    QVERIFY(!canvas().editor().drawing());
    QCOMPARE(history().stack().count(), 1);
}

void EditingTest::menuAndTitleFollowTheHistory() {
    const QList<QAction*> edit = frame_->menuBar()->actions()[1]->menu()->actions();
    QCOMPARE(edit[0], action(command::kEditUndo));
    QCOMPARE(edit[1], action(command::kEditRedo));
    QCOMPARE(action(command::kEditUndo)->text(), QString::fromUtf8("元に戻す"));
    QVERIFY(!action(command::kEditUndo)->isEnabled());
    const QList<QAction*> bar = frame_->toolBar().actions();
    QVERIFY(bar.contains(action(command::kEditUndo)) && bar.contains(action(command::kEditRedo)));

    QVERIFY(!frame_->isWindowModified());
    placeDrawing();
    QTest::keyClick(frame_, Qt::Key_Left);
    QVERIFY(frame_->isWindowModified());
    QVERIFY(frame_->windowTitle().contains(QStringLiteral("[*]")));
    const QString file = path("mark.pmj");
    fake_->filesToSave.push_back(choiceOf(file));
    QTest::keyClick(frame_, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!frame_->isWindowModified());
    QCOMPARE(frame_->windowTitle(), QStringLiteral("mark.pmj[*] - Penmoji Version 1.0a1"));
    // Undo past the save marks the drawing changed; redo back to it clears the mark. A nudge
    // after the save starts a step of its own.
    QTest::keyClick(frame_, Qt::Key_Left);
    QCOMPARE(history().stack().count(), 2);
    QTest::keyClick(frame_, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!frame_->isWindowModified());
    QTest::keyClick(frame_, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(frame_->isWindowModified());
    QTest::keyClick(frame_, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(!frame_->isWindowModified());
}

void EditingTest::unsavedChangesAreAskedAbout_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<SaveAnswer>("answer");
    QTest::addColumn<bool>("goesOn");  // the drawing was let go (window closed, new drawing)
    QTest::addColumn<bool>("saved");
    const std::pair<const char*, int> commands[] = {
        {"exit", command::kExit}, {"open", command::kOpen}, {"initialise", command::kInitialise}};
    for (const auto& [name, id] : commands) {
        QTest::addRow("%s, save", name) << id << SaveAnswer::Save << true << true;
        QTest::addRow("%s, discard", name) << id << SaveAnswer::Discard << true << false;
        QTest::addRow("%s, cancel", name) << id << SaveAnswer::Cancel << false << false;
    }
}

void EditingTest::unsavedChangesAreAskedAbout() {
    QFETCH(int, command);
    QFETCH(SaveAnswer, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);
    placeDrawing();
    QTest::keyClick(frame_, Qt::Key_Left);
    const std::string changed = savedBytes(document());
    const QString file = path("kept.pmj");
    const QString other = writeDrawing("other.pmj", {{1, 1}, {2, 2}});
    fake_->saveAnswers = {answer};
    fake_->filesToSave.push_back(choiceOf(file));
    fake_->filesToOpen.push_back(choiceOf(other));
    fake_->answers = {true};  // initialise: "よろしいですか？"
    frame_->dispatchCommand(command);

    QCOMPARE(fake_->saveQuestions, QStringList{QString::fromUtf8("保存しますか？")});
    QCOMPARE(QFileInfo::exists(file), saved);
    if (command == command::kExit) {
        QCOMPARE(frame_->isVisible(), !goesOn);
    } else {
        QCOMPARE(savedBytes(document()) != changed, goesOn);
    }
    // Cancel changes nothing: no dialog after the question, the mark stays.
    if (!goesOn) {
        QVERIFY(fake_->fileDialogs.empty());
        QVERIFY(frame_->isWindowModified());
    }
}

void EditingTest::saveAsksForANameOnlyTheFirstTime() {
    placeDrawing();
    const QString file = path("own.pmj");
    fake_->filesToSave.push_back(choiceOf(file));
    action(command::kSave)->trigger();
    QCOMPARE(fake_->fileDialogs.size(), std::size_t{1});
    QCOMPARE(QFileInfo(file).size(), 824);

    QTest::keyClick(frame_, Qt::Key_Right);
    QTest::keyClick(frame_, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(fake_->fileDialogs.size(), std::size_t{1});
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().toStdString(), savedBytes(document()));
    QVERIFY(!frame_->isWindowModified());
    QCOMPARE(fake_->messages, QStringList{QString::fromUtf8("終了")});  // only the first
}

void EditingTest::commandLineFileOpensAtStart() {
    const QString good = writeDrawing("start.pmj", {{5, 6}, {7, 8}});
    startApp(good);
    QCOMPARE(document().line(0).count, 2);
    QCOMPARE(frame_->document().filePath(), good);
    QVERIFY(!frame_->isWindowModified());
    QVERIFY(!action(command::kEditUndo)->isEnabled());
    QVERIFY(fake_->messages.isEmpty());

    startApp(path("missing.pmj"));
    QCOMPARE(fake_->messages.size(), 1);
    QVERIFY(fake_->messages.first().startsWith(QString::fromUtf8("ファイルが開けません\n")));
    QCOMPARE(savedBytes(document()), savedBytes(Document()));
    QVERIFY(frame_->document().filePath().isEmpty());
}

void EditingTest::droppedDrawingOpens() {
    placeDrawing();
    QTest::keyClick(frame_, Qt::Key_Left);
    const QString file = writeDrawing("dropped.pmj", {{9, 9}, {19, 9}});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint middle = frame_->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(frame_, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(frame_, &drop);
    QCOMPARE(fake_->saveQuestions.size(), 1);
    QCOMPARE(document().line(0).count, 2);
    QCOMPARE(frame_->document().filePath(), file);

    // Anything but one drawing file is refused.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(path("notes.txt"))});
    QDragEnterEvent refused(middle, Qt::CopyAction, &text, Qt::LeftButton, {});
    QCoreApplication::sendEvent(frame_, &refused);
    QVERIFY(!refused.isAccepted());
}

void EditingTest::recentFilesListTheLastDrawings() {
    const QList<QAction*> fileMenu = frame_->menuBar()->actions()[0]->menu()->actions();
    for (int i = 0; i < command::kRecentFileCount; ++i) {
        QVERIFY(fileMenu.contains(action(command::kRecentFileFirst + i)));
    }
    auto shown = [&] {
        QStringList texts;
        for (int i = 0; i < command::kRecentFileCount; ++i) {
            QAction* recent = action(command::kRecentFileFirst + i);
            if (recent->isVisible()) {
                texts.append(recent->text());
            }
        }
        return texts;
    };
    QCOMPARE(shown(), QStringList());
    for (int i = 0; i < 10; ++i) {
        const QString file = writeDrawing(QStringLiteral("d%1.pmj").arg(i), {{i, i}});
        fake_->filesToOpen.push_back(choiceOf(file));
        frame_->dispatchCommand(command::kOpen);
    }
    QCOMPARE(shown().size(), 8);
    QCOMPARE(shown().first(), QStringLiteral("&1 d9.pmj"));
    QCOMPARE(shown().last(), QStringLiteral("&8 d2.pmj"));

    // A file that is gone leaves the list, also in the next run.
    QVERIFY(QFile::remove(path("d8.pmj")));
    startApp();
    QCOMPARE(shown().size(), 7);
    QCOMPARE(shown()[1], QStringLiteral("&2 d7.pmj"));
    action(command::kRecentFileFirst + 1)->trigger();
    QCOMPARE(document().line(0).points[0], (Point{7, 7}));
    QCOMPARE(shown().first(), QStringLiteral("&1 d7.pmj"));
}

void EditingTest::settingsSurviveARestart() {
    RenderSettings changed = app_->document().renderSettings();
    changed.fine = true;
    changed.scanStep = 5;
    changed.useDots = true;
    app_->document().setRenderSettings(changed);
    app_->document().setBoardProfile(2);
    action(command::kGridToggle)->trigger();
    action(command::kGuideLines)->trigger();
    action(command::kStatusBar)->trigger();
    action(command::kZoomIn)->trigger();
    action(command::kZoomIn)->trigger();
    frame_->canvasView().setPreviewInView(QRect(30, 40, 150, 90));
    QVERIFY(frame_->close());

    startApp();
    const RenderSettings& render = app_->document().renderSettings();
    QVERIFY(render.fine);
    QCOMPARE(render.scanStep, 5);
    QVERIFY(render.useDots);
    QCOMPARE(app_->document().boardProfile(), 2);
    QVERIFY(app_->document().grid().gridEnabled);
    QCOMPARE(frame_->document().grid().gridEnabled, true);
    QVERIFY(!canvas().showGuides());
    QVERIFY(frame_->statusBar()->isHidden());
    QVERIFY(!frame_->toolBar().isHidden());
    QCOMPARE(frame_->canvasView().zoom(), 3);
    QCOMPARE(frame_->canvasView().previewInView(), QRect(30, 40, 150, 90));
}

void EditingTest::damagedSettingsAreClamped() {
    struct Case {
        const char* key;
        QVariant value;
    };
    const Case cases[] = {
        {"render/threshold", 7.5},
        {"render/scanStep", "99999999999"},
        {"render/priorityScale", "nan"},
        {"render/fine", "perhaps"},
        {"grid/size", 13},
        {"grid/enabled", "true"},
        {"view/zoom", -4},
        {"view/preview", QRect(0, 0, 3, 3)},
        {"view/windowGeometry", "junk"},
        {"render/board", "nonsense"},
    };
    {
        const std::unique_ptr<QSettings> settings = openProgramSettings();
        for (const Case& c : cases) {
            settings->setValue(c.key, c.value);
        }
    }
    startApp();
    const RenderSettings& render = app_->document().renderSettings();
    QCOMPARE(render.innerProductThreshold, 1.0f);
    QCOMPARE(render.scanStep, kMaxScanStep);
    QCOMPARE(render.priorityScale, 0.0f);
    QVERIFY(!render.fine);
    QCOMPARE(app_->document().boardProfile(), 0);
    QCOMPARE(app_->document().grid().gridSize, 8);
    QVERIFY(app_->document().grid().gridEnabled);
    QCOMPARE(frame_->canvasView().zoom(), 1);
    QVERIFY(frame_->canvasView().previewInView().width() > 3);
    QVERIFY(frame_->isVisible());
}

void EditingTest::keysEditTheSelectedVector() {
    placeDrawing();
    action(command::kGridToggle)->trigger();  // size 8; nudges are not snapped
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Point first;
    };
    const Press presses[] = {
        {Qt::Key_Right, {}, {41, 40}},
        {Qt::Key_Down, {}, {41, 41}},
        {Qt::Key_Left, Qt::ShiftModifier, {33, 41}},
        {Qt::Key_Up, Qt::ShiftModifier, {33, 33}},
    };
    for (const Press& press : presses) {
        QTest::keyClick(frame_, press.key, press.modifiers);
        QCOMPARE(document().line(3).points[0], press.first);
        QCOMPARE(document().line(3).points[2], (Point{press.first.x + 80, press.first.y + 60}));
    }
    QCOMPARE(history().stack().count(), 1);  // one run
    QTest::qWait(EditorDocument::kNudgeRunMs + 100);
    QTest::keyClick(frame_, Qt::Key_Right);
    QCOMPARE(history().stack().count(), 2);  // a pause starts another

    QTest::keyClick(frame_, Qt::Key_Delete);
    QCOMPARE(document().line(3).count, 0);
    // Nothing selected: the arrows do nothing to the drawing.
    const std::string empty = savedBytes(document());
    QTest::keyClick(frame_, Qt::Key_Right);
    QCOMPARE(savedBytes(document()), empty);
    QVERIFY(!action(command::kNudgeRight)->isEnabled());
}

// Each canvas pixel is a block of the screen, and a press picks in canvas pixels: at 400 % a
// press anywhere in a point's block hits it, the reach stays 5 canvas pixels.
void EditingTest::zoomKeepsPixelsAndPicking() {
    placeDrawing();
    canvas().setShowGuides(false);
    QTest::keyClick(frame_, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(frame_, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(frame_, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(frame_->canvasView().zoom(), 4);
    QVERIFY(canvas().width() >= 4 * 120);
    const QImage image = canvas().grab(canvas().contentsRect()).toImage();
    for (int dy = 0; dy < 4; ++dy) {
        for (int dx = 0; dx < 4; ++dx) {
            QCOMPARE(image.pixelColor(4 * 80 + dx, 4 * 40 + dy), QColor(255, 0, 0));
            QCOMPARE(image.pixelColor(4 * 80 + dx, 4 * 42 + dy), QColor(255, 255, 255));
        }
    }

    struct Case {
        QPoint screen;  // in the client area at 400 %
        bool hits;
    };
    const Case cases[] = {
        {{4 * 120 + 3, 4 * 40 + 3}, true},  // inside the point's block
        {{4 * 125 + 3, 4 * 35}, true},      // 5 canvas pixels off
        {{4 * 126, 4 * 40}, false},         // 6 canvas pixels off
    };
    for (const Case& c : cases) {
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, at(c.screen.x(), c.screen.y()));
        QCOMPARE(canvas().editor().dragging(), c.hits);
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, at(c.screen.x(), c.screen.y()));
    }
    QCOMPARE(document().line(3).points[1], (Point{120, 40}));  // presses without a move

    QTest::keyClick(frame_, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(frame_->canvasView().zoom(), 1);
    QVERIFY(!action(command::kZoomOut)->isEnabled());
}

void EditingTest::qtDialogsSpeakJapanese() {
    QVERIFY(installQtTranslations(*QCoreApplication::instance()));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
             QString::fromUtf8("キャンセル"));
}

}  // namespace penmoji

QTEST_MAIN(penmoji::EditingTest)
#include "editing_test.moc"
