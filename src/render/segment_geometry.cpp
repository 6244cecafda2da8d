// SPDX-License-Identifier: MIT
#include "render/segment_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace penmoji {
namespace {

float cross(FloatPoint u, FloatPoint v) {
    return u.x * v.y - u.y * v.x;
}

FloatPoint minus(FloatPoint a, FloatPoint b) {
    return {a.x - b.x, a.y - b.y};
}

bool sameStrictSide(float a, float b) {
    return (a > 0.0f && b > 0.0f) || (a < 0.0f && b < 0.0f);
}

// A point on the border of a box `width` by `height` (pixels or table units alike).
bool onBorder(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    return x == 0 || x == width || y == 0 || y == height;
}

// Puts the end with the smaller x first along a flat segment, the one with the smaller y first
// along a steep or diagonal one, so corresponding ends can be compared.
CostEnds oriented(CostEnds s) {
    const bool flat = std::abs(s.x1 - s.x0) > std::abs(s.y1 - s.y0);
    if ((flat && s.x0 > s.x1) || (!flat && s.y0 > s.y1)) {
        return {s.x1, s.y1, s.x0, s.y0, s.through};
    }
    return s;
}

double distance(std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) {
    const double dx = ax - bx;
    const double dy = ay - by;
    return std::sqrt(dx * dx + dy * dy);
}

// n / d truncated toward zero. Below 2^53 a double quotient cannot round up to the next integer
// (that would take |n| >= 2^53), so truncating it gives the integer quotient exactly, and a
// double division is several times faster than a 64-bit integer one.
std::int64_t quotient(std::int64_t n, std::int64_t d) {
    constexpr std::int64_t kExactBelow = std::int64_t{1} << 53;
    if (n > -kExactBelow && n < kExactBelow) {
        return static_cast<std::int64_t>(static_cast<double>(n) / static_cast<double>(d));
    }
    return n / d;
}

Direction unitVector(double dx, double dy) {
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0.0) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan};
    }
    return {dx / length, dy / length};
}

}  // namespace

bool segmentsIntersect(FloatPoint a0, FloatPoint a1, FloatPoint b0, FloatPoint b1) {
    if (a0 == a1 || b0 == b1) {
        return false;
    }
    const FloatPoint b = minus(b1, b0);
    const float s1 = cross(b, minus(a0, b0));
    const float s2 = cross(b, minus(a1, b0));
    if ((s1 == 0.0f && s2 == 0.0f) || sameStrictSide(s1, s2)) {
        return false;
    }
    const FloatPoint a = minus(a1, a0);
    const float t1 = cross(a, minus(b0, a0));
    const float t2 = cross(a, minus(b1, a0));
    return !sameStrictSide(t1, t2);
}

bool meetsBoxEdges(FloatPoint a0, FloatPoint a1, float left, float top, float right, float bottom) {
    const FloatPoint topLeft{left, top};
    const FloatPoint topRight{right, top};
    const FloatPoint bottomLeft{left, bottom};
    const FloatPoint bottomRight{right, bottom};
    return segmentsIntersect(a0, a1, topLeft, topRight) ||
           segmentsIntersect(a0, a1, bottomLeft, bottomRight) ||
           segmentsIntersect(a0, a1, topLeft, bottomLeft) ||
           segmentsIntersect(a0, a1, topRight, bottomRight);
}

std::optional<ClippedSegment> clipToCell(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                         std::int32_t y1, std::int32_t left, std::int32_t top,
                                         std::int32_t width) {
    return clipToRest(clipToLeft(x0, y0, x1, y1, left), left, top, width);
}

// 64-bit throughout: a product of two coordinate differences passes 32 bits on a large drawing.
LeftClipped clipToLeft(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                       std::int32_t left) {
    LeftClipped s{x0, y0, x1, y1, false};
    if (s.x0 > s.x1) {
        std::swap(s.x0, s.x1);
        std::swap(s.y0, s.y1);
    }
    if (s.x1 < left) {
        s.missed = true;
        return s;
    }
    if (s.x0 < left) {
        s.y0 += quotient((s.y1 - s.y0) * (left - s.x0), s.x1 - s.x0);
        s.x0 = left;
    }
    return s;
}

