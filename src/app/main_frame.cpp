// SPDX-License-Identifier: MIT
#include "app/main_frame.h"

#include <algorithm>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/app_texts.h"
#include "app/artwork.h"
#include "app/board_limits_pane.h"
#include "app/command_ids.h"
#include "app/copied_art.h"
#include "app/copy_commands.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/edit_texts.h"
#include "app/file_renderer.h"
#include "app/interchange_commands.h"
#include "app/key_lock_state.h"
#include "app/live_rendering.h"
#include "app/recent_files.h"
#include "app/render_commands.h"
#include "app/settings_store.h"
#include "app/trace_commands.h"
#include "app/view_commands.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"

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
    {command::kSave, text::kSave, text::kSavePrompt},
    {command::kSaveAs, "PenmojiFileを名前を付けて保存"},
    {command::kRenderAs, "名前を付けてレンダリング", text::kRenderAsPrompt},
    {command::kReRender, "再レンダリング\tctrl-R", text::kReRenderPrompt},
    {command::kFineMatching, text::kFineMatching, text::kFineMatchingPrompt},
    {command::kImportSvg, "SVG を読み込む..."},
    {command::kExportSvg, "SVG として書き出す..."},
    {command::kExportPicture, "画像として書き出す..."},
    {command::kAppendMlt, "MLT に追加..."},
    {command::kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", text::kExitPrompt, text::kExitTip},
    {command::kEditUndo, text::kUndo, text::kUndoPrompt, text::kUndoTip},
    {command::kEditRedo, text::kRedo, text::kRedoPrompt, text::kRedoTip},
    {command::kNewVector, "新規ベクトル", text::kNewVectorPrompt},
    {command::kEditCopy, "コピー", "レンダリング結果を Unicode テキストでクリップボードへ"},
    {command::kCopyUnicode, "Unicode 空白でコピー",
     "実体参照の空白を Unicode の空白文字にしてクリップボードへ"},
    {command::kTrimMargins, "余白を詰める", "コピーするとき上の空行と左の余白を詰める"},
    {command::kLiveRendering, "ライブ表示", "編集するたびにバックグラウンドでレンダリング"},
    {command::kTextArt, "テキストアート", "レンダリング結果の文字をキャンバスに表示"},
    {command::kArtOnly, "アートのみ表示", "線・印・枠を隠し、アートだけを黒で表示"},
    {command::kPreviewWindow, "プレビュー", "プレビューウィンドウの表示/非表示"},
    {command::kPreviewHome, "プレビューを元の位置へ", "プレビューウィンドウを最初の位置に戻す"},
    {command::kPreviewLarge, "プレビューを大きく",
     "プレビューを約 60 字 × 20 行の大きさにする (もう一度で元の大きさ)"},
    {command::kFinishedMessages, "完了メッセージを表示",
     "保存・読み込み・レンダリングの「終了」を確認ボックスで表示 (切るとステータスバーに表示)"},
    {command::kDeleteSelected, "選択ベクトルを消す", text::kDeleteSelectedPrompt},
    {command::kRenderSettings, "レンダリング設定"},
    {command::kToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)", text::kToolBarPrompt, text::kToolBarTip},
    {command::kStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", text::kStatusBarPrompt, text::kStatusBarTip},
    {command::kGuideLines, "補助線"},
    {command::kGridToggle, "グリッド！"},
    {command::kGridSettings, "グリッド設定"},
    {command::kZoomIn, text::kZoomIn},
    {command::kZoomOut, text::kZoomOut},
    {command::kZoomReset, text::kZoomReset},
    {command::kAbout, "Penmoji のﾊﾞｰｼﾞｮﾝ情報(&A)...", text::kAboutPrompt, text::kAboutTip},
    {command::kHelp, text::kHelp, text::kHelpPrompt},
    {command::kTraceOpen, "下絵を開く...", "線を描く下敷きにする画像を開く"},
    {command::kTraceClose, "下絵を閉じる"},
    {command::kTraceShow, "下絵を表示"},
    {command::kTraceOpacity, "下絵の濃さ..."},
    {command::kTracePlace, "位置と大きさ...",
     "下絵の位置と大きさ (Ctrl+Alt+ドラッグ、Ctrl+Alt+矢印でも移動)"},
    {command::kTraceToLines, "下絵から線を作る...", "下絵の線をベクトルにする"},
    {command::kTraceSmooth, "下絵をなめらかに拡大",
     "拡大した下絵を補間する (切ると画素がそのまま大きくなる)"},
};

constexpr int kCheckedCommands[] = {
    command::kToolBar,     command::kStatusBar,        command::kGuideLines,
    command::kGridToggle,  command::kTrimMargins,      command::kLiveRendering,
    command::kTextArt,     command::kPreviewWindow,    command::kTraceShow,
    command::kTraceSmooth, command::kFinishedMessages, command::kFineMatching,
    command::kArtOnly,     command::kPreviewLarge};

// The accelerator table, in its order. Ctrl+R and the undo keys reach a handler.
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

// The keys of the editing commands that came after the accelerator table.
const Accelerator kEditingKeys[] = {
    {Qt::CTRL | Qt::Key_Y, command::kEditRedo},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, command::kEditRedo},
    {Qt::CTRL | Qt::Key_S, command::kSave},
    {Qt::CTRL | Qt::Key_N, command::kInitialise},
    {Qt::CTRL | Qt::Key_O, command::kOpen},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_S, command::kSaveAs},
    {Qt::CTRL | Qt::Key_Q, command::kExit},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_A, command::kArtOnly},
    {QKeyCombination(Qt::Key_Delete), command::kDeleteSelected},
    {QKeyCombination(Qt::Key_Escape), command::kEndVector},
    {QKeyCombination(Qt::Key_Return), command::kEndVector},
    {QKeyCombination(Qt::Key_Enter), command::kEndVector},
    {QKeyCombination(Qt::Key_Backspace), command::kRemoveLastPoint},
    {QKeyCombination(Qt::Key_Left), command::kNudgeLeft},
    {QKeyCombination(Qt::Key_Right), command::kNudgeRight},
    {QKeyCombination(Qt::Key_Up), command::kNudgeUp},
    {QKeyCombination(Qt::Key_Down), command::kNudgeDown},
    {Qt::SHIFT | Qt::Key_Left, command::kNudgeLeftFar},
    {Qt::SHIFT | Qt::Key_Right, command::kNudgeRightFar},
    {Qt::SHIFT | Qt::Key_Up, command::kNudgeUpFar},
    {Qt::SHIFT | Qt::Key_Down, command::kNudgeDownFar},
    {Qt::CTRL | Qt::Key_Plus, command::kZoomIn},
    {Qt::CTRL | Qt::Key_Equal, command::kZoomIn},
    {Qt::CTRL | Qt::Key_Minus, command::kZoomOut},
    {Qt::CTRL | Qt::Key_0, command::kZoomReset},
    {Qt::CTRL | Qt::ALT | Qt::Key_Left, command::kTraceNudgeLeft},
    {Qt::CTRL | Qt::ALT | Qt::Key_Right, command::kTraceNudgeRight},
    {Qt::CTRL | Qt::ALT | Qt::Key_Up, command::kTraceNudgeUp},
    {Qt::CTRL | Qt::ALT | Qt::Key_Down, command::kTraceNudgeDown},
};

