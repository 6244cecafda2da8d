#include "app/main_frame.h"

#include <string>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/artwork.h"
#include "app/command_ids.h"
#include "app/document_commands.h"
#include "app/key_lock_state.h"
#include "app/render_commands.h"
#include "app/trace_commands.h"
#include "app/view_commands.h"
#include "canvas/edit_canvas.h"

namespace penmoji {
namespace {

// A command as the menus show it. Prompt and tooltip only where the string table has them.
struct CommandText {
    int id;
    const char* caption;
    const char* prompt = nullptr;
    const char* tip = nullptr;
};

constexpr CommandText kCommandTexts[] = {
    {command::kInitialise, "初期化"},
    {command::kOpen, "PenmojiFileを開く"},
    {command::kSaveAs, "PenmojiFileを名前を付けて保存"},
    {command::kRenderAs, "名前を付けてレンダリング"},
    {command::kReRender, "再レンダリング\tctrl-R"},
    {command::kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", text::kExitPrompt, text::kExitTip},
    {command::kNewVector, "新規ベクトル"},
    {command::kDeleteSelected, "選択ベクトルを消す"},
    {command::kRenderSettings, "レンダリング設定"},
    {command::kToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)", text::kToolBarPrompt, text::kToolBarTip},
    {command::kStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", text::kStatusBarPrompt, text::kStatusBarTip},
    {command::kGuideLines, "補助線"},
    {command::kGridToggle, "グリッド！"},
    {command::kGridSettings, "グリッド設定"},
    {command::kAbout, "Penmoji のﾊﾞｰｼﾞｮﾝ情報(&A)...", text::kAboutPrompt, text::kAboutTip},
    // -- The picture to draw over (TraceCommands) --
    {command::kTraceOpen, "下絵を開く..."},
    {command::kTraceClose, "下絵を閉じる"},
    {command::kTraceShow, "下絵を表示"},
    {command::kTraceOpacity, "下絵の濃さ..."},
    {command::kTracePlace, "位置と大きさ..."},
    {command::kTraceToLines, "下絵から線を作る..."},
    // -- end of the picture's commands --
};

// Marks the actions whose tooltip comes from the string table.
constexpr char kHasTipProperty[] = "penmojiHasTip";

constexpr int kCheckedCommands[] = {command::kToolBar, command::kStatusBar, command::kGuideLines,
                                    command::kGridToggle, command::kTraceShow};

// The accelerator table, in its order. Only Ctrl+R reaches a handler.
struct Accelerator {
    QKeyCombination keys;
    int id;
};

const Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_C, command::kEditCopy},
    {Qt::CTRL | Qt::Key_R, command::kReRender},
    {Qt::CTRL | Qt::Key_V, command::kEditPaste},
    {Qt::ALT | Qt::Key_Backspace, command::kEditUndo},
    {Qt::SHIFT | Qt::Key_Delete, command::kEditCut},
    {QKeyCombination(Qt::Key_F6), command::kNextPane},
    {Qt::SHIFT | Qt::Key_F6, command::kPreviousPane},
    {Qt::CTRL | Qt::Key_Insert, command::kEditCopy},
    {Qt::SHIFT | Qt::Key_Insert, command::kEditPaste},
    {Qt::CTRL | Qt::Key_X, command::kEditCut},
    {Qt::CTRL | Qt::Key_Z, command::kEditUndo},
};

constexpr int kKeyOnlyCommands[] = {command::kEditCopy, command::kEditCut,  command::kEditPaste,
                                    command::kEditUndo, command::kNextPane, command::kPreviousPane};

bool isKeyOnly(int id) {
    return std::find(std::begin(kKeyOnlyCommands), std::end(kKeyOnlyCommands), id) !=
           std::end(kKeyOnlyCommands);
}

}  // namespace

CMainFrame::CMainFrame(AppState& state, UserInteraction& interaction, CommandTarget& application)
    : state_(state),
      canvas_(new CEditCanvas(state.document, state.charWidths, this)),
      toolBar_(new QToolBar(this)),
      documentCommands_(std::make_unique<DocumentCommands>(state, interaction, *canvas_, *this)),
      renderCommands_(std::make_unique<RenderCommands>(state, interaction, *canvas_, *this)),
      viewCommands_(std::make_unique<ViewCommands>(state, interaction, *canvas_, *this, *toolBar_)),
      traceCommands_(std::make_unique<TraceCommands>(state, interaction, *canvas_, *this)),
      route_{documentCommands_.get(), renderCommands_.get(), viewCommands_.get(),
             traceCommands_.get(), &application} {
    setWindowIcon(applicationIcon());
    setCentralWidget(canvas_);
    setFocusProxy(canvas_);
    canvas_->setGrid(state_.grid);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->availableGeometry().size() * 3 / 4);
    }

    connectStateSignals();
    qApp->installEventFilter(this);
    updateTitle();
    updateActions();
    updateKeyIndicators();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::connectStateSignals() {
    connect(&state_.document, &DocumentModel::changed, this, &CMainFrame::updateActions);
    connect(canvas_, &CEditCanvas::editingStateChanged, this, &CMainFrame::updateActions);
    connect(renderCommands_.get(), &RenderCommands::busyChanged, this, &CMainFrame::updateActions);
    connect(renderCommands_.get(), &RenderCommands::renderPathChanged, this,
            &CMainFrame::showRenderTarget);
    connect(documentCommands_.get(), &DocumentCommands::drawingPathChanged, this,
            &CMainFrame::updateTitle);
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::updateActions);
    // -- The picture to draw over: it goes with the drawing's file --
    connect(traceCommands_.get(), &TraceCommands::changed, this, &CMainFrame::updateActions);
    connect(documentCommands_.get(), &DocumentCommands::drawingOpened, traceCommands_.get(),
            &TraceCommands::drawingOpened);
    connect(documentCommands_.get(), &DocumentCommands::drawingSaved, traceCommands_.get(),
            &TraceCommands::drawingSaved);
}

