// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

#include "app/grid_commands.h"
#include "app/user_interaction.h"

namespace penmoji {
namespace {

// Plays the user in the dialog instead of waiting for one; records the messages shown.
class ScriptedUser final : public UserInteraction {
public:
    QStringList messages;
    std::function<void(QDialog&)> inDialog;

    void showMessage(QWidget*, const QString& text) override { messages.append(text); }
    bool askYesNo(QWidget*, const QString&, bool = false) override { return false; }
    void showStatus(QWidget*, const QString&) override {}
    bool openUrl(const QUrl&) override { return false; }
    SaveAnswer askSaveChanges(QWidget*, const QString&) override { return SaveAnswer::Cancel; }
    std::optional<FileChoice> chooseFileToOpen(QWidget*, const FileDialogSetup&) override {
        return {};
    }
    std::optional<FileChoice> chooseFileToSave(QWidget*, const FileDialogSetup&) override {
        return {};
    }
    int runDialog(QDialog& dialog) override {
        dialog.show();
        inDialog(dialog);
        if (dialog.isVisible()) {
            dialog.reject();
        }
        return dialog.result();
    }
};

QPushButton* button(QDialog& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

}  // namespace

class GridDialogTest : public QObject {
    Q_OBJECT

private slots:
    void ok_data() {
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("size");
        QTest::newRow("12 ticked") << true << "12" << true << 12;
        QTest::newRow("16 between blanks") << true << " \t16 " << true << 16;
        QTest::newRow("10 becomes 8") << true << "10" << true << 8;
        QTest::newRow("a negative size becomes 8") << true << "-16" << true << 8;
        QTest::newRow("0 becomes 8") << true << "0" << true << 8;
        QTest::newRow("unticked switches off, size still read") << false << "16" << false << 16;
    }

    void ok() {
        QFETCH(bool, tick);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        QFETCH(int, size);
        ScriptedUser user;
        user.inDialog = [&](QDialog& dialog) {
            dialog.findChild<QCheckBox*>("enabled")->setChecked(tick);
            dialog.findChild<QLineEdit*>("size")->setText(text);
            QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);
        };
        const auto result = editGridSettings({false, 12}, user, nullptr);
        QVERIFY(result.has_value());
        QCOMPARE(result->gridEnabled, enabled);
        QCOMPARE(result->gridSize, size);
        QVERIFY(user.messages.isEmpty());
    }

    void opensWithTheCurrentSettings() {
        ScriptedUser user;
        user.inDialog = [&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString::fromUtf8("グリッドの設定"));
            QVERIFY(dialog.findChild<QCheckBox*>("enabled")->isChecked());
            QCOMPARE(dialog.findChild<QLineEdit*>("size")->text(), QStringLiteral("12"));
            QTest::keyClick(&dialog, Qt::Key_Return);
        };
        const auto result = editGridSettings({true, 12}, user, nullptr);
        QVERIFY(result.has_value());
        QCOMPARE(result->gridSize, 12);
    }

    void textThatIsNoIntegerIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters after the number") << "16abc";
        QTest::newRow("empty field") << "";
        QTest::newRow("blank inside") << "1 6";
    }

    void textThatIsNoIntegerIsRefused() {
        QFETCH(QString, text);
        ScriptedUser user;
        bool stayedOpen = false;
        user.inDialog = [&](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>("size");
            edit->setText(text);
            QTest::mouseClick(button(dialog, "OK"), Qt::LeftButton);
            stayedOpen = dialog.isVisible() && dialog.focusWidget() == edit;
        };
        QVERIFY(!editGridSettings({false, 8}, user, nullptr).has_value());
        QVERIFY(stayedOpen);
        QCOMPARE(user.messages, QStringList{QString::fromUtf8("整数を入力してください。")});
    }

    void cancelChangesNothing() {
        ScriptedUser user;
        user.inDialog = [&](QDialog& dialog) {
            dialog.findChild<QCheckBox*>("enabled")->setChecked(true);
            dialog.findChild<QLineEdit*>("size")->setText("16");
            QTest::mouseClick(button(dialog, QString::fromUtf8("ｷｬﾝｾﾙ")), Qt::LeftButton);
        };
        QVERIFY(!editGridSettings({false, 8}, user, nullptr).has_value());
        QVERIFY(user.messages.isEmpty());
    }
};

}  // namespace penmoji

QTEST_MAIN(penmoji::GridDialogTest)
#include "grid_dialog_test.moc"
