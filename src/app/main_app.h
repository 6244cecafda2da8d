// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QString>

#include "app/command_target.h"

namespace penmoji {

struct AppState;
class CMainFrame;
class UserInteraction;
class WindowGuard;

// The application: owns the program's state and its main window, and handles the last link of
// the command route, the about box and exit.
class CMainApp : public CommandTarget {
public:
    explicit CMainApp(UserInteraction& interaction);
    ~CMainApp() override;

    // Builds and shows the main window, with the drawing `file` in it when one is named. Needs
    // a running QApplication.
    bool initInstance(const QString& file = {});

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    CMainFrame* mainFrame() { return frame_.get(); }
    AppState& state() { return *state_; }

private:
    UserInteraction& interaction_;
    // Large (the document alone is some 640 KB), so never on the stack.
    std::unique_ptr<AppState> state_;
    std::unique_ptr<CMainFrame> frame_;
    WindowGuard* guard_ = nullptr;  // owned by the frame
};

}  // namespace penmoji
