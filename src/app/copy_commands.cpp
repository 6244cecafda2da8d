// SPDX-License-Identifier: MIT
#include "app/copy_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/copied_art.h"
#include "app/live_rendering.h"
#include "app/render_commands.h"
#include "canvas/clipboard_text.h"

namespace penmoji {

CopyCommands::CopyCommands(AppState& state, LiveRendering& live, LiveRendering& copiedLive,
                           RenderCommands& renderer)
    : state_(state), live_(live), copiedLive_(copiedLive), renderer_(renderer) {}

bool CopyCommands::trimMargins() const {
    return state_.trimMargins;
}

bool CopyCommands::handlesCommand(int id) const {
    return id == command::kEditCopy || id == command::kCopyUnicode || id == command::kTrimMargins;
}

CommandState CopyCommands::commandState(int id) const {
    return {true, id == command::kTrimMargins && state_.trimMargins};
}

void CopyCommands::executeCommand(int id) {
    if (id == command::kTrimMargins) {
        state_.trimMargins = !state_.trimMargins;
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
    const bool trimmed = state_.trimMargins;
    // The live rendering is the art as it is now unless a change is still on its way.
    const LiveRendering& live = trimmed ? copiedLive_ : live_;
    if (live.upToDate()) {
        return copiedText(live.current()->result.text, trimmed);
    }
    const std::shared_ptr<const RenderOutcome> outcome =
        renderer_.renderWithProgress({copiedDrawing(state_), state_.renderSettings, state_.random});
    if (!outcome) {
        return {};
    }
    return copiedText(outcome->result.text, trimmed);
}

}  // namespace penmoji
