// SPDX-License-Identifier: MIT
#include "interchange/svg_outline.h"

#include <QPolygonF>

#include <cmath>
#include <utility>

namespace penmoji {
namespace {

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    if (length2 <= 0) {
        return std::hypot(p.x() - a.x(), p.y() - a.y());
    }
    const double t = std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    const QPointF nearest = a + t * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// Marks the points between `first` and `last` (both kept) that the simplified line needs.
void keepFarthest(const std::vector<QPointF>& points, std::size_t first, std::size_t last,
                  double tolerance, std::vector<bool>& keep) {
    // An explicit stack: a long run of curve points must not exhaust the call stack.
    std::vector<std::pair<std::size_t, std::size_t>> spans{{first, last}};
    while (!spans.empty()) {
        const auto [from, to] = spans.back();
        spans.pop_back();
        double farthest = 0;
        std::size_t at = from;
        for (std::size_t i = from + 1; i < to; ++i) {
            const double distance = distanceToSegment(points[i], points[from], points[to]);
            if (distance > farthest) {
                farthest = distance;
                at = i;
            }
        }
        if (farthest > tolerance) {
            keep[at] = true;
            spans.emplace_back(from, at);
            spans.emplace_back(at, to);
        }
    }
}

}  // namespace

std::vector<FlatOutline> flattenOutlines(const QPainterPath& path, const QTransform& transform) {
    std::vector<FlatOutline> outlines;
    QPointF current;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPointF point(element.x, element.y);
        if (element.isMoveTo() || outlines.empty()) {
            outlines.emplace_back();
            outlines.back().points.push_back(transform.map(point));
            outlines.back().named.push_back(true);
        } else if (element.isLineTo()) {
            outlines.back().points.push_back(transform.map(point));
            outlines.back().named.push_back(true);
            // The start of a straight segment is a point of the shape too.
            outlines.back().named[outlines.back().named.size() - 2] = true;
        } else if (element.isCurveTo() && i + 2 < path.elementCount()) {
            QPainterPath curve(current);
            curve.cubicTo(point, path.elementAt(i + 1), path.elementAt(i + 2));
            const QList<QPolygonF> flat = curve.toSubpathPolygons(transform);
            if (!flat.isEmpty()) {
                for (qsizetype k = 1; k < flat.front().size(); ++k) {
                    outlines.back().points.push_back(flat.front()[k]);
                    outlines.back().named.push_back(false);
                }
            }
            i += 2;
            current = path.elementAt(i);
            continue;
        }
        current = point;
    }
    return outlines;
}

std::vector<QPointF> simplifyCurves(const FlatOutline& outline, double tolerance) {
    const std::vector<QPointF>& points = outline.points;
    if (points.size() <= 2) {
        return points;
    }
    std::vector<bool> keep = outline.named;
    keep.front() = true;
    keep.back() = true;
    std::size_t from = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (keep[i]) {
            keepFarthest(points, from, i, tolerance, keep);
            from = i;
        }
    }
    std::vector<QPointF> kept;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (keep[i]) {
            kept.push_back(points[i]);
        }
    }
    return kept;
}

}  // namespace penmoji
