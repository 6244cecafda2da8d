// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QLabel>

namespace penmoji {

class EditorDocument;
struct BoardProfile;

// The status bar's figures of the current art (bytes, lines and the longest line, as boards
// count them), checked against the board chosen in the render settings: in red, naming the
// limits it breaks, when the art is over them. Empty while there is no art.
class BoardLimitsPane : public QLabel {
    Q_OBJECT
public:
    BoardLimitsPane(const EditorDocument& document, QWidget* parent);

    // The art of the latest rendering, live or written.
    void showArt(std::string_view text);
    void clearArt();
    // Checks the art again, after the board was changed.
    void refresh();

private:
    const EditorDocument& document_;
    std::optional<std::string> art_;
};

// The pane's text for a text and a board, and whether it is over the board's limits: for the
// pane and its tests.
struct BoardPaneText {
    QString text;
    bool exceeded = false;
};
BoardPaneText boardPaneText(std::string_view art, const BoardProfile& profile);

}  // namespace penmoji
