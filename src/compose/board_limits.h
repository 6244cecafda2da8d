// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace penmoji {

// What a board accepts in one post. A limit of 0 means the board sets none.
struct BoardProfile {
    std::string_view name;   // for the command line and the settings file
    std::string_view label;  // for the render-settings dialog
    int maxBytes = 0;        // the whole post, line breaks included
    int maxLines = 0;
    int maxLineBytes = 0;  // one line, without its line break

    bool unlimited() const { return maxBytes == 0 && maxLines == 0 && maxLineBytes == 0; }
};

// The profiles shipped with the program, "none" (no limits) first.
std::span<const BoardProfile> boardProfiles();
// The profile of that name (ASCII letter case ignored), or nothing.
const BoardProfile* findBoardProfile(std::string_view name);
// The profile that sets no limits.
const BoardProfile& unlimitedBoardProfile();

// The sizes of a post as a board counts them, for rendered Shift_JIS text: every byte as it is
// sent (an entity blank is its six or eight characters), each line break (CR LF, or a lone CR
// or LF) as two bytes. A text ending in a line break has no empty line after it; a NUL and
// everything after it is not part of the text.
struct BoardFigures {
    int bytes = 0;
    int lines = 0;
    int longestLineBytes = 0;
    int longestLine = 0;  // its number, from 1; 0 for an empty text
};

enum class BoardLimit { Bytes, Lines, LineBytes };

struct BoardCheck {
    BoardFigures figures;
    // The limits the text goes over, in the order Bytes, Lines, LineBytes.
    std::vector<BoardLimit> exceeded;

    bool fits() const { return exceeded.empty(); }
};

BoardFigures measureBoardFigures(std::string_view text);
BoardCheck checkBoardLimits(std::string_view text, const BoardProfile& profile);

// One line for people, in English for the command line ("2300 bytes (limit 2048), 10 lines,
// ..."), each figure followed by its limit when the profile sets one.
std::string describeBoardCheck(const BoardCheck& check, const BoardProfile& profile);

// The text cut at row boundaries into pages that each fit the profile, in order; joined again
// they are the text. A row that alone breaks a limit gets a page of its own (it cannot be cut
// without changing the art) and is listed in `oversizedRows` (numbers from 1).
struct PageSplit {
    std::vector<std::string> pages;
    std::vector<int> oversizedRows;
};
PageSplit splitIntoPages(std::string_view text, const BoardProfile& profile);

}  // namespace penmoji
