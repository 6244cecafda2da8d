// SPDX-License-Identifier: MIT
#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QTransform>

#include <vector>

namespace penmoji {

// A subpath flattened into points where it lands, with the points the shape itself names
// (a move, the ends of a straight segment) told apart from those that only follow a curve.
struct FlatOutline {
    std::vector<QPointF> points;
    std::vector<bool> named;  // one per point
};

// Each subpath of the path, mapped by the transform and flattened within half a pixel.
std::vector<FlatOutline> flattenOutlines(const QPainterPath& path, const QTransform& transform);

// The outline with the points that follow a curve thinned (Douglas-Peucker) as long as the line
// stays within `tolerance` of every point left out; every named point is kept, so straight
// lines come through exactly as they were drawn.
std::vector<QPointF> simplifyCurves(const FlatOutline& outline, double tolerance);

}  // namespace penmoji
