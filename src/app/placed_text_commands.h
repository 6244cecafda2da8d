// SPDX-License-Identifier: MIT
#pragma once

class QWidget;
class QMimeData;

namespace penmoji {

class CEditCanvas;
class CommandRegistry;
class EditorDocument;
class UserInteraction;

// The art layer's commands: "アートを貼り付け" puts the clipboard's text art where the mouse is,
// "テキストを置く" and "文字を直す" switch what a click on the canvas does.
class PlacedTextCommands final {
public:
    PlacedTextCommands(EditorDocument& document, UserInteraction& interaction, CEditCanvas& canvas,
                       QWidget& window, CommandRegistry& commands);

    // Places the text art of `data` at the paste position as one step and selects it; a text
    // that cannot be placed is told, naming its row and character. True when it was placed.
    bool pasteArt(const QMimeData& data);

    // Opens the palette for the selected one-character piece and puts the chosen character in.
    void chooseCharacter();

private:
    // The selected piece when it is one character (or the blanks of a deleted one), or -1.
    int touchedUpCharacter() const;

    EditorDocument& document_;
    UserInteraction& interaction_;
    CEditCanvas& canvas_;
    QWidget& window_;
};

}  // namespace penmoji
