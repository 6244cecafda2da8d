// SPDX-License-Identifier: MIT
#include "render/cell_crossing.h"

namespace penmoji {

RowCrossing::RowCrossing(const DrawnSegment& segment, float top, float bottom)
    : a0(segment.a0), a1(segment.a1), dy(a1.y - a0.y) {
    const float dx = a1.x - a0.x;
    crossTop = dx * (top - a0.y);
    crossBottom = dx * (bottom - a0.y);
    degenerate = a0 == a1;
    straddlesTop = CellCrossing::straddles(a0.y - top, a1.y - top);
    straddlesBottom = CellCrossing::straddles(a0.y - bottom, a1.y - bottom);
}

CellCrossing::CellCrossing(const RowCrossing& row, float left)
    : x0_(row.a0.x),
      x1_(row.a1.x),
      dy_(row.dy),
      crossTop_(row.crossTop),
      crossBottom_(row.crossBottom),
      degenerate_(row.degenerate),
      straddlesTop_(row.straddlesTop),
      straddlesBottom_(row.straddlesBottom) {
    const float crossLeft = dy_ * (left - x0_);
    topFromLeft_ = crossTop_ - crossLeft;
    bottomFromLeft_ = crossBottom_ - crossLeft;
    meetsLeft_ =
        straddles(x0_ - left, x1_ - left) && !sameStrictSide(topFromLeft_, bottomFromLeft_);
}

}  // namespace penmoji
