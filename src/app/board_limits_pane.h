#pragma once

#include <string>
#include <string_view>

#include <QLabel>

namespace penmoji {

struct AppState;

// The status bar's pane for the board chosen in the render settings: the last rendering's
// figures (bytes, lines, the longest line), in red with the limits it breaks when the art is
// over them. Hidden while no board is chosen.
class BoardLimitsPane : public QLabel {
    Q_OBJECT
public:
    BoardLimitsPane(const AppState& state, QWidget* parent);

    // The art of the latest rendering.
    void showArt(std::string_view text);
    // Checks the art again, after the board was changed.
    void refresh();

private:
    const AppState& state_;
    std::string art_;
};

// The pane's text for a text and a board, and whether it is over the board's limits: for the
// pane and its tests.
struct BoardPaneText {
    QString text;
    bool exceeded = false;
};
struct BoardProfile;
BoardPaneText boardPaneText(std::string_view art, const BoardProfile& profile);

}  // namespace penmoji
