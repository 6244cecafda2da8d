// SPDX-License-Identifier: MIT
#include "app/view_commands.h"

#include <algorithm>

#include <QMainWindow>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/command_ids.h"
#include "app/grid_commands.h"
#include "app/live_rendering.h"
#include "app/user_interaction.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/preview/preview_text_view.h"
#include "canvas/preview/preview_window.h"
#include "canvas/zoom.h"

namespace penmoji {
namespace {

// The preview's first size, and the size that shows about 60 characters of 20 rows.
constexpr QSize kPreviewSize(200, 200);
constexpr int kLargeColumns = 60;
constexpr int kLargeRows = 20;
// The full-width space, the widest blank: a character's width on average.
constexpr int kCharacterWidth = 11;

QSize largePreviewSize(CPreviewWindow& preview) {
    PreviewTextView& text = preview.textView();
    const QSize frame = preview.size() - preview.clientRect().size();
    const int bar = text.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return frame +
           QSize(kLargeColumns * kCharacterWidth + bar, kLargeRows * text.lineHeight() + bar);
}

}  // namespace

ViewCommands::ViewCommands(EditorDocument& document, UserInteraction& interaction, CanvasView& view,
                           QMainWindow& window, QToolBar& toolBar, LiveRendering& live)
    : document_(document),
      interaction_(interaction),
      view_(view),
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
        case command::kPreviewLarge:
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
            return {true, view_.canvas().showGuides()};
        case command::kGridToggle:
            return {true, document_.grid().gridEnabled};
        case command::kLiveRendering:
            return {true, live_.enabled()};
        case command::kTextArt:
            return {true, view_.canvas().showTextArt()};
        case command::kFinishedMessages:
            return {true, interaction_.finishedBoxes()};
        case command::kArtOnly:
            return {true, view_.canvas().artOnly()};
        case command::kPreviewLarge:
            return {true,
                    view_.canvas().preview().size() == largePreviewSize(view_.canvas().preview())};
        case command::kPreviewWindow:
            return {true, !view_.canvas().preview().isHidden()};
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
            view_.canvas().setShowGuides(!view_.canvas().showGuides());
            break;
        case command::kGridToggle: {
            GridSettings grid = document_.grid();
            toggleGrid(grid);
            document_.setGrid(grid);
        } break;
        case command::kGridSettings:
            runGridDialog();
            break;
        case command::kLiveRendering:
            live_.setEnabled(!live_.enabled());
            break;
        case command::kTextArt:
            view_.canvas().setShowTextArt(!view_.canvas().showTextArt());
            break;
        case command::kFinishedMessages:
            interaction_.setFinishedBoxes(!interaction_.finishedBoxes());
            break;
        case command::kArtOnly:
            view_.canvas().setArtOnly(!view_.canvas().artOnly());
            break;
        case command::kPreviewLarge: {
            // Where it is, larger or back to its first size; kept as its place is.
            const QSize large = largePreviewSize(view_.canvas().preview());
            QRect place = view_.previewInView();
            if (place.size() == large) {
                place.setSize(kPreviewSize);
            } else {
                // A window too small for it keeps all of it in view: it moves up and left as
                // far as its place allows.
                place.setSize(large);
                const QSize room = view_.viewport()->size();
                place.moveLeft(std::max(0, std::min(place.left(), room.width() - large.width())));
                place.moveTop(std::max(0, std::min(place.top(), room.height() - large.height())));
            }
            view_.setPreviewInView(place);
            view_.canvas().preview().show();
            break;
        }
        case command::kPreviewWindow:
            view_.canvas().preview().setVisible(view_.canvas().preview().isHidden());
            break;
        case command::kPreviewHome:
            // Where it starts, in the part of the drawing in view.
            view_.setPreviewInView(
                QRect(view_.canvas().contentsRect().topLeft() + QPoint(200, 200), QSize(200, 200)));
            view_.canvas().preview().show();
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
            editGridSettings(document_.grid(), interaction_, &window_)) {
        document_.setGrid(*grid);
    }
}

}  // namespace penmoji