const QString& CMainFrame::renderPath() const {
    return renderCommands_->renderPath();
}

const QString& CMainFrame::renderExtension() const {
    return renderCommands_->renderExtension();
}

void CMainFrame::updateTitle() {
    const QString& path = documentCommands_->drawingPath();
    const QString title = QString::fromUtf8(text::kAppTitle);
    setWindowTitle(
        path.isEmpty() ? title : QStringLiteral("%1 - %2").arg(QFileInfo(path).fileName(), title));
    setWindowFilePath(path);
}

void CMainFrame::showRenderTarget(const QString& path) {
    renderTargetPane_->setText(path.isEmpty() ? QString()
                                              : QString::fromUtf8(text::kRenderTarget).arg(path));
    renderTargetPane_->setVisible(!path.isEmpty());
    updateActions();
}

void CMainFrame::createActions() {
    for (const CommandText& command : kCommandTexts) {
        auto* action = new QAction(QString::fromUtf8(command.caption), this);
        // Keep the items where the menus put them on every desktop.
        action->setMenuRole(QAction::NoRole);
        if (command.prompt != nullptr) {
            action->setStatusTip(QString::fromUtf8(command.prompt));
        }
        if (command.tip != nullptr) {
            action->setToolTip(QString::fromUtf8(command.tip));
            action->setProperty(kHasTipProperty, true);
        }
        actions_[command.id] = action;
    }
    for (int id : kCheckedCommands) {
        actions_.at(id)->setCheckable(true);
    }
    for (int id : kKeyOnlyCommands) {
        actions_[id] = new QAction(this);
    }
    std::map<int, QList<QKeySequence>> keys;
    for (const Accelerator& accelerator : kAccelerators) {
        keys[accelerator.id].append(QKeySequence(accelerator.keys));
    }
    for (const auto& [id, sequences] : keys) {
        actions_.at(id)->setShortcuts(sequences);
    }
    for (const auto& [id, action] : actions_) {
        // Part of the window, so their keys work wherever the focus is inside it.
        addAction(action);
        connect(action, &QAction::triggered, this,
                [this, commandId = id] { dispatchCommand(commandId); });
    }
}

QMenu* CMainFrame::addPopup(const char* title, std::initializer_list<int> ids) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
    for (int id : ids) {
        if (id == 0) {
            menu->addSeparator();
        } else {
            menu->addAction(actions_.at(id));
        }
    }
    connect(menu, &QMenu::aboutToHide, this, &CMainFrame::showReady);
    return menu;
}

void CMainFrame::createMenus() {
    using namespace command;
    // The picture's items: 下絵を開く/閉じる in File, 下絵から線を作る in Edit, the rest in View.
    addPopup("ﾌｧｲﾙ(&F)", {kInitialise, kOpen, kSaveAs, 0, kTraceOpen, kTraceClose, 0, kRenderAs,
                          kReRender, 0, kExit});
    addPopup("編集(&E)", {kNewVector, kDeleteSelected, 0, kTraceToLines, 0, kRenderSettings});
    addPopup("表示(&V)", {kToolBar, kStatusBar, kGuideLines, 0, kGridToggle, kGridSettings, 0,
                          kTraceShow, kTraceOpacity, kTracePlace});
    addPopup("ﾍﾙﾌﾟ(&H)", {kAbout});
}

