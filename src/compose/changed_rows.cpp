// SPDX-License-Identifier: MIT
#include "compose/changed_rows.h"

#include <algorithm>
#include <span>

namespace penmoji {
namespace {

std::span<const Point> pointsOf(const VectorLine& line) {
    return std::span(line.points)
        .first(static_cast<std::size_t>(std::clamp(line.count, 0, kMaxPoints)));
}

// Floor division for a positive divisor, also below zero.
std::int64_t floorDiv(std::int64_t n, std::int64_t d) {
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

void markSegmentRows(Point a, Point b, std::vector<bool>& changed) {
    const std::int64_t low = std::min(a.y, b.y);
    const std::int64_t high = std::max(a.y, b.y);
    // Row n's top is 16 n + 1; it is within reach when top - kReachAboveRow <= high and
    // top + kReachBelowRow >= low.
    const std::int64_t first =
        std::max<std::int64_t>(0, -floorDiv(-(low - 1 - kReachBelowRow), 16));
    const std::int64_t last = std::min<std::int64_t>(floorDiv(high - 1 + kReachAboveRow, 16),
                                                     static_cast<std::int64_t>(changed.size()) - 1);
    for (std::int64_t n = first; n <= last; ++n) {
        changed[static_cast<std::size_t>(n)] = true;
    }
}

// Marks the rows of segments i to i + 1 for i from `from` to `to` (exclusive).
void markSegments(std::span<const Point> points, std::size_t from, std::size_t to,
                  std::vector<bool>& changed) {
    for (std::size_t i = from; i < to && i + 1 < points.size(); ++i) {
        markSegmentRows(points[i], points[i + 1], changed);
    }
}

}  // namespace

CanvasExtent canvasExtentOf(const VectorSet& vectors) {
    CanvasExtent extent;
    for (const VectorLine& line : vectors.lines) {
        for (const Point& p : pointsOf(line)) {
            extent.width = std::max(extent.width, std::int64_t{p.x} + 16);
            extent.height = std::max(extent.height, std::int64_t{p.y} + 16);
        }
    }
    return extent;
}

void markChangedRows(const VectorSet& before, const VectorSet& after, std::vector<bool>& changed) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::span<const Point> old = pointsOf(before.lines[slot]);
        const std::span<const Point> now = pointsOf(after.lines[slot]);
        const std::size_t shorter = std::min(old.size(), now.size());
        std::size_t prefix = 0;
        while (prefix < shorter && old[prefix] == now[prefix]) {
            ++prefix;
        }
        if (prefix == old.size() && prefix == now.size()) {
            continue;
        }
        std::size_t suffix = 0;
        while (suffix < shorter - prefix &&
               old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
            ++suffix;
        }
        // Segment i joins points i and i + 1: it is kept when both lie in the kept prefix, or
        // both in the kept suffix.
        const std::size_t from = prefix > 0 ? prefix - 1 : 0;
        markSegments(old, from, old.size() - suffix, changed);
        markSegments(now, from, now.size() - suffix, changed);
    }
}

}  // namespace penmoji
