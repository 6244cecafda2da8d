// SPDX-License-Identifier: MIT
#include "app/window_guard.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

#include "app/app_state.h"
#include "app/document_commands.h"
#include "app/main_frame.h"
#include "app/settings_store.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"

namespace penmoji {
namespace {

// The one drawing file a drag carries, or nothing.
QString droppedDrawing(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile()) {
        return {};
    }
    const QString path = url.toLocalFile();
    return QFileInfo(path).suffix().compare(QLatin1String("pmj"), Qt::CaseInsensitive) == 0
               ? path
               : QString();
}

}  // namespace

WindowGuard::WindowGuard(AppState& state, CMainFrame& frame)
    : QObject(&frame), state_(state), frame_(frame) {
    frame_.setAcceptDrops(true);
    frame_.installEventFilter(this);
}

void WindowGuard::restoreView() {
    if (!state_.settings) {
        return;
    }
    const ViewSettings view = readViewSettings(*state_.settings);
    if (!view.windowGeometry.isEmpty()) {
        frame_.restoreGeometry(view.windowGeometry);
    }
    frame_.toolBar().setVisible(view.toolBar);
    frame_.statusBar()->setVisible(view.statusBar);
    frame_.canvas().setShowGuides(view.guideLines);
    state_.finishedBoxes = view.finishedBoxes;
    frame_.canvasView().setZoom(view.zoom);
    if (!view.preview.isNull()) {
        frame_.canvasView().setPreviewInView(view.preview);
    }
    frame_.updateActions();
}

void WindowGuard::storeSettings() {
    if (!state_.settings) {
        return;
    }
    QSettings& settings = *state_.settings;
    writeRenderSettings(settings, state_.renderSettings);
    writeGridSettings(settings, state_.grid);
    writeBoardProfile(settings, state_.boardProfile);
    ViewSettings view;
    view.toolBar = !frame_.toolBar().isHidden();
    view.statusBar = !frame_.statusBar()->isHidden();
    view.guideLines = frame_.canvas().showGuides();
    view.finishedBoxes = state_.finishedBoxes;
    view.zoom = frame_.canvasView().zoom();
    view.windowGeometry = frame_.saveGeometry();
    view.preview = frame_.canvasView().previewInView();
    writeViewSettings(settings, view);
    settings.sync();
}

bool WindowGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &frame_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Close:
            if (!frame_.documentCommands().maySaveChanges()) {
                event->ignore();
                return true;
            }
            storeSettings();
            return false;
        case QEvent::DragEnter: {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (!droppedDrawing(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = droppedDrawing(drop->mimeData());
            if (!path.isEmpty()) {
                drop->acceptProposedAction();
                frame_.documentCommands().openFile(path);
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace penmoji
