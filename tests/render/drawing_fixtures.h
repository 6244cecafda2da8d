// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <random>
#include <span>
#include <vector>

#include "document/vector_set.h"

namespace penmoji::fixtures {

using Polyline = std::vector<Point>;

// A drawing of the given polylines in slots 0, 1, ...
inline std::unique_ptr<VectorSet> drawing(std::span<const Polyline> lines) {
    auto vectors = std::make_unique<VectorSet>();
    int slot = 0;
    for (const Polyline& line : lines) {
        VectorLine& target = vectors->lines[slot++];
        target.count = static_cast<std::int32_t>(line.size());
        std::copy(line.begin(), line.end(), target.points.begin());
    }
    return vectors;
}
inline std::unique_ptr<VectorSet> drawing(std::initializer_list<Polyline> lines) {
    return drawing(std::span(lines.begin(), lines.size()));
}

// Random polylines: `lines` slots (spread over the 200 with gaps), up to `maxPoints` points
// each, coordinates in the given box.
inline std::unique_ptr<VectorSet> randomDrawing(std::mt19937& random, int lines, int maxPoints,
                                                Point low, Point high) {
    auto vectors = std::make_unique<VectorSet>();
    std::uniform_int_distribution<int> slotOf(0, kSlotCount - 1);
    std::uniform_int_distribution<int> countOf(1, maxPoints);
    std::uniform_int_distribution<std::int32_t> xOf(low.x, high.x);
    std::uniform_int_distribution<std::int32_t> yOf(low.y, high.y);
    for (int i = 0; i < lines; ++i) {
        VectorLine& line = vectors->lines[slotOf(random)];
        line.count = countOf(random);
        for (int p = 0; p < line.count; ++p) {
            line.points[p] = {xOf(random), yOf(random)};
        }
    }
    return vectors;
}

// Random walks: each polyline starts anywhere in the box and moves by at most `stride` pixels
// per point, staying inside.
inline std::unique_ptr<VectorSet> randomWalks(std::mt19937& random, int lines, int points,
                                              std::int32_t stride, Point high) {
    auto vectors = std::make_unique<VectorSet>();
    std::uniform_int_distribution<std::int32_t> xOf(0, high.x);
    std::uniform_int_distribution<std::int32_t> yOf(0, high.y);
    std::uniform_int_distribution<std::int32_t> stepOf(-stride, stride);
    for (int i = 0; i < lines; ++i) {
        VectorLine& line = vectors->lines[i];
        line.count = points;
        Point p{xOf(random), yOf(random)};
        for (int k = 0; k < points; ++k) {
            line.points[k] = p;
            p.x = std::clamp(p.x + stepOf(random), 0, high.x);
            p.y = std::clamp(p.y + stepOf(random), 0, high.y);
        }
    }
    return vectors;
}

// Every slot full of points anywhere in the box: long strokes criss-crossing every cell, the
// heaviest load a drawing of the largest size can bring.
inline std::unique_ptr<VectorSet> scatteredPoints(std::mt19937& random, Point high) {
    std::uniform_int_distribution<std::int32_t> xOf(0, high.x);
    std::uniform_int_distribution<std::int32_t> yOf(0, high.y);
    auto vectors = std::make_unique<VectorSet>();
    for (VectorLine& line : vectors->lines) {
        line.count = kMaxPoints;
        for (Point& p : line.points) {
            p = {xOf(random), yOf(random)};
        }
    }
    return vectors;
}

// The degenerate drawings a file can hold, small.

// `points` points going back and forth between a and b: coincident segments in both directions.
inline Polyline backAndForth(Point a, Point b, int points) {
    Polyline line;
    for (int i = 0; i < points; ++i) {
        line.push_back(i % 2 == 0 ? a : b);
    }
    return line;
}

// Strokes from x = 0 to `width` on row tops (y = 16k + 1), `rowsPerStep` rows apart, each joined
// to the next by a diagonal from its right end to the next one's left end.
inline Polyline staircase(int steps, std::int32_t width, int rowsPerStep) {
    Polyline line;
    for (int k = 0; k < steps; ++k) {
        const std::int32_t y = 16 * rowsPerStep * k + 1;
        line.push_back({0, y});
        line.push_back({width, y});
    }
    return line;
}

// `points` points alternately at x = 0 and x = `width`, at random heights from 0 to `height`:
// every segment crosses the whole width.
inline Polyline zigzag(std::mt19937& random, int points, std::int32_t width, std::int32_t height) {
    std::uniform_int_distribution<std::int32_t> yOf(0, height);
    Polyline line;
    for (int i = 0; i < points; ++i) {
        line.push_back({i % 2 == 0 ? 0 : width, yOf(random)});
    }
    return line;
}

// `points` points alternately at (k / 2, -1) and (width - k / 2, 0) for k = 0, 1, ..., in
// vectors of kMaxPoints - 1 points: distinct segments along the top of the first row, each a
// pixel further in, none touching it.
inline std::vector<Polyline> rowHugging(std::int32_t points, std::int32_t width) {
    std::vector<Polyline> lines;
    for (std::int32_t k = 0; k < points; ++k) {
        if (k % (kMaxPoints - 1) == 0) {
            lines.emplace_back();
        }
        lines.back().push_back(k % 2 == 0 ? Point{k / 2, -1} : Point{width - k / 2, 0});
    }
    return lines;
}

}  // namespace penmoji::fixtures
