// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/command_line.h"
#include "document/placed_text.h"

namespace penmoji::cli {

// The piece a --paste asks for, or why its file cannot be placed (naming the file).
struct PastedPiece {
    std::optional<PlacedPiece> piece;
    std::string error;
};

// Reads the text art of `request.file` (UTF-8, with or without a byte order mark, or Shift_JIS
// when it is not valid UTF-8) and places it at the request's pixel.
PastedPiece readPastedPiece(const PasteRequest& request);

// The text as Shift_JIS: UTF-8 converted (its Unicode blanks as entity blanks), other bytes
// taken as Shift_JIS already. Nothing, with the reason, when a character has no Shift_JIS code.
std::optional<std::string> textArtAsShiftJis(std::string_view bytes, std::string& error);

}  // namespace penmoji::cli
