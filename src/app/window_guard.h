// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

namespace penmoji {

struct AppState;
class CMainFrame;

// Watches the main window: closing it asks about unsaved changes first and, once it may close,
// remembers the settings and the window for the next run; a drawing file dropped on it opens.
class WindowGuard final : public QObject {
    Q_OBJECT
public:
    WindowGuard(AppState& state, CMainFrame& frame);

    // Puts the window as the last run left it.
    void restoreView();
    // Remembers the settings, the grid and the window.
    void storeSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppState& state_;
    CMainFrame& frame_;
};

}  // namespace penmoji
