// SPDX-License-Identifier: MIT
#pragma once

class QMainWindow;
class QToolBar;

namespace penmoji {

class CanvasView;
class CommandRegistry;
class EditorDocument;
class LiveRendering;
class UserInteraction;

// The commands that change only what the window shows and how points snap: the toolbar and
// status bar, guide lines, the grid switch and the grid settings, the live rendering, the text
// art over the drawing, the preview window and the zoom.
class ViewCommands final {
public:
    ViewCommands(EditorDocument& document, UserInteraction& interaction, CanvasView& view,
                 QMainWindow& window, QToolBar& toolBar, LiveRendering& live,
                 CommandRegistry& commands);

private:
    void declareWindowCommands(CommandRegistry& commands);
    void declarePreviewCommands(CommandRegistry& commands);
    void declareZoomCommands(CommandRegistry& commands);
    void toggleGrid();
    void runGridDialog();
    void enlargePreview();
    void placePreviewAtHome();

    EditorDocument& document_;
    UserInteraction& interaction_;
    CanvasView& view_;
    QMainWindow& window_;
    QToolBar& toolBar_;
    LiveRendering& live_;
};

}  // namespace penmoji
