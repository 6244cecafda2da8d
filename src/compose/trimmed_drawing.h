// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "document/placed_text.h"
#include "document/vector_set.h"
#include "render/match_settings.h"

namespace penmoji {

// "余白を詰める": the art without its empty top rows and left margin. It is the rendering of a
// translated copy of the drawing, moved up by whole rows and left by whole scan steps, so that
// every row and every scan position of the copy stands where one of the original stood and the
// art is what the same drawing drawn at the top left gives. The move keeps a margin of two glyph
// widths, which no glyph can reach across; empty rows left at the top are dropped afterwards.
//
// Placed text counts as part of the drawing: its pieces keep the margin too (a piece left of or
// above the canvas holds the move back, so it stays where it was), and trimmedPlacedText moves
// them with the drawing, so every placed character keeps its place in the art.
VectorSet trimmedDrawing(const VectorSet& vectors, const MatchSettings& settings,
                         const PlacedText& placed = {});
PlacedText trimmedPlacedText(const VectorSet& vectors, const MatchSettings& settings,
                             const PlacedText& placed);

// Drops the rows at the start of `text` that hold nothing but the leading full-width space, and
// says how many went.
int dropLeadingEmptyRows(std::string& text);
// Drops such rows at both ends, keeping the NUL that ends a rendering; one row is always left,
// so an empty drawing is one empty row. Says how many went from the start.
int dropEmptyRows(std::string& text);

// The drawing as it lies under its trimmed art: trimmedDrawing's copy moved up by the rows
// dropped from the start of its rendering, so a picture of the art with the drawing underneath
// keeps the two together.
VectorSet drawingUnderTrimmedArt(const VectorSet& vectors, const MatchSettings& settings,
                                 int droppedRows, const PlacedText& placed = {});

}  // namespace penmoji
