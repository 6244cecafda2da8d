#pragma once

#include <array>
#include <map>

#include <QMainWindow>
#include <QString>

#include "app/command_route.h"
#include "app/command_target.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace penmoji {

struct AppState;
class CEditCanvas;
class UserInteraction;

// The main window: menus, toolbar, status bar and the canvas inside. Every command, from a
// menu, the toolbar or a key, goes to the canvas first, then to the frame, then to the
// application, and each one's enabled and checked state comes from the same place.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    CMainFrame(AppState& state, UserInteraction& interaction, CommandTarget& application);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    // Sends a command down the route; a disabled command does nothing.
    void dispatchCommand(int id);
    // Re-reads every command's state into its action. Runs whenever a menu opens, after every
    // command and whenever the program falls idle.
    void updateCommandStates();

    // The one action of a command, shared by its menu item, button and key.
    QAction* action(int id) const;
    CEditCanvas& canvas() { return *canvas_; }
    QToolBar& toolBar() { return *toolBar_; }
    QLabel& messagePane() { return *messagePane_; }

    // The output file of the last render-as whose file could be opened, and its extension.
    const QString& renderPath() const { return renderPath_; }
    const QString& renderExtension() const { return renderExtension_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QMenu* addPopup(const char* title, std::initializer_list<int> ids);
    void onIdle();
    void showReady();
    void updateKeyIndicators();

    void initialise();
    void openVectorFile();
    void saveVectorFileAs();
    void deleteSelected();
    void renderAs();
    void reRender();
    // Renders into renderPath_; false, after telling the user, when the file was not written.
    bool renderToFile();
    void runRenderOptionsDialog();
    void switchGrid();
    void runGridDialog();
    void message(const char* text);

    AppState& state_;
    UserInteraction& interaction_;
    CEditCanvas* canvas_;
    CommandRoute route_;
    QString renderPath_;
    QString renderExtension_;
    std::map<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    // Kana, caps, num and scroll lock, in status bar order.
    std::array<QLabel*, 4> indicators_{};
    bool keyLocksMayHaveChanged_ = true;
};

}  // namespace penmoji
