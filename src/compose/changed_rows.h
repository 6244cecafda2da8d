// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "document/vector_set.h"

namespace penmoji {

// The canvas a rendering walks: 16 pixels beyond the furthest point, at least one row and cell.
struct CanvasExtent {
    std::int64_t width = 16;
    std::int64_t height = 16;

    // The rows of text, row n having its top at 16 n + 1.
    std::int64_t rowCount() const { return (height + 14) / 16; }

    friend bool operator==(const CanvasExtent&, const CanvasExtent&) = default;
};

CanvasExtent canvasExtentOf(const VectorSet& vectors);

// How far above and below a row a segment can still change it: the matcher's band takes in
// segments two pixels beyond the row's top and bottom edges, and the fine mode's band sees two
// rows of pixels either side.
inline constexpr std::int64_t kReachAboveRow = 2;
inline constexpr std::int64_t kReachBelowRow = 16 + 2;

// Sets changed[n] for every row n within reach of a segment that only one of the two drawings
// holds. Slots are compared one by one: the points a slot keeps at its start and at its end are
// the same segments in the same order, so only the segments between them count. A row no such
// segment reaches sees the same segments in the same order in both drawings, on a canvas of the
// same width, and so renders alike. Rows beyond `changed` are ignored.
void markChangedRows(const VectorSet& before, const VectorSet& after, std::vector<bool>& changed);

}  // namespace penmoji