// Commands with a key and no menu item; unlike the key-only commands above they are disabled
// when they do not apply, and their keys then go on to the canvas.
constexpr int kEditingKeyCommands[] = {
    command::kEndVector,    command::kRemoveLastPoint, command::kNudgeLeft,
    command::kNudgeRight,   command::kNudgeUp,         command::kNudgeDown,
    command::kNudgeLeftFar, command::kNudgeRightFar,   command::kNudgeUpFar,
    command::kNudgeDownFar, command::kTraceNudgeLeft,  command::kTraceNudgeRight,
    command::kTraceNudgeUp, command::kTraceNudgeDown,
};

constexpr int kKeyOnlyCommands[] = {command::kEditCut, command::kEditPaste, command::kNextPane,
                                    command::kPreviousPane};

// A button's tooltip: its name, from the string table or the menu caption, and its key.
QString toolTipOf(const QAction& action) {
    QString name = action.toolTip();
    name = name.left(name.indexOf(QLatin1Char('\t'))).remove(QLatin1Char('&'));
    const QKeySequence key = action.shortcut();
    return key.isEmpty() ? name
                         : QString::fromUtf8(text::kTipWithKey)
                               .arg(name, key.toString(QKeySequence::NativeText));
}

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

bool isKeyOnly(int id) {
    return std::find(std::begin(kKeyOnlyCommands), std::end(kKeyOnlyCommands), id) !=
           std::end(kKeyOnlyCommands);
}

}  // namespace

