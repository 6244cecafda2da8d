// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

namespace penmoji {

class CommandRegistry;
class EditorDocument;
class LiveRendering;
class FileRenderer;

// "コピー", "Unicode 空白でコピー" and "余白を詰める": the current rendering onto the
// clipboard, trimmed of its empty rows and left margin unless the user turned that off.
class CopyCommands final {
public:
    // `copiedLive` renders the art as it is copied, kept while margins are trimmed.
    CopyCommands(EditorDocument& document, LiveRendering& live, LiveRendering& copiedLive,
                 FileRenderer& renderer, CommandRegistry& commands);

    bool trimMargins() const;
    // The text the copy commands put on the clipboard (Shift_JIS), as the live rendering has it;
    // empty while a change is still on its way to it.
    std::string textToCopy() const;
    // Gives `use` the text to copy: at once when the live rendering is up to date, otherwise
    // once it is rendered; nothing when that rendering is stopped.
    void withTextToCopy(std::function<void(const std::string&)> use);

private:
    void copy(bool entities);

    EditorDocument& document_;
    LiveRendering& live_;
    LiveRendering& copiedLive_;
    FileRenderer& renderer_;
};

}  // namespace penmoji
