// SPDX-License-Identifier: MIT
#include "app/user_interaction.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>

#include "app/app_texts.h"

namespace penmoji {
namespace {

// Long enough to be read after the eyes come back from the canvas.
constexpr int kStatusReportMs = 10000;

// The extension of a one-pattern filter such as "html (*.html)", or `fallback` for anything
// wider ("all files (*)").
QString suffixOfFilter(const QString& filter, const QString& fallback) {
    static const QRegularExpression onePattern(QStringLiteral(R"(\(\*\.([^*?;. ()]+)\)$)"));
    const QRegularExpressionMatch match = onePattern.match(filter);
    return match.hasMatch() ? match.captured(1) : fallback;
}

std::optional<FileChoice> runFileDialog(QWidget* parent, const FileDialogSetup& setup,
                                        QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(setup.filters);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !setup.confirmReplace);
    dialog.setDefaultSuffix(setup.defaultSuffix);
    if (!setup.suggestedName.isEmpty()) {
        dialog.selectFile(setup.suggestedName);
    }
    // A name typed without an extension takes the extension of the filter in use, so choosing
    // "html" and typing "page" gives page.html as the desktop's own dialogs do.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, fallback = setup.defaultSuffix](const QString& filter) {
                         dialog.setDefaultSuffix(suffixOfFilter(filter, fallback));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    return FileChoice{path, QFileInfo(path).suffix()};
}

}  // namespace

void DesktopInteraction::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(text::kAppTitle), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

bool DesktopInteraction::askYesNo(QWidget* parent, const QString& text, bool yesByDefault) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(text::kAppTitle), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    // Enter must not throw a drawing away; only a harmless question defaults to Yes.
    box.setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DesktopInteraction::showStatus(QWidget* parent, const QString& text) {
    auto* window = parent != nullptr ? qobject_cast<QMainWindow*>(parent->window()) : nullptr;
    if (window != nullptr) {
        window->statusBar()->showMessage(text, kStatusReportMs);
    }
}

SaveAnswer DesktopInteraction::askSaveChanges(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(text::kAppTitle), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
    }
}

std::optional<FileChoice> DesktopInteraction::chooseFileToOpen(QWidget* parent,
                                                               const FileDialogSetup& setup) {
    return runFileDialog(parent, setup, QFileDialog::AcceptOpen);
}

std::optional<FileChoice> DesktopInteraction::chooseFileToSave(QWidget* parent,
                                                               const FileDialogSetup& setup) {
    return runFileDialog(parent, setup, QFileDialog::AcceptSave);
}

int DesktopInteraction::runDialog(QDialog& dialog) {
    return dialog.exec();
}

bool DesktopInteraction::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void UserInteraction::reportFinished(QWidget* parent) {
    const QString finished = QString::fromUtf8(text::kFinished);
    if (finishedBoxes_) {
        showMessage(parent, finished);
    } else {
        showStatus(parent, finished);
    }
}

}  // namespace penmoji