CMainFrame::CMainFrame(EditorDocument& document, QSettings* settings, RecentFiles* recentFiles,
                       UserInteraction& interaction, CommandTarget& application)
    : document_(document),
      settings_(settings),
      recentFiles_(recentFiles),
      interaction_(interaction),
      canvas_(new CEditCanvas(document, charWidths_, this)),
      canvasView_(new CanvasView(*canvas_, this)),
      toolBar_(new QToolBar(this)),
      live_(new LiveRendering(document, this)),
      copiedLive_(new LiveRendering(document, this, LiveRendering::Framing::AsCopied)),
      documentCommands_(
          std::make_unique<DocumentCommands>(document, interaction, recentFiles, *this)),
      fileRenderer_(std::make_unique<FileRenderer>(document, interaction, *this)),
      renderCommands_(
          std::make_unique<RenderCommands>(document, interaction, *fileRenderer_, *this)),
      copyCommands_(std::make_unique<CopyCommands>(document, *live_, *copiedLive_, *fileRenderer_)),
      viewCommands_(std::make_unique<ViewCommands>(document, interaction, *canvasView_, *this,
                                                   *toolBar_, *live_)),
      editCommands_(std::make_unique<EditCommands>(document)),
      interchangeCommands_(std::make_unique<InterchangeCommands>(
          document, interaction, *canvasView_, *this, *fileRenderer_, *documentCommands_)),
      traceCommands_(
          std::make_unique<TraceCommands>(document, interaction, *canvasView_, settings, *this)),
      route_{editCommands_.get(),   documentCommands_.get(),
             renderCommands_.get(), copyCommands_.get(),
             viewCommands_.get(),   interchangeCommands_.get(),
             traceCommands_.get(),  &application} {
    setWindowIcon(applicationIcon());
    setCentralWidget(canvasView_);
    setFocusProxy(canvas_);
    setAcceptDrops(true);

    createActions();
    createEditingActions();
    createMenus();
    createToolBar();
    createStatusBar();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->availableGeometry().size() * 3 / 4);
    }

    connectStateSignals();
    connectEditingSignals();
    qApp->installEventFilter(this);
    updateTitle();
    updateActions();
    updateKeyIndicators();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::connectStateSignals() {
    EditorDocument* document = &document_;
    connect(document, &EditorDocument::drawingChanged, this, &CMainFrame::updateActions);
    connect(document, &EditorDocument::editingStateChanged, this, &CMainFrame::updateActions);
    connect(document, &EditorDocument::editingStateChanged, this, &CMainFrame::showEditingHint);
    connect(document, &EditorDocument::pictureChanged, this, &CMainFrame::updateActions);
    connect(document, &EditorDocument::renderSettingsChanged, this, &CMainFrame::updateActions);
    connect(document, &EditorDocument::gridChanged, this, &CMainFrame::updateActions);
    connect(fileRenderer_.get(), &FileRenderer::busyChanged, this, &CMainFrame::updateActions);
    connect(document, &EditorDocument::renderTargetChanged, this,
            [this](const RenderTarget& target) { showRenderTarget(target.path); });
    connect(document, &EditorDocument::filePathChanged, this, &CMainFrame::updateTitle);
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::updateActions);

    // Every change of what is rendered makes the live renderings out of date; so does a file
    // written, which advances the dots the next rendering starts from.
    for (LiveRendering* live : {live_, copiedLive_}) {
        connect(document, &EditorDocument::drawingChanged, live, &LiveRendering::invalidate);
        connect(document, &EditorDocument::renderSettingsChanged, live, &LiveRendering::invalidate);
        connect(document, &EditorDocument::dotsAdvanced, live, &LiveRendering::invalidate);
    }
    connect(fileRenderer_.get(), &FileRenderer::rendered, this, &CMainFrame::showRendering);
    connect(live_, &LiveRendering::updated, this, &CMainFrame::showRendering);
    connect(copiedLive_, &LiveRendering::updated, this, &CMainFrame::countArt);
    // The settings may have chosen another board.
    connect(document, &EditorDocument::renderSettingsChanged, figuresPane_,
            &BoardLimitsPane::refresh);
    connect(document, &EditorDocument::boardProfileChanged, figuresPane_,
            &BoardLimitsPane::refresh);
    // The picture to draw over goes with the drawing's file.
    connect(documentCommands_.get(), &DocumentCommands::drawingOpened, traceCommands_.get(),
            &TraceCommands::drawingOpened);
    live_->invalidate();
    followCopiedArt();
}

