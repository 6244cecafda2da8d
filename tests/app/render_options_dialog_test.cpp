// SPDX-License-Identifier: MIT
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/command_ids.h"
#include "app/live_rendering.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/render_options_dialog.h"
#include "canvas/editor_document.h"
#include "fake_interaction.h"

namespace penmoji {
namespace {

QLineEdit* field(QDialog& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QLatin1String(name));
}

QCheckBox* box(QDialog& dialog, const char* name) {
    return dialog.findChild<QCheckBox*>(QLatin1String(name));
}

void clickOk(QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("OK")) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL("no OK button");
}

}  // namespace

// Runs the real settings command of the real frame; the dialog is played by `inDialog`.
class RenderOptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithTheSettings();
    void tabOrderFollowsTheTemplate();
    void refusedTextKeepsTheDialogOpen_data();
    void refusedTextKeepsTheDialogOpen();
    void okStoresClampedValues_data();
    void okStoresClampedValues();
    void okStoresTheCheckBoxes();
    void cancelChangesNothing();
    void everySettingExplainsItself();
    void toolbarSwitchesFineMatching();

private:
    // Opens the dialog through the command, lets `play` act in it, and returns what the user
    // was told.
    QStringList runCommand(const std::function<void(QDialog&)>& play);

    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<FakeInteraction> fake_;
    std::unique_ptr<CMainApp> app_;
};

void RenderOptionsDialogTest::init() {
    // Settings of a run of its own, never the user's.
    settingsDir_ = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_->path());
    fake_ = std::make_unique<FakeInteraction>();
    app_ = std::make_unique<CMainApp>(*fake_);
    QVERIFY(app_->initInstance());
}

void RenderOptionsDialogTest::cleanup() {
    app_.reset();
    fake_.reset();
}

QStringList RenderOptionsDialogTest::runCommand(const std::function<void(QDialog&)>& play) {
    fake_->inDialog = play;
    app_->mainFrame()->dispatchCommand(command::kRenderSettings);
    return fake_->messages;
}

void RenderOptionsDialogTest::everySettingExplainsItself() {
    runCommand([](QDialog& dialog) {
        QList<QWidget*> settings;
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            if (qobject_cast<QCheckBox*>(w) || qobject_cast<QLineEdit*>(w) ||
                qobject_cast<QComboBox*>(w)) {
                settings.append(w);
            }
        }
        QCOMPARE(settings.size(), 9);
        QSet<QString> tips;
        for (QWidget* w : settings) {
            QVERIFY2(!w->toolTip().isEmpty(), qPrintable(w->objectName()));
            tips.insert(w->toolTip());
        }
        QCOMPARE(tips.size(), settings.size());
    });
}

// The toolbar's 高品質マッチング is the dialog's check box: either changes the other.
void RenderOptionsDialogTest::toolbarSwitchesFineMatching() {
    CMainFrame& frame = *app_->mainFrame();
    QAction* button = frame.action(command::kFineMatching);
    QVERIFY(button->isCheckable());
    QVERIFY(!button->isChecked());
    QSignalSpy invalidated(&frame.liveRendering().service(), &RenderService::busyChanged);
    button->trigger();
    QVERIFY(app_->document().renderSettings().fine);
    QVERIFY(button->isChecked());
    QTRY_VERIFY(!invalidated.isEmpty());  // the live art is rendered again
    runCommand([](QDialog& dialog) {
        auto* fine = dialog.findChild<QCheckBox*>(QStringLiteral("fine"));
        QVERIFY(fine->isChecked());
        fine->setChecked(false);
        dialog.accept();
    });
    QVERIFY(!button->isChecked());
}

