// SPDX-License-Identifier: MIT
#include "app/copy_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/command_ids.h"
#include "app/copied_art.h"
#include "app/file_renderer.h"
#include "app/live_rendering.h"
#include "canvas/clipboard_text.h"
#include "canvas/editor_document.h"

namespace penmoji {

CopyCommands::CopyCommands(EditorDocument& document, LiveRendering& live, LiveRendering& copiedLive,
                           FileRenderer& renderer)
    : document_(document), live_(live), copiedLive_(copiedLive), renderer_(renderer) {}

bool CopyCommands::trimMargins() const {
    return document_.trimMargins();
}

bool CopyCommands::handlesCommand(int id) const {
    return id == command::kEditCopy || id == command::kCopyUnicode || id == command::kTrimMargins;
}

CommandState CopyCommands::commandState(int id) const {
    return {true, id == command::kTrimMargins && document_.trimMargins()};
}

void CopyCommands::executeCommand(int id) {
    if (id == command::kTrimMargins) {
        document_.setTrimMargins(!document_.trimMargins());
        return;
    }
    const bool entities = id == command::kEditCopy;
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
