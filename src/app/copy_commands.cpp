// SPDX-License-Identifier: MIT
#include "app/copy_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/command_ids.h"
#include "app/copied_art.h"
#include "app/live_rendering.h"
#include "app/render_commands.h"
#include "canvas/clipboard_text.h"
#include "canvas/editor_document.h"

namespace penmoji {

CopyCommands::CopyCommands(EditorDocument& document, LiveRendering& live, LiveRendering& copiedLive,
                           RenderCommands& renderer)
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
    const std::string text = textToCopy();
    if (text.empty()) {
        return;
    }
    QGuiApplication::clipboard()->setText(id == command::kEditCopy ? clipboardText(text)
                                                                   : unicodeBlankText(text));
}

std::string CopyCommands::textToCopy() {
    const bool trimmed = document_.trimMargins();
    // The live rendering is the art as it is now unless a change is still on its way.
    const LiveRendering& live = trimmed ? copiedLive_ : live_;
    if (live.upToDate()) {
        return copiedText(live.current()->result.text, trimmed);
    }
    const std::shared_ptr<const RenderOutcome> outcome = renderer_.renderWithProgress(
        {copiedDrawing(document_), document_.renderSettings(), document_.random()});
    if (!outcome) {
        return {};
    }
    return copiedText(outcome->result.text, trimmed);
}

}  // namespace penmoji