void RenderOptionsDialogTest::opensWithTheSettings() {
    runCommand([](QDialog& dialog) {
        QVERIFY(qobject_cast<CRenderOptionsDialog*>(&dialog) != nullptr);
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("レンダリングオプション"));
        QCOMPARE(field(dialog, "scanUnit")->text(), QStringLiteral("2"));
        QCOMPARE(field(dialog, "priorityFactor")->text(), QStringLiteral("1"));
        QCOMPARE(field(dialog, "threshold")->text(), QStringLiteral("0.85"));
        QVERIFY(!box(dialog, "noEntities")->isChecked());
        QVERIFY(!box(dialog, "useDots")->isChecked());
        QVERIFY(box(dialog, "underscoreRuns")->isChecked());
        QVERIFY(box(dialog, "strictHalfSpaces")->isChecked());
        QVERIFY(!box(dialog, "fine")->isChecked());
        QCOMPARE(box(dialog, "fine")->text(), QString::fromUtf8("高品質マッチング"));
        QCOMPARE(box(dialog, "noEntities")->text(), QString::fromUtf8("&&nbsp;などを使用しない"));
    });
    QCOMPARE(fake_->dialogsRun, 1);
}

void RenderOptionsDialogTest::tabOrderFollowsTheTemplate() {
    runCommand([](QDialog& dialog) {
        const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
        QWidget* expected[] = {buttons.value(0),
                               buttons.value(1),
                               box(dialog, "noEntities"),
                               box(dialog, "useDots"),
                               box(dialog, "underscoreRuns"),
                               box(dialog, "strictHalfSpaces"),
                               field(dialog, "scanUnit"),
                               field(dialog, "priorityFactor"),
                               field(dialog, "threshold"),
                               box(dialog, "fine")};
        QCOMPARE(buttons.value(0)->text(), QStringLiteral("OK"));
        QVERIFY(buttons.value(0)->isDefault());
        QWidget* widget = expected[0];
        for (QWidget* next : std::span(expected).subspan(1)) {
            do {
                widget = widget->nextInFocusChain();
            } while (widget->focusPolicy() == Qt::NoFocus);
            QCOMPARE(widget, next);
        }
    });
}

