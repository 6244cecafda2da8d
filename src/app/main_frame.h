// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <vector>

#include <QMainWindow>
#include <QString>

#include <memory>

#include "app/board_limits_pane.h"
#include "canvas/preview/char_width_table.h"

class QAction;
class QLabel;
class QMenu;
class QSettings;
class QToolBar;

namespace penmoji {

class CanvasView;
class EditorDocument;
class RecentFiles;
class CEditCanvas;
class CommandRegistry;
class CopyCommands;
class DocumentCommands;
class DrawingSaving;
class InterchangeCommands;
class LiveRendering;
struct RenderOutcome;
class EditCommands;
class FileRenderer;
class RenderCommands;
class TraceCommands;
class PlacedTextCommands;
class UserInteraction;
class ViewCommands;

// The main window: menus, toolbar, status bar and the canvas inside. Every command, from a
// menu, the toolbar or a key, is one action, declared by the component that owns it; the
// window lays the actions out in the menus and the toolbar as command_ids.h places them.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `settings` and `recentFiles` may be null: nothing is then remembered between runs.
    CMainFrame(EditorDocument& document, QSettings* settings, RecentFiles* recentFiles,
               UserInteraction& interaction,
               const std::function<void(CommandRegistry&)>& declareApplicationCommands);
    ~CMainFrame() override;

    // Runs a command as its action would; a disabled command does nothing.
    void dispatchCommand(int id);
    // Re-reads every command's state into its action.
    void updateActions();
    CommandRegistry& commands() { return *commands_; }

    // The one action of a command, shared by its menu item, button and key.
    QAction* action(int id) const;
    CEditCanvas& canvas() { return *canvas_; }
    EditorDocument& document() { return document_; }
    CanvasView& canvasView() { return *canvasView_; }
    DocumentCommands& documentCommands() { return *documentCommands_; }
    QToolBar& toolBar() { return *toolBar_; }
    QLabel& messagePane() { return *messagePane_; }

    QLabel& renderTargetPane() { return *renderTargetPane_; }
    QLabel& zoomPane() { return *zoomPane_; }
    BoardLimitsPane& figuresPane() { return *figuresPane_; }
    LiveRendering& liveRendering() { return *live_; }
    // The art as it is copied, rendered while margins are trimmed: what the figures count.
    LiveRendering& copiedRendering() { return *copiedLive_; }
    CopyCommands& copyCommands() { return *copyCommands_; }
    // Where renderings for files and copies run, one at a time.
    FileRenderer& fileRenderer() { return *fileRenderer_; }
    InterchangeCommands& interchangeCommands() { return *interchangeCommands_; }
    PlacedTextCommands& placedTextCommands() { return *placedTextCommands_; }
    // The output file of the last render-as that was written, and its extension.
    const QString& renderPath() const;
    const QString& renderExtension() const;

    // Puts the window, its bars and the view as they were at the end of the last run.
    void restoreView();

protected:
    bool event(QEvent* event) override;
    // Closing asks about unsaved changes first and may be cancelled; the view is remembered.
    void closeEvent(QCloseEvent* event) override;
    // A drawing dropped on the window opens, after asking about unsaved changes.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The keys nothing handles, taken all the same so that they never reach the canvas.
    void declareKeyOnlyCommands();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QMenu* addPopup(const char* title, const std::vector<int>& ids);
    void connectStateSignals();
    void showReady();
    void updateTitle();
    void showRenderTarget(const QString& path);
    void showZoom(int zoom);
    // Shows a rendering on the canvas, in the preview and, unless margins are trimmed, in the
    // status bar's figures.
    void showRendering(const std::shared_ptr<const RenderOutcome>& outcome);
    // The figures count the art as it is copied: this rendering, or the one on the canvas.
    void countArt();
    // Renders the trimmed art only while it is counted, after a command may have switched it.
    void followCopiedArt();
    // The lock keys are read again once the key event that may have changed them is through.
    void scheduleKeyIndicatorUpdate();
    void updateKeyIndicators();
    void connectEditingSignals();
    void showEditingHint();
    void showRecentFiles();
    void storeSettings();

    EditorDocument& document_;
    QSettings* settings_;
    RecentFiles* recentFiles_;
    UserInteraction& interaction_;
    CharWidthTable charWidths_;
    CommandRegistry* commands_;
    CEditCanvas* canvas_;
    // The scroll area around the canvas.
    CanvasView* canvasView_;
    QToolBar* toolBar_ = nullptr;
    LiveRendering* live_;
    LiveRendering* copiedLive_;
    std::unique_ptr<FileRenderer> fileRenderer_;
    std::unique_ptr<DrawingSaving> saving_;
    std::unique_ptr<DocumentCommands> documentCommands_;
    std::unique_ptr<RenderCommands> renderCommands_;
    std::unique_ptr<CopyCommands> copyCommands_;
    std::unique_ptr<ViewCommands> viewCommands_;
    std::unique_ptr<EditCommands> editCommands_;
    QAction* recentSeparator_ = nullptr;
    std::unique_ptr<InterchangeCommands> interchangeCommands_;
    // The picture to draw over (下絵).
    std::unique_ptr<TraceCommands> traceCommands_;
    // Pasted art, typed text and touched-up characters.
    std::unique_ptr<PlacedTextCommands> placedTextCommands_;
    QLabel* messagePane_ = nullptr;
    QLabel* renderTargetPane_ = nullptr;
    QLabel* zoomPane_ = nullptr;
    // The rendering's figures, checked against the chosen board.
    BoardLimitsPane* figuresPane_ = nullptr;
    // Kana, caps, num and scroll lock, in status bar order.
    std::array<QLabel*, 4> indicators_{};
    bool keyIndicatorUpdatePending_ = false;
};

}  // namespace penmoji
