// SPDX-License-Identifier: MIT
#pragma once

#include "app/command_target.h"

class QMainWindow;
class QToolBar;

namespace penmoji {

class EditorDocument;
class CanvasView;
class LiveRendering;
class UserInteraction;

// The commands that change only what the window shows and how points snap: the toolbar and
// status bar, guide lines, the grid switch and the grid settings, the live rendering, the text
// art over the drawing, the preview window and the zoom.
class ViewCommands final : public CommandTarget {
public:
    ViewCommands(EditorDocument& document, UserInteraction& interaction, CanvasView& view,
                 QMainWindow& window, QToolBar& toolBar, LiveRendering& live);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

private:
    void runGridDialog();

    EditorDocument& document_;
    UserInteraction& interaction_;
    CanvasView& view_;
    QMainWindow& window_;
    QToolBar& toolBar_;
    LiveRendering& live_;
};

}  // namespace penmoji
