// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>

#include "document/vector_set.h"
#include "render/fixed_cells.h"
#include "render/glyph_box_list.h"
#include "render/render_pass.h"
#include "render/text_row.h"

namespace penmoji {

// The blank runs the writer can make: belowLimit[n] is set when a gap of n pixels
// (0 < n < kExactGapLimit) is written exactly; every wider gap is taken as exact. (The writer
// makes every width from 139 pixels up to a few thousand, which no canvas row needs to skip.)
struct ExactGaps {
    static constexpr std::int32_t kExactGapLimit = 256;
    std::bitset<kExactGapLimit> belowLimit;

    ExactGaps() { belowLimit.set(); }

    bool exact(std::int64_t width) const {
        return width >= kExactGapLimit ||
               (width > 0 && belowLimit.test(static_cast<std::size_t>(width)));
    }
};

// How the fine matcher counts the pixels a character shares with the drawing: the plain way
// runs on every processor, the others where it has their vector instructions. All three give
// the same rendering; `fastest` takes the fastest the processor runs.
enum class FineScan { fastest, plain, avx2, avx512 };

// Whether this processor runs `scan`.
bool fineScanRuns(FineScan scan);

// The fine mode of renderVectors, with the same contract: rows 16 pixels high from the top,
// every placed character's cell added to `boxes`, each finished row (gaps filled, blanks
// merged) handed to `sink`; false when `progress` asked to stop.
//
// Each row is chosen as a whole: a dynamic programme over the row's pixel positions picks the
// characters of the fine table (fine_glyph_bitmaps.h) and the gaps between them that together
// miss the fewest line pixels and set the least ink away from the lines, judged on the
// characters' real pixels. Gaps are only of widths in `gaps`, so every character lands on its
// pixel once the blanks are written. Line pixels within two rows of the row's edges count for
// the row too, as long as the row above has not covered them already. The threshold, scan step
// and priority scale steer the default matcher only.
//
// The cells of `fixed` (ordered by row, then by x) are fixed items of their rows' programmes:
// nothing is placed over them, the gaps before them are exact wherever some composition allows,
// and the line pixels under their ink count as covered, for the row below too. The fixed
// characters themselves are not put into the rows.
//
// A `scan` the processor does not run is taken as `fastest`.
bool renderVectorsFine(TextRow& row, const VectorSet& vectors, const ExactGaps& gaps,
                       GlyphBoxList& boxes, ProgressReceiver& progress, RowSink& sink,
                       std::span<const FixedCell> fixed = {}, FineScan scan = FineScan::fastest);

// A character the fine mode placed: its pen position, Shift_JIS code and width. A row keeps the
// first 800 cells only, but every character placed covers line pixels the row below sees.
struct FinePlacement {
    std::int64_t x = 0;
    std::int32_t code = 0;
    std::int32_t width = 0;

    friend bool operator==(const FinePlacement&, const FinePlacement&) = default;
};

// Where renderFineRows takes up a rendering, with what the rows above that row left behind that
// a row can see: the characters the row just above placed, and how many boxes all of them did.
struct FineRowsStart {
    std::int64_t row = 0;  // row n has its top at 16 n + 1
    std::span<const FinePlacement> placedAbove;
    std::size_t boxesAbove = 0;
};

// Receives each row renderFineRows makes, with every character placed in it and the row's own
// boxes; returns whether to go on with the next row.
class FineRowSink {
public:
    virtual ~FineRowSink() = default;
    virtual bool takeFineRow(std::int64_t index, const TextRow& row,
                             std::span<const FinePlacement> placed, const GlyphBoxList& boxes) = 0;
};

// Renders the rows from `start.row` down, each exactly as renderVectorsFine renders it within
// the whole drawing, until `sink` declines the next or the canvas ends. `boxes` is emptied
// before every row. False when `progress` asked to stop. `fixed` and `scan` as for
// renderVectorsFine; `placed` and the boxes leave the fixed cells out.
bool renderFineRows(TextRow& row, const VectorSet& vectors, const ExactGaps& gaps,
                    const FineRowsStart& start, GlyphBoxList& boxes, ProgressReceiver& progress,
                    FineRowSink& sink, std::span<const FixedCell> fixed = {},
                    FineScan scan = FineScan::fastest);

}  // namespace penmoji