void RenderOptionsDialogTest::refusedTextKeepsTheDialogOpen_data() {
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("priority");
    QTest::addColumn<QString>("scanUnit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    const QString number = QString::fromUtf8("数字を入力してください。");
    const QString integer = QString::fromUtf8("整数を入力してください。");
    QTest::newRow("letters as threshold") << "abc"
                                          << "1"
                                          << "2" << number << "threshold";
    QTest::newRow("empty priority") << "0.85"
                                    << ""
                                    << "2" << number << "priorityFactor";
    QTest::newRow("real as scan unit") << "0.85"
                                       << "1"
                                       << "2.5" << integer << "scanUnit";
    QTest::newRow("threshold read first") << "x"
                                          << "1"
                                          << "2.5" << number << "threshold";
    QTest::newRow("priority before scan unit") << "1"
                                               << "-0"
                                               << "y" << number << "priorityFactor";
    QTest::newRow(".0 is no zero") << ".0"
                                   << "1"
                                   << "2" << number << "threshold";
    QTest::newRow("-0 scan unit") << "1"
                                  << "1"
                                  << "-0" << integer << "scanUnit";
}

void RenderOptionsDialogTest::refusedTextKeepsTheDialogOpen() {
    QFETCH(QString, threshold);
    QFETCH(QString, priority);
    QFETCH(QString, scanUnit);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    bool stayedOpen = false;
    const QStringList told = runCommand([&](QDialog& dialog) {
        field(dialog, "threshold")->setText(threshold);
        field(dialog, "priorityFactor")->setText(priority);
        field(dialog, "scanUnit")->setText(scanUnit);
        clickOk(dialog);
        stayedOpen = dialog.isVisible();
        QLineEdit* refused = field(dialog, qPrintable(focused));
        QCOMPARE(dialog.focusWidget(), refused);
        QCOMPARE(refused->selectedText(), refused->text());
    });
    QVERIFY(stayedOpen);
    QCOMPARE(told, QStringList{message});
    const RenderSettings settings = app_->document().renderSettings();
    QCOMPARE(settings.innerProductThreshold, 0.85f);
    QCOMPARE(settings.priorityScale, 1.0f);
    QCOMPARE(settings.scanStep, 2);
}

void RenderOptionsDialogTest::okStoresClampedValues_data() {
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<QString>("priority");
    QTest::addColumn<QString>("scanUnit");
    QTest::addColumn<float>("storedThreshold");
    QTest::addColumn<float>("storedPriority");
    QTest::addColumn<int>("storedScanUnit");
    QTest::newRow("upper bounds stay") << "1"
                                       << "2"
                                       << "11" << 1.0f << 2.0f << 11;
    QTest::newRow("lower bounds stay") << "0"
                                       << "0.0"
                                       << "2" << 0.0f << 0.0f << 2;
    QTest::newRow("below") << "-0.1"
                           << "-1"
                           << "1" << 0.0f << 0.0f << 2;
    QTest::newRow("far below") << "-1e999"
                               << "-5"
                               << "-5" << 0.0f << 0.0f << 2;
    QTest::newRow("above") << "1.5"
                           << "3"
                           << "12" << 1.0f << 2.0f << 11;
    QTest::newRow("far above") << "1e999"
                               << "1e300"
                               << "99999999999" << 1.0f << 2.0f << 11;
    QTest::newRow("blanks around") << " \t0.5 "
                                   << "  1.25"
                                   << "7\t" << 0.5f << 1.25f << 7;
    QTest::newRow("zero scan unit") << "0.85"
                                    << "1"
                                    << "0" << 0.85f << 1.0f << 2;
}

void RenderOptionsDialogTest::okStoresClampedValues() {
    QFETCH(QString, threshold);
    QFETCH(QString, priority);
    QFETCH(QString, scanUnit);
    QFETCH(float, storedThreshold);
    QFETCH(float, storedPriority);
    QFETCH(int, storedScanUnit);
    const QStringList told = runCommand([&](QDialog& dialog) {
        field(dialog, "threshold")->setText(threshold);
        field(dialog, "priorityFactor")->setText(priority);
        field(dialog, "scanUnit")->setText(scanUnit);
        clickOk(dialog);
        QVERIFY(!dialog.isVisible());
    });
    QVERIFY(told.isEmpty());
    const RenderSettings settings = app_->document().renderSettings();
    QCOMPARE(settings.innerProductThreshold, storedThreshold);
    QCOMPARE(settings.priorityScale, storedPriority);
    QCOMPARE(settings.scanStep, storedScanUnit);
}

void RenderOptionsDialogTest::okStoresTheCheckBoxes() {
    runCommand([](QDialog& dialog) {
        for (const char* name :
             {"noEntities", "useDots", "underscoreRuns", "strictHalfSpaces", "fine"}) {
            box(dialog, name)->toggle();
        }
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    const RenderSettings settings = app_->document().renderSettings();
    QVERIFY(settings.noEntities);
    QVERIFY(settings.useDots);
    QVERIFY(!settings.underscoreRuns);
    QVERIFY(!settings.strictHalfSpaces);
    QVERIFY(settings.fine);

    // Reopened, the dialog shows what was stored.
    runCommand([](QDialog& dialog) {
        QVERIFY(box(dialog, "useDots")->isChecked());
        QVERIFY(box(dialog, "fine")->isChecked());
        QVERIFY(!box(dialog, "strictHalfSpaces")->isChecked());
    });
}

void RenderOptionsDialogTest::cancelChangesNothing() {
    const QStringList told = runCommand([](QDialog& dialog) {
        field(dialog, "threshold")->setText(QStringLiteral("abc"));
        field(dialog, "scanUnit")->setText(QStringLiteral("9"));
        box(dialog, "useDots")->toggle();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    QVERIFY(told.isEmpty());
    const RenderSettings settings = app_->document().renderSettings();
    QCOMPARE(settings.scanStep, 2);
    QCOMPARE(settings.innerProductThreshold, 0.85f);
    QVERIFY(!settings.useDots);
}

}  // namespace penmoji

QTEST_MAIN(penmoji::RenderOptionsDialogTest)
#include "render_options_dialog_test.moc"
