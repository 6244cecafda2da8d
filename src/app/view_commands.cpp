#include "app/view_commands.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/grid_commands.h"
#include "app/live_rendering.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/zoom.h"

namespace penmoji {

ViewCommands::ViewCommands(AppState& state, UserInteraction& interaction, CanvasView& view,
                           QMainWindow& window, QToolBar& toolBar, LiveRendering& live)
    : state_(state),
      interaction_(interaction),
      view_(view),
      canvas_(view.canvas()),
      window_(window),
      toolBar_(toolBar),
      live_(live) {}

bool ViewCommands::handlesCommand(int id) const {
    switch (id) {
        case command::kToolBar:
        case command::kStatusBar:
        case command::kGuideLines:
        case command::kGridToggle:
        case command::kGridSettings:
        case command::kLiveRendering:
        case command::kTextArt:
        case command::kPreviewWindow:
        case command::kPreviewHome:
        case command::kZoomIn:
        case command::kZoomOut:
        case command::kZoomReset:
        case command::kFinishedMessages:
        case command::kArtOnly:
            return true;
        default:
            return false;
    }
}

CommandState ViewCommands::commandState(int id) const {
    switch (id) {
        case command::kToolBar:
            return {true, !toolBar_.isHidden()};
        case command::kStatusBar:
            return {true, !window_.statusBar()->isHidden()};
        case command::kGuideLines:
            return {true, canvas_.showGuides()};
        case command::kGridToggle:
            return {true, state_.grid.gridEnabled};
        case command::kLiveRendering:
            return {true, live_.enabled()};
        case command::kTextArt:
            return {true, canvas_.showTextArt()};
        case command::kFinishedMessages:
            return {true, state_.finishedBoxes};
        case command::kArtOnly:
            return {true, canvas_.artOnly()};
        case command::kPreviewWindow:
            return {true, !canvas_.preview().isHidden()};
        case command::kZoomIn:
            return {view_.zoom() < kMaxZoom, false};
        case command::kZoomOut:
        case command::kZoomReset:
            return {view_.zoom() > kMinZoom, false};
        default:
            return {true, false};
    }
}

void ViewCommands::executeCommand(int id) {
    switch (id) {
        case command::kToolBar:
            toolBar_.setHidden(!toolBar_.isHidden());
            break;
        case command::kStatusBar:
            window_.statusBar()->setHidden(!window_.statusBar()->isHidden());
            break;
        case command::kGuideLines:
            canvas_.setShowGuides(!canvas_.showGuides());
            break;
        case command::kGridToggle:
            toggleGrid(state_.grid);
            canvas_.setGrid(state_.grid);
            break;
        case command::kGridSettings:
            runGridDialog();
            break;
        case command::kLiveRendering:
            live_.setEnabled(!live_.enabled());
            break;
        case command::kTextArt:
            canvas_.setShowTextArt(!canvas_.showTextArt());
            break;
        case command::kFinishedMessages:
            state_.finishedBoxes = !state_.finishedBoxes;
            break;
        case command::kArtOnly:
            canvas_.setArtOnly(!canvas_.artOnly());
            break;
        case command::kPreviewWindow:
            canvas_.preview().setVisible(canvas_.preview().isHidden());
            break;
        case command::kPreviewHome:
            // Where it starts, in the part of the drawing in view.
            view_.setPreviewInView(
                QRect(canvas_.contentsRect().topLeft() + QPoint(200, 200), QSize(200, 200)));
            canvas_.preview().show();
            break;
        case command::kZoomIn:
            view_.setZoom(zoomedIn(view_.zoom()));
            break;
        case command::kZoomOut:
            view_.setZoom(zoomedOut(view_.zoom()));
            break;
        case command::kZoomReset:
            view_.setZoom(kMinZoom);
            break;
        default:
            break;
    }
}

void ViewCommands::runGridDialog() {
    if (const std::optional<GridSettings> grid =
            editGridSettings(state_.grid, interaction_, &window_)) {
        state_.grid = *grid;
        canvas_.setGrid(state_.grid);
    }
}

}  // namespace penmoji