std::optional<ClippedSegment> clipToRest(const LeftClipped& s, std::int32_t left, std::int32_t top,
                                         std::int32_t width) {
    const std::int64_t right = std::int64_t{left} + width;
    const std::int64_t bottom = std::int64_t{top} + 16;
    if (s.missed || s.x0 > right) {
        return std::nullopt;
    }
    std::int64_t ax = s.x0, ay = s.y0, bx = s.x1, by = s.y1;
    if (bx > right) {
        by = ay + quotient((by - ay) * (right - ax), bx - ax);
        bx = right;
    }
    if (ay > by) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    if (by < top || ay > bottom) {
        return std::nullopt;
    }
    if (ay < top) {
        ax += quotient((bx - ax) * (top - ay), by - ay);
        ay = top;
    }
    if (by > bottom) {
        bx = ax + quotient((bx - ax) * (bottom - ay), by - ay);
        by = bottom;
    }
    return ClippedSegment{static_cast<std::int32_t>(ax - left), static_cast<std::int32_t>(ay - top),
                          static_cast<std::int32_t>(bx - left),
                          static_cast<std::int32_t>(by - top)};
}

bool clipKeepsSegment(const LeftClipped& s, std::int32_t left, std::int32_t top,
                      std::int32_t width) {
    const std::int64_t right = std::int64_t{left} + width;
    const std::int64_t bottom = std::int64_t{top} + 16;
    if (s.missed || s.x0 > right) {
        return false;
    }
    if (s.x1 <= right) {
        return std::max(s.y0, s.y1) >= top && std::min(s.y0, s.y1) <= bottom;
    }
    // The segment is cut at the right edge, where its y is y0 + trunc(n / d). With y0 above the
    // cell it is kept when that cut comes down to the top; since the step k to the top is at
    // least 1, trunc(n / d) >= k exactly when n >= k * d. Below the cell, likewise upwards.
    const std::int64_t n = (s.y1 - s.y0) * (right - s.x0);
    const std::int64_t d = s.x1 - s.x0;
    if (s.y0 < top) {
        return n >= (top - s.y0) * d;
    }
    if (s.y0 > bottom) {
        return n <= (bottom - s.y0) * d;
    }
    return true;
}

float innerProduct(const ClippedSegment& c, const GlyphSegment& g) {
    return cosineOf(directionOf(c), directionOf(g));
}

std::int32_t segmentCost(const ClippedSegment& c, const GlyphSegment& g, std::int32_t glyphWidth) {
    return costBetween(costEndsOf(c, glyphWidth / 16), costEndsOf(g, glyphWidth));
}

Direction directionOf(const ClippedSegment& c) {
    return unitVector(c.x1 - c.x0, c.y1 - c.y0);
}

Direction directionOf(const GlyphSegment& g) {
    return unitVector(g.x1 - g.x0, g.y1 - g.y0);
}

float cosineOf(Direction a, Direction b) {
    return static_cast<float>(std::abs(a.x * b.x + a.y * b.y));
}

CostEnds costEndsOf(const ClippedSegment& c, std::int32_t cellWidth) {
    const bool through = onBorder(c.x0, c.y0, cellWidth, 16) && onBorder(c.x1, c.y1, cellWidth, 16);
    return oriented({c.x0, c.y0, c.x1, c.y1, through});
}

CostEnds costEndsOf(const GlyphSegment& g, std::int32_t glyphWidth) {
    const bool through = onBorder(g.x0, g.y0, glyphWidth, kGlyphBoxHeight) &&
                         onBorder(g.x1, g.y1, glyphWidth, kGlyphBoxHeight);
    return oriented({g.x0 / 16, g.y0 / 16, g.x1 / 16, g.y1 / 16, through});
}

std::int32_t costBetween(const CostEnds& c, const CostEnds& g) {
    const float factor = c.through != g.through ? 1.414f : 1.0f;
    const double sum = distance(c.x0, c.y0, g.x0, g.y0) + distance(c.x1, c.y1, g.x1, g.y1);
    return static_cast<std::int32_t>(sum * static_cast<double>(factor));
}

}  // namespace penmoji
