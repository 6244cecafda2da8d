// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <functional>
#include <optional>

#include <QDialog>
#include <QStringList>
#include <QUrl>

#include "app/user_interaction.h"

namespace penmoji {

// Stands in for every modal window: records what the program said, answers from a script.
class FakeInteraction final : public UserInteraction {
public:
    QStringList messages;
    QStringList questions;
    // The questions asked with Yes as the default button.
    QStringList questionsDefaultingToYes;
    // The reports shown in the status bar.
    QStringList statusMessages;
    std::deque<bool> answers;  // to the Yes/No questions; No when none is left
    // The unsaved-changes questions asked, and the answers to them; Discard when none is left.
    QStringList saveQuestions;
    std::deque<SaveAnswer> saveAnswers;
    // The files the user picks, in turn; an empty path, or none left, means Cancel.
    std::deque<FileChoice> filesToOpen;
    std::deque<FileChoice> filesToSave;
    std::vector<FileDialogSetup> fileDialogs;
    // Plays the user's part in a dialog, which is shown first. A dialog still open afterwards is
    // cancelled.
    std::function<void(QDialog&)> inDialog;
    int dialogsRun = 0;
    // The pages opened in the browser.
    QList<QUrl> openedUrls;

    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return true;
    }

    void showMessage(QWidget*, const QString& text) override { messages.append(text); }

    void showStatus(QWidget*, const QString& text) override { statusMessages.append(text); }

    bool askYesNo(QWidget*, const QString& text, bool yesByDefault = false) override {
        questions.append(text);
        if (yesByDefault) {
            questionsDefaultingToYes.append(text);
        }
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    SaveAnswer askSaveChanges(QWidget*, const QString& text) override {
        saveQuestions.append(text);
        if (saveAnswers.empty()) {
            return SaveAnswer::Discard;
        }
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    std::optional<FileChoice> chooseFileToOpen(QWidget*, const FileDialogSetup& setup) override {
        fileDialogs.push_back(setup);
        return take(filesToOpen);
    }

    std::optional<FileChoice> chooseFileToSave(QWidget*, const FileDialogSetup& setup) override {
        fileDialogs.push_back(setup);
        return take(filesToSave);
    }

    int runDialog(QDialog& dialog) override {
        ++dialogsRun;
        dialog.show();
        if (inDialog) {
            inDialog(dialog);
        }
        if (dialog.isVisible()) {
            dialog.reject();
        }
        return dialog.result();
    }

private:
    static std::optional<FileChoice> take(std::deque<FileChoice>& queue) {
        if (queue.empty()) {
            return std::nullopt;
        }
        const FileChoice front = queue.front();
        queue.pop_front();
        if (front.path.isEmpty()) {
            return std::nullopt;
        }
        return front;
    }
};

}  // namespace penmoji
