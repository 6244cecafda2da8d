// SPDX-License-Identifier: MIT
#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include "app/main_app.h"
#include "app/main_frame.h"
#include "fake_interaction.h"

namespace penmoji {

// The program as a widget test runs it: a folder of its own that also keeps its settings (never
// the user's), fake dialogs, the application and its main window.
class AppSession {
public:
    // Starts the application; false when the folder or the window could not be made.
    bool start() {
        if (!dir_.isValid() || !app_.initInstance()) {
            return false;
        }
        frame_ = app_.mainFrame();
        return frame_ != nullptr;
    }

    QTemporaryDir& dir() { return dir_; }
    FakeInteraction& fake() { return fake_; }
    CMainApp& app() { return app_; }
    CMainFrame& frame() { return *frame_; }

private:
    static bool keepSettingsIn(const QTemporaryDir& dir) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        return true;
    }

    QTemporaryDir dir_;
    // Before the application is made, since it reads them.
    bool settingsKept_ = keepSettingsIn(dir_);
    FakeInteraction fake_;
    CMainApp app_{fake_};
    CMainFrame* frame_ = nullptr;
};

}  // namespace penmoji
