// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

#include "document/vector_set.h"
#include "render/fixed_cells.h"
#include "render/glyph_box_list.h"
#include "render/match_settings.h"
#include "render/progress_receiver.h"
#include "render/text_row.h"

namespace penmoji {

// Receives every finished row (gaps filled, blanks merged), top to bottom.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void takeRow(const TextRow& row) = 0;
};

// Walks the drawing in rows 16 pixels high and places into `row`, at every cursor position,
// the glyph whose strokes best follow the drawn segments crossing its cell; empty stretches are
// skipped by the gap filler. Every placed glyph's cell is added to `boxes` (emptied first).
// The row is reused for every row of the canvas and handed to `sink` when complete.
//
// `progress` hears of every cursor position before it is matched, and of the gap filler's way
// between two positions far apart, and is asked there whether to stop; returns false when it
// asked, and the rows handed over so far are then incomplete. The rest of a row is not walked
// once the row and the box list are both full: nothing placed there could change either.
//
// The cells of `fixed` (ordered by row, then by x) are kept free: at each position only glyphs
// that end before the next fixed cell of the row are tried, and a position inside a fixed cell
// moves on to its end. The fixed characters themselves are not put into the rows.
bool renderVectors(TextRow& row, const VectorSet& vectors, const MatchSettings& settings,
                   GlyphBoxList& boxes, ProgressReceiver& progress, RowSink& sink,
                   std::span<const FixedCell> fixed = {});

// Renders only the rows numbered in `rows` (ascending; row n has its top at 16 n + 1), each
// exactly as renderVectors renders it on the whole drawing's canvas: a row sees nothing but the
// segments within its reach. `boxes` is emptied before every row, so that it holds the row's own
// boxes when the row reaches `sink`; a row is walked until it and its own boxes are full. Rows
// beyond the canvas are skipped. False when `progress` asked to stop.
bool renderVectorRows(TextRow& row, const VectorSet& vectors, const MatchSettings& settings,
                      std::span<const std::int64_t> rows, GlyphBoxList& boxes,
                      ProgressReceiver& progress, RowSink& sink,
                      std::span<const FixedCell> fixed = {});

}  // namespace penmoji
