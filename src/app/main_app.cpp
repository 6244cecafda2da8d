// SPDX-License-Identifier: MIT
#include "app/main_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "app/about_dialog.h"
#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/document_commands.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "app/settings_store.h"
#include "app/user_interaction.h"
#include "app/window_guard.h"

namespace penmoji {

CMainApp::CMainApp(UserInteraction& interaction)
    : interaction_(interaction), state_(std::make_unique<AppState>()) {}

// The frame holds references into the state, so it goes first.
CMainApp::~CMainApp() {
    frame_.reset();
}

bool CMainApp::initInstance(const QString& file) {
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    state_->settings = openProgramSettings();
    state_->recentFiles = std::make_unique<RecentFiles>(*state_->settings);
    state_->renderSettings = readRenderSettings(*state_->settings);
    state_->grid = readGridSettings(*state_->settings);
    state_->boardProfile = readBoardProfile(*state_->settings);
    frame_ = std::make_unique<CMainFrame>(*state_, interaction_, *this);
    guard_ = new WindowGuard(*state_, *frame_);
    guard_->restoreView();
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
