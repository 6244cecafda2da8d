// SPDX-License-Identifier: MIT
#pragma once
// The placed text of a drawing NAME.pmj is kept beside it in NAME.pmj.placed, so that the drawing
// file stays exactly what every reader of drawings expects. Integers as in the drawing file
// (signed 32-bit, least significant byte first):
//
//   file  := "PMJT" version:int32(1) count:int32 piece * count
//   piece := x:int32 y:int32 rows:int32 row * rows
//   row   := length:int32 code:int32 * length
//
// A file is refused, and nothing read, when the magic or version differ, when it ends early or
// goes on after the last piece, or when a count, a coordinate or a code lies outside its bound.

#include <cstdint>
#include <filesystem>

#include "document/file_status.h"
#include "document/placed_text.h"

namespace penmoji {

inline constexpr std::int32_t kMostPlacedPieces = 10'000;
inline constexpr std::int32_t kMostPlacedRows = 2'000;
// As many as a row of the rendering holds.
inline constexpr std::int32_t kMostPlacedCodesPerRow = 800;

// NAME.pmj.placed beside the drawing NAME.pmj.
std::filesystem::path placedTextPath(const std::filesystem::path& drawingPath);

// Reads the placed text kept beside `drawingPath` into `text`: empty, and success, when there is
// no such file; on failure `text` is unchanged.
FileStatus loadPlacedText(const std::filesystem::path& drawingPath, PlacedText& text);

// Writes `text` beside `drawingPath` as one whole file, or removes a file left from before when
// `text` is empty, so that old pieces do not come back with the drawing.
FileStatus savePlacedText(const std::filesystem::path& drawingPath, const PlacedText& text);

}  // namespace penmoji
