// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace penmoji {

// Text art read for placing: its rows of codes as placed pieces hold them, or where it could not
// be read and why.
struct TextArtReading {
    std::vector<std::vector<std::int32_t>> rows;
    // Empty when the text was read; otherwise the place (row and character, from 1) and reason.
    std::string error;
    int errorRow = 0;
    int errorColumn = 0;

    bool ok() const { return error.empty(); }
};

// Reads Shift_JIS text art as boards and text editors give it: rows ended by CR LF, LF or CR;
// "&nbsp;", "&ensp;" and "&thinsp;" as the blanks they stand for, and "&amp;", "&lt;", "&gt;" and
// "&quot;" as their characters. Blanks ending a row and empty rows before and after the art are
// dropped, and so is a blank that begins every row (the leading full-width space of a rendering,
// or a board's), as often as every row has one, so the art's left edge is its leftmost text.
// A byte that is no character of the 16-pixel font (a control, an incomplete or unassigned
// double-byte code) is an error at its place; so is text with no character at all.
TextArtReading readTextArt(std::string_view shiftJis);

// The width in pixels of an element of placed text: a character of the font, a space or an
// entity blank; 0 for a code that is none of them.
std::int32_t placedElementWidth(std::int32_t code);

}  // namespace penmoji