void CMainFrame::showRendering(const std::shared_ptr<const RenderOutcome>& outcome) {
    if (!outcome) {
        countArt();
        return;
    }
    const RenderResult& result = outcome->result;
    canvas_->setGlyphBoxes(result.boxes);
    canvas_->setTextArt(result.glyphs);
    canvas_->preview().setPreviewText(result.text);
    if (!document_.trimMargins()) {
        figuresPane_->showArt(result.text);
    }
}

void CMainFrame::countArt() {
    const std::shared_ptr<const RenderOutcome>& art =
        document_.trimMargins() ? copiedLive_->current() : live_->current();
    if (art) {
        figuresPane_->showArt(copiedText(art->result.text, document_.trimMargins()));
    } else {
        figuresPane_->clearArt();
    }
}

void CMainFrame::followCopiedArt() {
    const bool counted = document_.trimMargins() && live_->enabled();
    if (counted != copiedLive_->enabled()) {
        copiedLive_->setEnabled(counted);
        countArt();
    }
}

const QString& CMainFrame::renderPath() const {
    return document_.renderTarget().path;
}

const QString& CMainFrame::renderExtension() const {
    return document_.renderTarget().extension;
}

void CMainFrame::updateTitle() {
    const QString& path = document_.filePath();
    const QString title = QString::fromUtf8(text::kAppTitle);
    // [*] is where the modified mark goes.
    setWindowTitle(path.isEmpty()
                       ? title + QStringLiteral("[*]")
                       : QStringLiteral("%1[*] - %2").arg(QFileInfo(path).fileName(), title));
    setWindowFilePath(path);
}

void CMainFrame::showZoom(int zoom) {
    zoomPane_->setText(QString::fromUtf8(text::kZoomPane).arg(zoom * 100));
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
    for (auto& [id, sequences] : keys) {
        // The menus show the first key: the Ctrl one people know (Ctrl+Z rather than
        // Alt+Backspace); the others work all the same.
        std::stable_partition(sequences.begin(), sequences.end(), [](const QKeySequence& sequence) {
            return sequence[0].keyboardModifiers() == Qt::ControlModifier;
        });
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
    // Some states are only known once the windows have their sizes (the preview's), so a menu
    // reads every state again as it opens.
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateActions);
    connect(menu, &QMenu::aboutToHide, this, &CMainFrame::showReady);
    return menu;
}

