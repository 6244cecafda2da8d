// SPDX-License-Identifier: MIT
#include "app/main_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/document_commands.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "app/settings_store.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"

namespace penmoji {

CMainApp::CMainApp(UserInteraction& interaction)
    : interaction_(interaction), document_(std::make_unique<EditorDocument>()) {}

// The frame holds references to the document and the settings, so it goes first.
CMainApp::~CMainApp() {
    frame_.reset();
}

bool CMainApp::initInstance(const QString& file) {
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    settings_ = openProgramSettings();
    recentFiles_ = std::make_unique<RecentFiles>(*settings_);
    document_->setRenderSettings(readRenderSettings(*settings_));
    document_->setGrid(readGridSettings(*settings_));
    document_->setBoardProfile(readBoardProfile(*settings_));
    frame_ = std::make_unique<CMainFrame>(*document_, settings_.get(), recentFiles_.get(),
                                          interaction_, *this);
    frame_->restoreView();
    frame_->show();
    if (!file.isEmpty()) {
        frame_->documentCommands().openAtStart(file);
    }
    return true;
}

namespace {

// The README beside the installed program, or the project's page when there is none.
QUrl manualUrl() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/doc/penmoji/README.md"));
    if (QFileInfo::exists(installed)) {
        return QUrl::fromLocalFile(QDir::cleanPath(installed));
    }
    return QUrl(QStringLiteral("https://github.com/penmoji/penmoji#readme"));
}

}  // namespace

bool CMainApp::handlesCommand(int id) const {
    return id == command::kAbout || id == command::kExit || id == command::kHelp;
}

void CMainApp::executeCommand(int id) {
    if (id == command::kAbout) {
        CAboutDialog about(frame_.get());
        interaction_.runDialog(about);
    } else if (id == command::kHelp) {
        interaction_.openUrl(manualUrl());
    } else if (id == command::kExit && frame_ != nullptr) {
        // Closing asks about unsaved changes and may be cancelled.
        frame_->close();
    }
}

CommandState CMainApp::commandState(int) const {
    return {true, false};
}

}  // namespace penmoji
