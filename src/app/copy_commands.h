// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "app/command_target.h"

namespace penmoji {

class EditorDocument;
class LiveRendering;
class RenderCommands;

// "コピー", "Unicode 空白でコピー" and "余白を詰める": the current rendering onto the
// clipboard, trimmed of its empty rows and left margin unless the user turned that off.
class CopyCommands final : public CommandTarget {
public:
    // `copiedLive` renders the art as it is copied, kept while margins are trimmed.
    CopyCommands(EditorDocument& document, LiveRendering& live, LiveRendering& copiedLive,
                 RenderCommands& renderer);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    bool trimMargins() const;
    // The text the copy commands put on the clipboard (Shift_JIS); empty when the rendering
    // was stopped.
    std::string textToCopy();

private:
    EditorDocument& document_;
    LiveRendering& live_;
    LiveRendering& copiedLive_;
    RenderCommands& renderer_;
};

}  // namespace penmoji
