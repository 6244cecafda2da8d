#include "app/main_app.h"

#include <QCoreApplication>

#include "app/about_dialog.h"
#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/user_interaction.h"

namespace penmoji {

CMainApp::CMainApp(UserInteraction& interaction)
    : interaction_(interaction), state_(std::make_unique<AppState>()) {}

// The frame holds references into the state, so it goes first.
CMainApp::~CMainApp() {
    frame_.reset();
}

bool CMainApp::initInstance() {
    // Names where a profile would live; nothing is ever read from it or written to it.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    frame_ = std::make_unique<CMainFrame>(*state_, interaction_, *this);
    frame_->show();
    return true;
}

bool CMainApp::handlesCommand(int id) const {
    return id == command::kAbout || id == command::kExit;
}

void CMainApp::executeCommand(int id) {
    if (id == command::kAbout) {
        CAboutDialog about(frame_.get());
        interaction_.runDialog(about);
    } else if (id == command::kExit && frame_ != nullptr) {
        // Asks nothing: an unsaved drawing is lost, as closing the window loses it.
        frame_->close();
    }
}

CommandState CMainApp::commandState(int) const {
    return {true, false};
}

}  // namespace penmoji
