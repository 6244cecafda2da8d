// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "document/placed_text.h"

class QMimeData;

namespace penmoji {

// Text art given to the editor, read into the rows of a piece; or, when it cannot be placed, a
// message for the user that names the row and character.
struct ArtInput {
    std::vector<std::vector<std::int32_t>> rows;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Shift_JIS text art, as a board or a text editor gives it (entities, leading spaces).
ArtInput readArtBytes(std::string_view shiftJis);
// Unicode text art: the blanks U+00A0, U+2002 and U+2009 stand for the entity blanks; a
// character Shift_JIS has no code for is refused at its place.
ArtInput readArtText(const QString& text);
// The clipboard's text: its Shift_JIS bytes when it offers them, its Unicode text otherwise.
ArtInput readClipboardArt(const QMimeData& data);

// The code a typed character is placed as: a character of the 16-pixel font, a space, or one of
// the Unicode blanks; nothing for any other.
std::optional<std::int32_t> placedCodeOf(char32_t character);

// The piece's text as Shift_JIS, rows ended by CR LF, the blanks without a code as entities:
// what pasting it back gives the same piece.
std::string pieceShiftJis(const PlacedPiece& piece);
// Blank elements (full-width and half-width spaces, "&ensp;", "&thinsp;") that make `width`
// pixels, the fewest that do; where none make it exactly, the widest they make below it. A
// character deleted by hand leaves them, so it keeps its room.
std::vector<std::int32_t> blanksOfWidth(std::int32_t width);

// The characters of one code as the screen shows them; empty for an entity blank.
QString characterOfCode(std::int32_t code);

}  // namespace penmoji
