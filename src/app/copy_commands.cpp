#include "app/copy_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/live_rendering.h"
#include "app/render_commands.h"
#include "canvas/clipboard_text.h"
#include "compose/trimmed_drawing.h"

namespace penmoji {

CopyCommands::CopyCommands(AppState& state, LiveRendering& live, RenderCommands& renderer)
    : state_(state), live_(live), renderer_(renderer) {}

bool CopyCommands::handlesCommand(int id) const {
    return id == command::kEditCopy || id == command::kCopyUnicode || id == command::kTrimMargins;
}

CommandState CopyCommands::commandState(int id) const {
    return {true, id == command::kTrimMargins && trimMargins_};
}

void CopyCommands::executeCommand(int id) {
    if (id == command::kTrimMargins) {
        trimMargins_ = !trimMargins_;
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
    // The live rendering is the drawing as it is now unless a change is still on its way.
    if (!trimMargins_ && live_.upToDate()) {
        return live_.current()->result.text;
    }
    RenderJob job{std::make_shared<const VectorSet>(state_.document.vectors()),
                  state_.renderSettings, state_.random};
    if (trimMargins_) {
        job.vectors = std::make_shared<const VectorSet>(
            trimmedDrawing(state_.document.vectors(), state_.renderSettings));
    }
    const std::shared_ptr<const RenderOutcome> outcome = renderer_.renderWithProgress(job);
    if (!outcome) {
        return {};
    }
    std::string text = outcome->result.text;
    if (trimMargins_) {
        dropLeadingEmptyRows(text);
    }
    return text;
}

}  // namespace penmoji
