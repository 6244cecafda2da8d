// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "document/vector_set.h"
#include "render/glyph_box_list.h"

namespace penmoji {

// The zoom levels of the canvas: each canvas pixel is a square of this many screen pixels.
inline constexpr int kZoomLevels[] = {1, 2, 3, 4, 6, 8};
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 8;

// The next level up or down from `zoom`, staying at the ends.
int zoomedIn(int zoom);
int zoomedOut(int zoom);

// The canvas pixel under a position measured from the top left of the canvas's client area:
// the block it falls in, also left of and above the origin.
QPoint canvasPixelAt(QPoint client, int zoom);

// The canvas pixels whose blocks meet a rectangle of the client area.
QRect canvasPixelsCovering(const QRect& client, int zoom);

// The part of the plane the drawing and the last rendering's boxes take up, from the origin to
// their furthest point right and down, with room to add beyond it. Points left of or above the
// origin add nothing.
QSize drawingExtent(const VectorSet& vectors, const GlyphBoxList& boxes);

}  // namespace penmoji
