#pragma once

#include "app/command_target.h"

class QMainWindow;
class QToolBar;

namespace penmoji {

struct AppState;
class CanvasView;
class CEditCanvas;
class UserInteraction;

// The commands that change only what the window shows and how points snap: the toolbar and
// status bar, guide lines, the grid switch, the grid settings and the zoom.
class ViewCommands final : public CommandTarget {
public:
    ViewCommands(AppState& state, UserInteraction& interaction, CanvasView& view,
                 QMainWindow& window, QToolBar& toolBar);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

private:
    void runGridDialog();

    AppState& state_;
    UserInteraction& interaction_;
    CanvasView& view_;
    CEditCanvas& canvas_;
    QMainWindow& window_;
    QToolBar& toolBar_;
};

}  // namespace penmoji
