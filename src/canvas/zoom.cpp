// SPDX-License-Identifier: MIT
#include "canvas/zoom.h"

#include <algorithm>

namespace penmoji {
namespace {

// Room right of and below the drawing, so that its last points can be reached and moved on.
constexpr int kMargin = 64;

int floorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

int zoomedIn(int zoom) {
    for (int level : kZoomLevels) {
        if (level > zoom) {
            return level;
        }
    }
    return kMaxZoom;
}

int zoomedOut(int zoom) {
    int lower = kMinZoom;
    for (int level : kZoomLevels) {
        if (level < zoom) {
            lower = level;
        }
    }
    return lower;
}

QPoint canvasPixelAt(QPoint client, int zoom) {
    return {floorDiv(client.x(), zoom), floorDiv(client.y(), zoom)};
}

QRect canvasPixelsCovering(const QRect& client, int zoom) {
    const QPoint first = canvasPixelAt(client.topLeft(), zoom);
    const QPoint last = canvasPixelAt(client.bottomRight(), zoom);
    return QRect(first, last);
}

QSize drawingExtent(const VectorSet& vectors, const GlyphBoxList& boxes) {
    int right = 0;
    int bottom = 0;
    auto cover = [&](Point p) {
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    };
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i < line.count; ++i) {
            cover(line.points[i]);
        }
    }
    for (const GlyphBoxList::Outline& box : boxes.outlines()) {
        for (Point p : box) {
            cover(p);
        }
    }
    // Coordinates reach some two billion; the widget cannot, so neither does the extent.
    constexpr int kLargest = 1 << 16;
    return {std::min(right, kLargest) + kMargin, std::min(bottom, kLargest) + kMargin};
}

}  // namespace penmoji
