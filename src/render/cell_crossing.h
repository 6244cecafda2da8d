// SPDX-License-Identifier: MIT
#pragma once

#include "render/row_band.h"
#include "render/segment_geometry.h"

namespace penmoji {

// Whether a drawn segment crosses or touches the edges of a candidate cell, with the work
// shared the way the cells share their edges: the top and bottom edges lie on the same lines
// for every cell of a row, the left edge is the same for every cell at one cursor position, and
// only the right edge moves with the cell's width. Every cross product is formed from the same
// operands in the same order as segmentsIntersect forms it, so the answer is exactly the one
// meetsBoxEdges gives for the cell.
//
// Along an axis-parallel edge the first two cross products of the test have exactly the signs
// of the ends' offsets from the edge's line, which is what `straddles` looks at.

// The share of one row: the lines of the cells' top and bottom edges.
struct RowCrossing {
    RowCrossing(const DrawnSegment& segment, float top, float bottom);

    FloatPoint a0;
    FloatPoint a1;
    float dy;           // a1.y - a0.y
    float crossTop;     // (a1.x - a0.x) * (top - a0.y)
    float crossBottom;  // (a1.x - a0.x) * (bottom - a0.y)
    bool degenerate;
    bool straddlesTop;
    bool straddlesBottom;
};

// The share of one cursor position: the left edge.
class CellCrossing {
public:
    CellCrossing() = default;
    CellCrossing(const RowCrossing& row, float left);

    enum class Contact {
        none,
        // Meets the left, top or bottom edge, and so those of every wider cell too: the left
        // edge is shared, and along the top and bottom edges the last cross product moves
        // monotonically with the right end, so once its sign parts from the other's it stays
        // apart.
        lasting,
        // Meets the right edge only.
        rightEdgeOnly,
    };

    // How the segment meets the edges of the cell whose right edge is at `right`.
    Contact contactWith(float right) const {
        if (degenerate_) {
            return Contact::none;
        }
        if (meetsLeft_) {
            return Contact::lasting;
        }
        const float crossRight = dy_ * (right - x0_);
        const float topToRight = crossTop_ - crossRight;
        const float bottomToRight = crossBottom_ - crossRight;
        if ((straddlesTop_ && !sameStrictSide(topFromLeft_, topToRight)) ||
            (straddlesBottom_ && !sameStrictSide(bottomFromLeft_, bottomToRight))) {
            return Contact::lasting;
        }
        if (straddles(x0_ - right, x1_ - right) && !sameStrictSide(topToRight, bottomToRight)) {
            return Contact::rightEdgeOnly;
        }
        return Contact::none;
    }

    bool meetsCell(float right) const { return contactWith(right) != Contact::none; }

    static bool sameStrictSide(float a, float b) {
        return (a > 0.0f && b > 0.0f) || (a < 0.0f && b < 0.0f);
    }
    // Whether ends at signed offsets d0 and d1 from a line lie on both sides of it or touch it,
    // without lying along it.
    static bool straddles(float d0, float d1) {
        return !(d0 == 0.0f && d1 == 0.0f) && !sameStrictSide(d0, d1);
    }

private:
    float x0_ = 0.0f;
    float x1_ = 0.0f;
    float dy_ = 0.0f;
    float crossTop_ = 0.0f;
    float crossBottom_ = 0.0f;
    float topFromLeft_ = 0.0f;     // crossTop - (a1.y - a0.y) * (left - a0.x)
    float bottomFromLeft_ = 0.0f;  // crossBottom - (a1.y - a0.y) * (left - a0.x)
    bool degenerate_ = true;
    bool straddlesTop_ = false;
    bool straddlesBottom_ = false;
    bool meetsLeft_ = false;
};

}  // namespace penmoji