void CMainFrame::createMenus() {
    using namespace command;
    QMenu* file = addPopup(
        "ﾌｧｲﾙ(&F)", {kInitialise, kOpen, kSave, kSaveAs, 0, kImportSvg, kExportSvg, 0, kTraceOpen,
                     kTraceClose, 0, kRenderAs, kReRender, kExportPicture, kAppendMlt, 0});
    // The recent files, with a separator of their own, shown only while there are any.
    for (int i = 0; i < kRecentFileCount; ++i) {
        file->addAction(actions_.at(kRecentFileFirst + i));
    }
    recentSeparator_ = file->addSeparator();
    file->addAction(actions_.at(kExit));
    addPopup("編集(&E)", {kEditUndo, kEditRedo, 0, kNewVector, kDeleteSelected, 0, kTraceToLines, 0,
                          kRenderSettings, 0, kEditCopy, kCopyUnicode, kTrimMargins});
    addPopup("表示(&V)", {kToolBar,
                          kStatusBar,
                          kGuideLines,
                          0,
                          kGridToggle,
                          kGridSettings,
                          0,
                          kZoomIn,
                          kZoomOut,
                          kZoomReset,
                          0,
                          kLiveRendering,
                          kTextArt,
                          kArtOnly,
                          kPreviewWindow,
                          kPreviewLarge,
                          kPreviewHome,
                          0,
                          kTraceShow,
                          kTraceOpacity,
                          kTracePlace,
                          kTraceSmooth,
                          0,
                          kFinishedMessages});
    addPopup("ﾍﾙﾌﾟ(&H)", {kHelp, 0, kAbout});
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
    for (int id : {kNewVector, kDeleteSelected, 0, kEditUndo, kEditRedo, 0, kRenderAs, kReRender,
                   kFineMatching, 0, kAbout}) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = actions_.at(id);
        action->setIcon(toolbarImage(id));
        // The images belong to the toolbar; the menus stay text only.
        action->setIconVisibleInMenu(false);
        action->setToolTip(toolTipOf(*action));
        toolBar_->addAction(action);
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
    figuresPane_ = new BoardLimitsPane(document_, this);
    statusBar()->addPermanentWidget(figuresPane_);
    zoomPane_ = new QLabel(this);
    zoomPane_->setObjectName(QStringLiteral("zoomPane"));
    zoomPane_->setAlignment(Qt::AlignCenter);
    zoomPane_->setMinimumWidth(
        zoomPane_->fontMetrics().horizontalAdvance(QString::fromUtf8(text::kZoomPane).arg(800)) +
        10);
    statusBar()->addPermanentWidget(zoomPane_);
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
    followCopiedArt();
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

void CMainFrame::createEditingActions() {
    for (int id : kEditingKeyCommands) {
        actions_[id] = new QAction(this);
    }
    for (int i = 0; i < command::kRecentFileCount; ++i) {
        auto* recent = new QAction(this);
        recent->setMenuRole(QAction::NoRole);
        actions_[command::kRecentFileFirst + i] = recent;
    }
    std::map<int, QList<QKeySequence>> keys;
    for (const Accelerator& key : kEditingKeys) {
        keys[key.id].append(QKeySequence(key.keys));
    }
    for (const auto& [id, sequences] : keys) {
        QAction* action = actions_.at(id);
        action->setShortcuts(action->shortcuts() + sequences);
    }
    for (int id : kEditingKeyCommands) {
        addAction(actions_.at(id));
    }
    for (int id : kEditingKeyCommands) {
        connect(actions_.at(id), &QAction::triggered, this,
                [this, commandId = id] { dispatchCommand(commandId); });
    }
    for (int i = 0; i < command::kRecentFileCount; ++i) {
        const int id = command::kRecentFileFirst + i;
        connect(actions_.at(id), &QAction::triggered, this, [this, id] { dispatchCommand(id); });
    }
}

void CMainFrame::connectEditingSignals() {
    const QUndoStack& stack = document_.history().stack();
    connect(&stack, &QUndoStack::indexChanged, this, &CMainFrame::updateActions);
    connect(&document_, &EditorDocument::modifiedChanged, this, &CMainFrame::updateActions);
    connect(&document_, &EditorDocument::modifiedChanged, this, &CMainFrame::setWindowModified);
    connect(&stack, &QUndoStack::undoTextChanged, this, [this](const QString& name) {
        action(command::kEditUndo)
            ->setText(name.isEmpty() ? QString::fromUtf8(text::kUndo)
                                     : QString::fromUtf8(text::kUndoWithName).arg(name));
    });
    connect(&stack, &QUndoStack::redoTextChanged, this, [this](const QString& name) {
        action(command::kEditRedo)
            ->setText(name.isEmpty() ? QString::fromUtf8(text::kRedo)
                                     : QString::fromUtf8(text::kRedoWithName).arg(name));
    });
    connect(canvasView_, &CanvasView::zoomChanged, this, &CMainFrame::updateActions);
    connect(canvasView_, &CanvasView::zoomChanged, this, &CMainFrame::showZoom);
    showZoom(canvasView_->zoom());
    if (recentFiles_ != nullptr) {
        connect(recentFiles_, &RecentFiles::changed, this, &CMainFrame::showRecentFiles);
    }
    showRecentFiles();
}

void CMainFrame::showEditingHint() {
    const QString hint = editCommands_->editingHint();
    if (hint.isEmpty()) {
        showReady();
    } else {
        messagePane_->setText(hint);
    }
}

void CMainFrame::showRecentFiles() {
    const QStringList entries = recentFiles_ != nullptr ? recentFiles_->entries() : QStringList();
    for (int i = 0; i < command::kRecentFileCount; ++i) {
        QAction* recent = actions_.at(command::kRecentFileFirst + i);
        recent->setVisible(i < entries.size());
        if (i < entries.size()) {
            QString name = QFileInfo(entries[i]).fileName();
            recent->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name.replace('&', "&&")));
            recent->setStatusTip(entries[i]);
        }
    }
    recentSeparator_->setVisible(!entries.isEmpty());
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
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::restoreView() {
    if (settings_ == nullptr) {
        return;
    }
    const ViewSettings view = readViewSettings(*settings_);
    if (!view.windowGeometry.isEmpty()) {
        restoreGeometry(view.windowGeometry);
    }
    toolBar_->setVisible(view.toolBar);
    statusBar()->setVisible(view.statusBar);
    canvas_->setShowGuides(view.guideLines);
    interaction_.setFinishedBoxes(view.finishedBoxes);
    canvasView_->setZoom(view.zoom);
    if (!view.preview.isNull()) {
        canvasView_->setPreviewInView(view.preview);
    }
    updateActions();
}

void CMainFrame::storeSettings() {
    if (settings_ == nullptr) {
        return;
    }
    writeRenderSettings(*settings_, document_.renderSettings());
    writeGridSettings(*settings_, document_.grid());
    writeBoardProfile(*settings_, document_.boardProfile());
    ViewSettings view;
    view.toolBar = !toolBar_->isHidden();
    view.statusBar = !statusBar()->isHidden();
    view.guideLines = canvas_->showGuides();
    view.finishedBoxes = interaction_.finishedBoxes();
    view.zoom = canvasView_->zoom();
    view.windowGeometry = saveGeometry();
    view.preview = canvasView_->previewInView();
    writeViewSettings(*settings_, view);
    settings_->sync();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!documentCommands_->maySaveChanges()) {
        event->ignore();
        return;
    }
    storeSettings();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDrawing(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = droppedDrawing(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        documentCommands_->openFile(path);
    }
}

}  // namespace penmoji
