// SPDX-License-Identifier: MIT
#include "app/view_commands.h"

#include <algorithm>

#include <QMainWindow>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
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
                           QMainWindow& window, QToolBar& toolBar, LiveRendering& live,
                           CommandRegistry& commands)
    : document_(document),
      interaction_(interaction),
      view_(view),
      window_(window),
      toolBar_(toolBar),
      live_(live) {
    declareWindowCommands(commands);
    declarePreviewCommands(commands);
    declareZoomCommands(commands);
}

void ViewCommands::declareWindowCommands(CommandRegistry& commands) {
    CEditCanvas& canvas = view_.canvas();
    commands.add({
        .id = command::kToolBar,
        .text = QT_TRANSLATE_NOOP("Penmoji", "ﾂｰﾙ ﾊﾞｰ(&T)"),
        .prompt = text::kToolBarPrompt,
        .tip = text::kToolBarTip,
        .run = [this] { toolBar_.setHidden(!toolBar_.isHidden()); },
        .checkedWhen = [this] { return !toolBar_.isHidden(); },
    });
    commands.add({
        .id = command::kStatusBar,
        .text = QT_TRANSLATE_NOOP("Penmoji", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"),
        .prompt = text::kStatusBarPrompt,
        .tip = text::kStatusBarTip,
        .run = [this] { window_.statusBar()->setHidden(!window_.statusBar()->isHidden()); },
        .checkedWhen = [this] { return !window_.statusBar()->isHidden(); },
    });
    commands.add({
        .id = command::kGuideLines,
        .text = QT_TRANSLATE_NOOP("Penmoji", "補助線"),
        .run = [&canvas] { canvas.setShowGuides(!canvas.showGuides()); },
        .checkedWhen = [&canvas] { return canvas.showGuides(); },
    });
    commands.add({
        .id = command::kGridToggle,
        .text = QT_TRANSLATE_NOOP("Penmoji", "グリッド！"),
        .run = [this] { toggleGrid(); },
        .checkedWhen = [this] { return document_.grid().gridEnabled; },
    });
    commands.add({
        .id = command::kGridSettings,
        .text = QT_TRANSLATE_NOOP("Penmoji", "グリッド設定"),
        .run = [this] { runGridDialog(); },
    });
    commands.add({
        .id = command::kLiveRendering,
        .text = QT_TRANSLATE_NOOP("Penmoji", "ライブ表示"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "編集するたびにバックグラウンドでレンダリング"),
        .run = [this] { live_.setEnabled(!live_.enabled()); },
        .checkedWhen = [this] { return live_.enabled(); },
    });
    commands.add({
        .id = command::kTextArt,
        .text = QT_TRANSLATE_NOOP("Penmoji", "テキストアート"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "レンダリング結果の文字をキャンバスに表示"),
        .run = [&canvas] { canvas.setShowTextArt(!canvas.showTextArt()); },
        .checkedWhen = [&canvas] { return canvas.showTextArt(); },
    });
    commands.add({
        .id = command::kArtOnly,
        .text = QT_TRANSLATE_NOOP("Penmoji", "アートのみ表示"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "線・印・枠を隠し、アートだけを黒で表示"),
        .keys = {Qt::CTRL | Qt::SHIFT | Qt::Key_A},
        .run = [&canvas] { canvas.setArtOnly(!canvas.artOnly()); },
        .checkedWhen = [&canvas] { return canvas.artOnly(); },
    });
    commands.add({
        .id = command::kFinishedMessages,
        .text = QT_TRANSLATE_NOOP("Penmoji", "完了メッセージを表示"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji",
                                    "保存・読み込み・レンダリングの「終了」を確認ボックスで表示 "
                                    "(切るとステータスバーに表示)"),
        .run = [this] { interaction_.setFinishedBoxes(!interaction_.finishedBoxes()); },
        .checkedWhen = [this] { return interaction_.finishedBoxes(); },
    });
    commands.refreshOn(&toolBar_, &QToolBar::visibilityChanged, {command::kToolBar});
    commands.refreshOn(&document_, &EditorDocument::gridChanged, {command::kGridToggle});
}

void ViewCommands::declarePreviewCommands(CommandRegistry& commands) {
    CPreviewWindow& preview = view_.canvas().preview();
    commands.add({
        .id = command::kPreviewWindow,
        .text = QT_TRANSLATE_NOOP("Penmoji", "プレビュー"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "プレビューウィンドウの表示/非表示"),
        .run = [&preview] { preview.setVisible(preview.isHidden()); },
        .checkedWhen = [&preview] { return !preview.isHidden(); },
    });
    commands.add({
        .id = command::kPreviewLarge,
        .text = QT_TRANSLATE_NOOP("Penmoji", "プレビューを大きく"),
        .prompt = QT_TRANSLATE_NOOP(
            "Command", "プレビューを約 60 字 × 20 行の大きさにする (もう一度で元の大きさ)"),
        .run = [this] { enlargePreview(); },
        .checkedWhen = [&preview] { return preview.size() == largePreviewSize(preview); },
    });
    commands.add({
        .id = command::kPreviewHome,
        .text = QT_TRANSLATE_NOOP("Penmoji", "プレビューを元の位置へ"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "プレビューウィンドウを最初の位置に戻す"),
        .run = [this] { placePreviewAtHome(); },
    });
}

void ViewCommands::declareZoomCommands(CommandRegistry& commands) {
    const auto zoomedAtAll = [this] { return view_.zoom() > kMinZoom; };
    commands.add({
        .id = command::kZoomIn,
        .text = text::kZoomIn,
        .keys = {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal},
        .run = [this] { view_.setZoom(zoomedIn(view_.zoom())); },
        .enabledWhen = [this] { return view_.zoom() < kMaxZoom; },
    });
    commands.add({
        .id = command::kZoomOut,
        .text = text::kZoomOut,
        .keys = {Qt::CTRL | Qt::Key_Minus},
        .run = [this] { view_.setZoom(zoomedOut(view_.zoom())); },
        .enabledWhen = zoomedAtAll,
    });
    commands.add({
        .id = command::kZoomReset,
        .text = text::kZoomReset,
        .keys = {Qt::CTRL | Qt::Key_0},
        .run = [this] { view_.setZoom(kMinZoom); },
        .enabledWhen = zoomedAtAll,
    });
    commands.refreshOn(&view_, &CanvasView::zoomChanged,
                       {command::kZoomIn, command::kZoomOut, command::kZoomReset});
}

void ViewCommands::toggleGrid() {
    GridSettings grid = document_.grid();
    penmoji::toggleGrid(grid);
    document_.setGrid(grid);
}

// Where it is, larger or back to its first size; kept as its place is.
void ViewCommands::enlargePreview() {
    const QSize large = largePreviewSize(view_.canvas().preview());
    QRect place = view_.previewInView();
    if (place.size() == large) {
        place.setSize(kPreviewSize);
    } else {
        // A window too small for it keeps all of it in view: it moves up and left as far as
        // its place allows.
        place.setSize(large);
        const QSize room = view_.viewport()->size();
        place.moveLeft(std::max(0, std::min(place.left(), room.width() - large.width())));
        place.moveTop(std::max(0, std::min(place.top(), room.height() - large.height())));
    }
    view_.setPreviewInView(place);
    view_.canvas().preview().show();
}

// Where it starts, in the part of the drawing in view.
void ViewCommands::placePreviewAtHome() {
    view_.setPreviewInView(
        QRect(view_.canvas().contentsRect().topLeft() + QPoint(200, 200), QSize(200, 200)));
    view_.canvas().preview().show();
}

void ViewCommands::runGridDialog() {
    if (const std::optional<GridSettings> grid =
            editGridSettings(document_.grid(), interaction_, &window_)) {
        document_.setGrid(*grid);
    }
}

}  // namespace penmoji
