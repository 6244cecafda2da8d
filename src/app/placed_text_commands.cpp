// SPDX-License-Identifier: MIT
#include "app/placed_text_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/app_texts.h"
#include "app/character_palette.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/user_interaction.h"
#include "canvas/art_text_input.h"
#include "canvas/document_texts.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"

namespace penmoji {

PlacedTextCommands::PlacedTextCommands(EditorDocument& document, UserInteraction& interaction,
                                       CEditCanvas& canvas, QWidget& window,
                                       CommandRegistry& commands)
    : document_(document), interaction_(interaction), canvas_(canvas), window_(window) {
    commands.add({
        .id = command::kPasteArt,
        .text = QT_TRANSLATE_NOOP("Penmoji", "アートを貼り付け"),
        .prompt =
            QT_TRANSLATE_NOOP("Penmoji", "クリップボードのアスキーアートをマウスの位置に置く"),
        .keys = {Qt::CTRL | Qt::SHIFT | Qt::Key_V},
        .run =
            [this] {
                if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) {
                    pasteArt(*data);
                }
            },
        .enabledWhen = [this] { return document_.idle(); },
    });
    const auto toolCommand = [&](int id, const char* text, const char* prompt,
                                 CEditCanvas::Tool tool) {
        commands.add({
            .id = id,
            .text = text,
            .prompt = prompt,
            .run =
                [this, tool] {
                    canvas_.setTool(canvas_.tool() == tool ? CEditCanvas::Tool::Draw : tool);
                },
            .checkedWhen = [this, tool] { return canvas_.tool() == tool; },
        });
    };
    toolCommand(
        command::kTypeText, QT_TRANSLATE_NOOP("Penmoji", "テキストを置く"),
        QT_TRANSLATE_NOOP("Penmoji", "クリックした所に文字を打つ (Enter で改行、Esc で終了)"),
        CEditCanvas::Tool::TypeText);
    toolCommand(command::kTouchUp, QT_TRANSLATE_NOOP("Penmoji", "文字を直す"),
                QT_TRANSLATE_NOOP("Penmoji",
                                  "レンダリングされた文字をクリックして固定、置き換え、移動、削除"),
                CEditCanvas::Tool::TouchUp);
    commands.add({
        .id = command::kChooseCharacter,
        .text = QT_TRANSLATE_NOOP("Penmoji", "文字を選ぶ..."),
        .prompt = QT_TRANSLATE_NOOP("Penmoji",
                                    "選んだ文字を、下の線に合う文字の一覧から選んで置き換える"),
        .keys = {QKeySequence(Qt::Key_F2)},
        .run = [this] { chooseCharacter(); },
        .enabledWhen = [this] { return touchedUpCharacter() >= 0; },
    });
    commands.refreshOn(&canvas_, &CEditCanvas::toolChanged,
                       {command::kTypeText, command::kTouchUp});
    commands.refreshOn(&document_, &EditorDocument::editingStateChanged,
                       {command::kChooseCharacter});
    commands.refreshOn(&document_, &EditorDocument::placedTextChanged, {command::kChooseCharacter});
    QObject::connect(&canvas_, &CEditCanvas::paletteRequested, &window_,
                     [this] { chooseCharacter(); });
    commands.refreshOn(&document_, &EditorDocument::editingStateChanged, {command::kPasteArt});
    QObject::connect(&canvas_, &CEditCanvas::statusMessage, &window_,
                     [this](const QString& text) { interaction_.showStatus(&window_, text); });
}

bool PlacedTextCommands::pasteArt(const QMimeData& data) {
    ArtInput art = readClipboardArt(data);
    if (!art.ok()) {
        interaction_.showMessage(&window_, QString::fromUtf8(text::kCannotPasteArt).arg(art.error));
        return false;
    }
    canvas_.setTool(CEditCanvas::Tool::Draw);
    const Point at = canvas_.pastePosition();
    const int piece = document_.addPiece({at.x, at.y, std::move(art.rows)}, text::kStepPastePiece);
    document_.selectPiece(piece);
    canvas_.setFocus();
    return true;
}

}  // namespace penmoji

namespace penmoji {

int PlacedTextCommands::touchedUpCharacter() const {
    const int piece = document_.selectedPiece();
    if (piece < 0 || !document_.idle()) {
        return -1;
    }
    const PlacedPiece& p = document_.placedText()[static_cast<std::size_t>(piece)];
    return p.rows.size() == 1 && p.rows[0].size() <= 2 ? piece : -1;
}

void PlacedTextCommands::chooseCharacter() {
    const int piece = touchedUpCharacter();
    if (piece < 0) {
        return;
    }
    PlacedPiece replaced = document_.placedText()[static_cast<std::size_t>(piece)];
    CharacterPalette palette(document_.vectors(), replaced, &window_);
    if (interaction_.runDialog(palette) != QDialog::Accepted) {
        return;
    }
    if (const std::optional<std::int32_t> code = palette.chosen()) {
        replaced.rows = {{*code}};
        document_.replacePiece(piece, std::move(replaced), text::kStepTouchUp);
    }
}

}  // namespace penmoji
