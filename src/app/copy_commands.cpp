// SPDX-License-Identifier: MIT
#include "app/copy_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/copied_art.h"
#include "app/file_renderer.h"
#include "app/live_rendering.h"
#include "canvas/art_text_input.h"
#include "canvas/clipboard_text.h"
#include "canvas/editor_document.h"

namespace penmoji {

CopyCommands::CopyCommands(EditorDocument& document, LiveRendering& live, LiveRendering& copiedLive,
                           FileRenderer& renderer, CommandRegistry& commands)
    : document_(document), live_(live), copiedLive_(copiedLive), renderer_(renderer) {
    commands.add({
        .id = command::kEditCopy,
        .text = QT_TRANSLATE_NOOP("Penmoji", "コピー"),
        .prompt =
            QT_TRANSLATE_NOOP("Penmoji", "レンダリング結果を Unicode テキストでクリップボードへ"),
        .keys = {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert},
        .run = [this] { copy(true); },
    });
    commands.add({
        .id = command::kCopyUnicode,
        .text = QT_TRANSLATE_NOOP("Penmoji", "Unicode 空白でコピー"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji",
                                    "実体参照の空白を Unicode の空白文字にしてクリップボードへ"),
        .run = [this] { copy(false); },
    });
    commands.add({
        .id = command::kTrimMargins,
        .text = QT_TRANSLATE_NOOP("Penmoji", "余白を詰める"),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "コピーするとき上の空行と左の余白を詰める"),
        .run = [this] { document_.setTrimMargins(!document_.trimMargins()); },
        .checkedWhen = [this] { return document_.trimMargins(); },
    });
    commands.refreshOn(&document_, &EditorDocument::trimMarginsChanged, {command::kTrimMargins});
}

bool CopyCommands::trimMargins() const {
    return document_.trimMargins();
}

void CopyCommands::copy(bool entities) {
    // A selected piece is copied as its own text, the art a user took it from.
    if (const int piece = document_.selectedPiece(); piece >= 0) {
        const std::string text =
            pieceShiftJis(document_.placedText()[static_cast<std::size_t>(piece)]);
        QGuiApplication::clipboard()->setText(entities ? clipboardText(text)
                                                       : unicodeBlankText(text));
        return;
    }
    withTextToCopy([entities](const std::string& text) {
        if (!text.empty()) {
            QGuiApplication::clipboard()->setText(entities ? clipboardText(text)
                                                           : unicodeBlankText(text));
        }
    });
}

std::string CopyCommands::textToCopy() const {
    const bool trimmed = document_.trimMargins();
    // The live rendering is the art as it is now unless a change is still on its way.
    const LiveRendering& live = trimmed ? copiedLive_ : live_;
    return live.upToDate() ? copiedText(live.current()->result.text, trimmed) : std::string();
}

void CopyCommands::withTextToCopy(std::function<void(const std::string&)> use) {
    if (const LiveRendering& live = document_.trimMargins() ? copiedLive_ : live_;
        live.upToDate()) {
        use(textToCopy());
        return;
    }
    renderer_.renderWithoutDots(
        copiedDrawing(document_),
        [trimmed = document_.trimMargins(), use](std::shared_ptr<const RenderOutcome> outcome) {
            if (outcome) {
                use(copiedText(outcome->result.text, trimmed));
            }
        });
}

}  // namespace penmoji
