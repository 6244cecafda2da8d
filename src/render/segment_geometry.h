// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "render/glyph_table.h"

namespace penmoji {

struct FloatPoint {
    float x = 0.0f;
    float y = 0.0f;

    friend bool operator==(const FloatPoint&, const FloatPoint&) = default;
};

// Whether segment a0→a1 crosses or touches segment b0→b1, in single precision. A segment of
// zero length meets nothing, and collinear segments never count, even when they overlap.
bool segmentsIntersect(FloatPoint a0, FloatPoint a1, FloatPoint b0, FloatPoint b1);

// Whether segment a0→a1 crosses or touches one of the four edges of the box from (left, top)
// to (right, bottom). A segment wholly inside the box meets no edge.
bool meetsBoxEdges(FloatPoint a0, FloatPoint a1, float left, float top, float right, float bottom);

// A drawn segment clipped to a candidate cell, in pixels relative to the cell's top-left corner.
struct ClippedSegment {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;

    friend bool operator==(const ClippedSegment&, const ClippedSegment&) = default;
};

// Clips the drawn segment (x0, y0)→(x1, y1) to the cell from `left` to `left + width` and from
// `top` to `top + 16`, bounds included, with truncating integer arithmetic: first to the
// cell's columns, then to its rows. Nothing when the segment misses the cell.
std::optional<ClippedSegment> clipToCell(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                         std::int32_t y1, std::int32_t left, std::int32_t top,
                                         std::int32_t width);

// The clipping above in two halves, so that cells of several widths at one cursor position
// share the first: the segment ordered by x and clipped to the cells' common left edge.
struct LeftClipped {
    std::int64_t x0 = 0;
    std::int64_t y0 = 0;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;
    bool missed = false;  // lies wholly left of the cells
};
LeftClipped clipToLeft(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                       std::int32_t left);
// The second half: the cell's right edge, then its rows.
std::optional<ClippedSegment> clipToRest(const LeftClipped& s, std::int32_t left, std::int32_t top,
                                         std::int32_t width);

// Whether clipToRest keeps the segment, decided without dividing.
bool clipKeepsSegment(const LeftClipped& s, std::int32_t left, std::int32_t top,
                      std::int32_t width);

// |cos| of the angle between the two directions, whichever way either runs. A clipped segment
// of zero length has no direction: the result is NaN, which no threshold accepts.
float innerProduct(const ClippedSegment& c, const GlyphSegment& g);

// How far apart the two segments lie: the distances between their corresponding ends in
// pixels, summed, weighted by 1.414 when one runs through its box from border to border and
// the other does not, truncated to an integer. `glyphWidth` is in 1/16 pixel.
std::int32_t segmentCost(const ClippedSegment& c, const GlyphSegment& g, std::int32_t glyphWidth);

// The two measures above in two halves, so that the matcher can prepare each side once.

// A unit vector; NaN for a segment of zero length.
struct Direction {
    double x = 0.0;
    double y = 0.0;
};
Direction directionOf(const ClippedSegment& c);
Direction directionOf(const GlyphSegment& g);
// |a . b| in single precision.
float cosineOf(Direction a, Direction b);

// A segment's ends in pixels, ordered for comparison (the smaller x first along a flat segment,
// the smaller y first along a steep or diagonal one), and whether both lie on its box's border.
struct CostEnds {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    bool through = false;
};
CostEnds costEndsOf(const ClippedSegment& c, std::int32_t cellWidth);
CostEnds costEndsOf(const GlyphSegment& g, std::int32_t glyphWidth);
std::int32_t costBetween(const CostEnds& c, const CostEnds& g);

}  // namespace penmoji
