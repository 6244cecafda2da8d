// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>

namespace penmoji {

// The program's own monochrome 32 x 32 cursors, white with a black outline.
// A small plus-shaped cross; its hot spot (6, 5) is the centre, where the point will go.
QCursor makeDrawCursor();
// A pin, point at the upper left and round head at the lower right; its hot spot (16, 15) is
// the point.
QCursor makeDragCursor();

}  // namespace penmoji
