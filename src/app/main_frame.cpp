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
#include "app/command_registry.h"
#include "app/copied_art.h"
#include "app/copy_commands.h"
#include "app/document_commands.h"
#include "app/drawing_saving.h"
#include "app/edit_commands.h"
#include "app/file_renderer.h"
#include "app/interchange_commands.h"
#include "app/key_lock_state.h"
#include "app/live_rendering.h"
#include "app/placed_text_commands.h"
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

}  // namespace

CMainFrame::CMainFrame(EditorDocument& document, QSettings* settings, RecentFiles* recentFiles,
                       UserInteraction& interaction,
                       const std::function<void(CommandRegistry&)>& declareApplicationCommands)
    : document_(document),
      settings_(settings),
      recentFiles_(recentFiles),
      interaction_(interaction),
      commands_(new CommandRegistry(*this)),
      canvas_(new CEditCanvas(document, charWidths_, this)),
      canvasView_(new CanvasView(*canvas_, this)),
      toolBar_(new QToolBar(this)),
      live_(new LiveRendering(document, this)),
      copiedLive_(new LiveRendering(document, this, LiveRendering::Framing::AsCopied)),
      fileRenderer_(std::make_unique<FileRenderer>(document, interaction, *this)),
      saving_(std::make_unique<DrawingSaving>(document, interaction, recentFiles, *this)),
      documentCommands_(std::make_unique<DocumentCommands>(document, interaction, *saving_,
                                                           recentFiles, *this, *commands_)),
      renderCommands_(std::make_unique<RenderCommands>(document, interaction, *fileRenderer_, *this,
                                                       *commands_)),
      copyCommands_(std::make_unique<CopyCommands>(document, *live_, *copiedLive_, *fileRenderer_,
                                                   *commands_)),
      viewCommands_(std::make_unique<ViewCommands>(document, interaction, *canvasView_, *this,
                                                   *toolBar_, *live_, *commands_)),
      editCommands_(std::make_unique<EditCommands>(document, *commands_)),
      interchangeCommands_(std::make_unique<InterchangeCommands>(
          document, interaction, *canvasView_, *this, *fileRenderer_, *saving_, *commands_)),
      traceCommands_(std::make_unique<TraceCommands>(document, interaction, *canvasView_, settings,
                                                     *this, *commands_)),
      placedTextCommands_(std::make_unique<PlacedTextCommands>(document, interaction, *canvas_,
                                                               *this, *commands_)) {
    setWindowIcon(applicationIcon());
    setCentralWidget(canvasView_);
    setFocusProxy(canvas_);
    setAcceptDrops(true);

    declareApplicationCommands(*commands_);
    declareKeyOnlyCommands();
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
    connect(document, &EditorDocument::editingStateChanged, this, &CMainFrame::showEditingHint);
    connect(document, &EditorDocument::renderTargetChanged, this,
            [this](const RenderTarget& target) { showRenderTarget(target.path); });
    connect(document, &EditorDocument::filePathChanged, this, &CMainFrame::updateTitle);

    // Every change of what is rendered makes the live renderings out of date; so does a file
    // written, which advances the dots the next rendering starts from.
    for (LiveRendering* live : {live_, copiedLive_}) {
        connect(document, &EditorDocument::drawingChanged, live, &LiveRendering::invalidate);
        connect(document, &EditorDocument::renderSettingsChanged, live, &LiveRendering::invalidate);
        connect(document, &EditorDocument::dotsAdvanced, live, &LiveRendering::invalidate);
        connect(document, &EditorDocument::placedTextChanged, live, &LiveRendering::invalidate);
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
    canvas_->setInexactPieces({result.inexactPieces.begin(), result.inexactPieces.end()});
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
}

void CMainFrame::declareKeyOnlyCommands() {
    commands_->add(
        {.id = command::kEditCut, .keys = {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete}});
    commands_->add(
        {.id = command::kEditPaste, .keys = {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert}});
    commands_->add({.id = command::kNextPane, .keys = {QKeySequence(Qt::Key_F6)}});
    commands_->add({.id = command::kPreviousPane, .keys = {Qt::SHIFT | Qt::Key_F6}});
    // After any command, whatever it switched shows; a change made elsewhere refreshes only
    // the commands it concerns.
    connect(commands_, &CommandRegistry::commandRun, this, [this] {
        followCopiedArt();
        updateActions();
    });
}

QMenu* CMainFrame::addPopup(const char* title, const std::vector<int>& ids) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
    for (int id : ids) {
        if (id == 0) {
            menu->addSeparator();
        } else if (id == command::kRecentFiles) {
            for (int i = 0; i < command::kRecentFileCount; ++i) {
                menu->addAction(action(command::kRecentFileFirst + i));
            }
            recentSeparator_ = menu->addSeparator();
        } else {
            menu->addAction(action(id));
        }
    }
    // Some states are only known once the windows have their sizes (the preview's), so a menu
    // reads every state again as it opens.
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateActions);
    connect(menu, &QMenu::aboutToHide, this, &CMainFrame::showReady);
    return menu;
}

void CMainFrame::createMenus() {
    for (const command::MenuLayout& menu : command::kMenus) {
        addPopup(menu.title, menu.ids);
    }
}

void CMainFrame::createToolBar() {
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setIconSize(QSize(48, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->toggleViewAction()->setVisible(false);
    for (int id : command::kToolBarLayout) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = this->action(id);
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
    return commands_->action(id);
}

void CMainFrame::dispatchCommand(int id) {
    commands_->trigger(id);
}

void CMainFrame::updateActions() {
    commands_->refreshAll();
}

void CMainFrame::connectEditingSignals() {
    const QUndoStack& stack = document_.history().stack();
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
        QAction* recent = action(command::kRecentFileFirst + i);
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
    if (!saving_->maySaveChanges()) {
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