void CMainFrame::createToolBar() {
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(48, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->toggleViewAction()->setVisible(false);
    using namespace command;
    for (int id : {kNewVector, kDeleteSelected, 0, kRenderAs, kReRender, 0, kAbout}) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = actions_.at(id);
        action->setIcon(toolbarImage(id));
        toolBar_->addAction(action);
        toolBar_->widgetForAction(action)->installEventFilter(this);
    }
    // The images belong to the toolbar; the menus stay text only, as the menu resource has it.
    for (int id : {kNewVector, kDeleteSelected, kRenderAs, kReRender, kAbout}) {
        actions_.at(id)->setIconVisibleInMenu(false);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::createStatusBar() {
    messagePane_ = new QLabel(this);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    statusBar()->addWidget(messagePane_, 1);
    showReady();
    renderTargetPane_ = new QLabel(this);
    renderTargetPane_->setObjectName(QStringLiteral("renderTargetPane"));
    renderTargetPane_->hide();
    statusBar()->addPermanentWidget(renderTargetPane_);
    const char* const names[] = {text::kKanaIndicator, text::kCapsIndicator, text::kNumIndicator,
                                 text::kScrollIndicator};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        auto* indicator = new QLabel(this);
        indicator->setObjectName(QString::fromUtf8(names[i]));
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Sized for its text even while blank, so the panes never jump.
        indicator->setMinimumWidth(
            indicator->fontMetrics().horizontalAdvance(QString::fromUtf8(names[i])) + 10);
        statusBar()->addPermanentWidget(indicator);
        indicators_[i] = indicator;
    }
}

QAction* CMainFrame::action(int id) const {
    const auto found = actions_.find(id);
    return found != actions_.end() ? found->second : nullptr;
}

void CMainFrame::dispatchCommand(int id) {
    route_.execute(id);
    // A command may change what no signal reports: a bar shown, a switch flipped.
    updateActions();
}

void CMainFrame::updateActions() {
    for (const auto& [id, action] : actions_) {
        // Always enabled, so their keys are taken here and never reach the canvas.
        if (isKeyOnly(id)) {
            continue;
        }
        const CommandState state = route_.stateOf(id);
        action->setEnabled(state.enabled);
        if (action->isCheckable()) {
            action->setChecked(state.checked);
        }
    }
}

void CMainFrame::scheduleKeyIndicatorUpdate() {
    if (!keyIndicatorUpdatePending_) {
        keyIndicatorUpdatePending_ = true;
        QTimer::singleShot(0, this, &CMainFrame::updateKeyIndicators);
    }
}

void CMainFrame::updateKeyIndicators() {
    keyIndicatorUpdatePending_ = false;
    const KeyLocks locks = currentKeyLocks();
    const std::optional<bool> states[] = {locks.kana, locks.caps, locks.num, locks.scroll};
    const char* const names[] = {text::kKanaIndicator, text::kCapsIndicator, text::kNumIndicator,
                                 text::kScrollIndicator};
    for (std::size_t i = 0; i < indicators_.size(); ++i) {
        const QString shown = states[i].value_or(false) ? QString::fromUtf8(names[i]) : QString();
        if (indicators_[i]->text() != shown) {
            indicators_[i]->setText(shown);
        }
    }
}

void CMainFrame::showReady() {
    messagePane_->setText(QString::fromUtf8(text::kReady));
}

bool CMainFrame::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::StatusTip: {
            // A highlighted item shows its prompt, or nothing when it has none; with nothing
            // highlighted the pane is back to ready.
            const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
            if (!tip.isEmpty()) {
                messagePane_->setText(tip);
            } else if (QApplication::activePopupWidget() != nullptr) {
                messagePane_->clear();
            } else {
                showReady();
            }
            return true;
        }
        case QEvent::WindowActivate:
            scheduleKeyIndicatorUpdate();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            scheduleKeyIndicatorUpdate();
            break;
        case QEvent::ToolTip:
            // A button whose command has no tooltip string shows none, rather than Qt's
            // fallback of the menu caption.
            if (const auto* button = qobject_cast<QToolButton*>(watched)) {
                const QAction* action = button->defaultAction();
                if (action != nullptr && !action->property(kHasTipProperty).toBool()) {
                    return true;
                }
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace penmoji
