// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <utility>

#include <QString>
#include <QStringList>

class QDialog;
class QUrl;
class QWidget;

namespace penmoji {

// What a file dialog offers: name filters in Qt's "text (patterns)" form, the first selected,
// and the extension added to a name typed without one.
struct FileDialogSetup {
    FileDialogSetup(QStringList nameFilters, QString suffix, bool replaceAsks = true)
        : filters(std::move(nameFilters)),
          defaultSuffix(std::move(suffix)),
          confirmReplace(replaceAsks) {}

    QStringList filters;
    QString defaultSuffix;
    // The save dialog asks before a file is replaced; not for a file that is added to.
    bool confirmReplace = true;
    // The name the dialog starts with, without a folder; empty for none.
    QString suggestedName;
};

// A file the user chose, with its extension (without the dot) as the dialog reports it.
struct FileChoice {
    QString path;
    QString extension;
};

// The answers to the question before unsaved changes would be lost.
enum class SaveAnswer { Save, Discard, Cancel };

// Every modal window the commands open: message boxes, file dialogs and the program's own
// dialogs. The tests put a scripted stand-in here so that no command ever waits for a person.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // A message with an OK button, the exclamation icon and the application title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The same box with Yes and No, No being the default button unless `yesByDefault`; true
    // for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, bool yesByDefault = false) = 0;
    // A short report in the main window's status bar, for what needs no click to go away.
    virtual void showStatus(QWidget* parent, const QString& text) = 0;
    // The same box with Save, Discard and Cancel, Save being the default button.
    virtual SaveAnswer askSaveChanges(QWidget* parent, const QString& text) = 0;
    // Nothing when the user cancels. The save dialog confirms before replacing a file.
    virtual std::optional<FileChoice> chooseFileToOpen(QWidget* parent,
                                                       const FileDialogSetup& setup) = 0;
    virtual std::optional<FileChoice> chooseFileToSave(QWidget* parent,
                                                       const FileDialogSetup& setup) = 0;
    // Runs a dialog modally and returns its result code (QDialog::Accepted or Rejected).
    virtual int runDialog(QDialog& dialog) = 0;
    // Opens a page or a file in the desktop's program for it; false when none would.
    virtual bool openUrl(const QUrl& url) = 0;

    // "終了" after a save, an open or a render: the box the program always showed, or, for a
    // user who turned it off ("完了メッセージを表示"), the status bar.
    void reportFinished(QWidget* parent);
    bool finishedBoxes() const { return finishedBoxes_; }
    void setFinishedBoxes(bool boxes) { finishedBoxes_ = boxes; }

private:
    bool finishedBoxes_ = true;
};

// The real windows.
class DesktopInteraction final : public UserInteraction {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text, bool yesByDefault = false) override;
    void showStatus(QWidget* parent, const QString& text) override;
    SaveAnswer askSaveChanges(QWidget* parent, const QString& text) override;
    std::optional<FileChoice> chooseFileToOpen(QWidget* parent,
                                               const FileDialogSetup& setup) override;
    std::optional<FileChoice> chooseFileToSave(QWidget* parent,
                                               const FileDialogSetup& setup) override;
    int runDialog(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
};

}  // namespace penmoji
