// SPDX-License-Identifier: MIT
#include "reference_render_pass.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "compose/random_generator.h"
#include "compose/row_emission.h"
#include "render/glyph_table.h"
#include "render/render_pass.h"

namespace penmoji::reference {
namespace {

struct Segment {
    Point a;
    Point b;
};

// A segment clipped to a cell, relative to the cell's top-left corner, in pixels.
struct Clipped {
    std::int64_t x0;
    std::int64_t y0;
    std::int64_t x1;
    std::int64_t y1;
};

// Every drawn segment in slot order, then point order (zero-length ones included).
std::vector<Segment> drawnSegments(const VectorSet& vectors) {
    std::vector<Segment> segments;
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i + 1 < line.count; ++i) {
            segments.push_back({line.points[i], line.points[i + 1]});
        }
    }
    return segments;
}

// The primitives below are written out here on purpose instead of calling the renderer's own:
// a fault in one of those would otherwise show up on both sides of the comparison.

struct Vec {
    float x;
    float y;
};

float cross(Vec u, Vec v) {
    return u.x * v.y - u.y * v.x;
}

Vec from(Vec p, Vec q) {
    return {q.x - p.x, q.y - p.y};
}

// Crossing or touching counts; a segment of zero length meets nothing and collinear segments
// never meet, all in single precision.
bool intersects(Vec a0, Vec a1, Vec b0, Vec b1) {
    if ((a0.x == a1.x && a0.y == a1.y) || (b0.x == b1.x && b0.y == b1.y)) {
        return false;
    }
    const float s1 = cross(from(b0, b1), from(b0, a0));
    const float s2 = cross(from(b0, b1), from(b0, a1));
    if (s1 == 0.0f && s2 == 0.0f) {
        return false;
    }
    if ((s1 < 0.0f && s2 < 0.0f) || (s1 > 0.0f && s2 > 0.0f)) {
        return false;
    }
    const float t1 = cross(from(a0, a1), from(a0, b0));
    const float t2 = cross(from(a0, a1), from(a0, b1));
    return !((t1 > 0.0f && t2 > 0.0f) || (t1 < 0.0f && t2 < 0.0f));
}

Vec toVec(Point p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

// Top, bottom, left, right, in that order.
bool meetsAnyEdge(const Segment& s, float left, float top, float right, float bottom) {
    const Vec a0 = toVec(s.a);
    const Vec a1 = toVec(s.b);
    return intersects(a0, a1, {left, top}, {right, top}) ||
           intersects(a0, a1, {left, bottom}, {right, bottom}) ||
           intersects(a0, a1, {left, top}, {left, bottom}) ||
           intersects(a0, a1, {right, top}, {right, bottom});
}

// |cos| of the angle between the two directions, from the unit vectors, rounded to single
// precision; nothing for a clipped segment of zero length, which has no direction.
std::optional<float> cosine(const Clipped& c, const GlyphSegment& g) {
    const double cx = static_cast<double>(c.x1 - c.x0);
    const double cy = static_cast<double>(c.y1 - c.y0);
    const double gx = g.x1 - g.x0;
    const double gy = g.y1 - g.y0;
    const double clippedLength = std::sqrt(cx * cx + cy * cy);
    const double glyphLength = std::sqrt(gx * gx + gy * gy);
    if (clippedLength == 0.0 || glyphLength == 0.0) {
        return std::nullopt;
    }
    const double dot =
        (cx / clippedLength) * (gx / glyphLength) + (cy / clippedLength) * (gy / glyphLength);
    return static_cast<float>(std::abs(dot));
}

struct Ends {
    std::int64_t x0;
    std::int64_t y0;
    std::int64_t x1;
    std::int64_t y1;
};

// Flat segments (wider than tall) start at their left end, all others at their upper end.
Ends orientedEnds(Ends e) {
    const bool flat = std::abs(e.x1 - e.x0) > std::abs(e.y1 - e.y0);
    const bool reversed = flat ? e.x0 > e.x1 : e.y0 > e.y1;
    return reversed ? Ends{e.x1, e.y1, e.x0, e.y0} : e;
}

double distanceBetween(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
    const auto dx = static_cast<double>(ax - bx);
    const auto dy = static_cast<double>(ay - by);
    return std::sqrt(dx * dx + dy * dy);
}

// How far the clipped segment lies from the glyph's stroke, in whole pixels.
std::int32_t pairingCost(const Clipped& c, const GlyphSegment& g, std::int32_t glyphWidth) {
    const std::int64_t cellWidth = glyphWidth / 16;
    const auto onCellBorder = [&](std::int64_t x, std::int64_t y) {
        return x == 0 || x == cellWidth || y == 0 || y == 16;
    };
    const auto onGlyphBorder = [&](std::int32_t x, std::int32_t y) {
        return x == 0 || x == glyphWidth || y == 0 || y == 256;
    };
    const bool clipThrough = onCellBorder(c.x0, c.y0) && onCellBorder(c.x1, c.y1);
    const bool glyphThrough = onGlyphBorder(g.x0, g.y0) && onGlyphBorder(g.x1, g.y1);
    const float factor = clipThrough == glyphThrough ? 1.0f : 1.414f;

    const Ends a = orientedEnds({c.x0, c.y0, c.x1, c.y1});
    const Ends b = orientedEnds({g.x0 / 16, g.y0 / 16, g.x1 / 16, g.y1 / 16});
    const double sum =
        distanceBetween(a.x0, a.y0, b.x0, b.y0) + distanceBetween(a.x1, a.y1, b.x1, b.y1);
    return static_cast<std::int32_t>(sum * static_cast<double>(factor));
}

// The integer clipping, one numbered step after the other.
std::optional<Clipped> clip(const Segment& s, std::int64_t x, std::int64_t t, std::int64_t wg) {
    std::int64_t x0 = s.a.x, y0 = s.a.y, x1 = s.b.x, y1 = s.b.y;
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (x1 < x || x0 > x + wg) {
        return std::nullopt;
    }
    if (x0 < x) {
        y0 = y0 + (y1 - y0) * (x - x0) / (x1 - x0);
        x0 = x;
    }
    if (x1 > x + wg) {
        y1 = y0 + (y1 - y0) * (x + wg - x0) / (x1 - x0);
        x1 = x + wg;
    }
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (y1 < t || y0 > t + 16) {
        return std::nullopt;
    }
    if (y0 < t) {
        x0 = x0 + (x1 - x0) * (t - y0) / (y1 - y0);
        y0 = t;
    }
    if (y1 > t + 16) {
        x1 = x0 + (x1 - x0) * (t + 16 - y0) / (y1 - y0);
        y1 = t + 16;
    }
    return Clipped{x0 - x, y0 - t, x1 - x, y1 - t};
}

// The score of glyph g at (x, t), or nothing when it is rejected.
std::optional<std::int32_t> tryCandidate(const GlyphShape& g, int k, std::int64_t x, std::int64_t t,
                                         const std::vector<Segment>& segments,
                                         const RenderSettings& settings) {
    const std::int64_t wg = g.width / 16;
    const float left = static_cast<float>(x);
    const float top = static_cast<float>(t);
    const float right = static_cast<float>(x + wg) - 0.5f;
    const float bottom = static_cast<float>(t + 16) - 0.5f;
    std::vector<Clipped> collected;
    for (const Segment& s : segments) {
        if (!meetsAnyEdge(s, left, top, right, bottom)) {
            continue;
        }
        if (collected.size() == 4) {
            return std::nullopt;
        }
        if (const auto c = clip(s, x, t, wg)) {
            collected.push_back(*c);
        }
    }
    if (static_cast<int>(collected.size()) != k) {
        return std::nullopt;
    }
    std::array<bool, 4> used{};
    std::int32_t costSum = 0;
    int matched = 0;
    for (const Clipped& c : collected) {
        std::int32_t bestCost = 10;
        int bestSlot = -1;
        for (int j = 0; j < k; ++j) {
            if (used[j]) {
                continue;
            }
            const std::optional<float> cos = cosine(c, g.segments[j]);
            if (cos && *cos >= settings.innerProductThreshold) {
                const std::int32_t cost = pairingCost(c, g.segments[j], g.width);
                if (cost < bestCost) {
                    bestCost = cost;
                    bestSlot = j;
                }
            }
        }
        if (bestSlot >= 0) {
            used[bestSlot] = true;
            costSum += bestCost;
            ++matched;
        }
    }
    if (matched != k) {
        return std::nullopt;
    }
    const float product = static_cast<float>(g.priority) * settings.priorityScale;
    return costSum - static_cast<std::int32_t>(product);
}

}  // namespace

std::int64_t skipGap(std::int64_t x, std::int64_t top, const VectorSet& vectors, std::int32_t step,
                     std::int64_t canvasRight) {
    const std::vector<Segment> segments = drawnSegments(vectors);
    if (x >= canvasRight) {
        return x;
    }
    while (true) {
        const std::int64_t probe = x + step;
        const float left = static_cast<float>(probe);
        const float t = static_cast<float>(top);
        const float right = static_cast<float>(probe + step);
        const float bottom = static_cast<float>(top + 16);
        for (const Segment& s : segments) {
            if (meetsAnyEdge(s, left, t, right, bottom)) {
                return probe;
            }
        }
        x = probe;
        if (x >= canvasRight) {
            return x;
        }
    }
}

Rendering renderVectors(const VectorSet& vectors, const RenderSettings& settings) {
    Rendering out;
    std::int64_t w = 16;
    std::int64_t h = 16;
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i < line.count; ++i) {
            w = std::max<std::int64_t>(w, std::int64_t{line.points[i].x} + 16);
            h = std::max<std::int64_t>(h, std::int64_t{line.points[i].y} + 16);
        }
    }
    const std::vector<Segment> segments = drawnSegments(vectors);
    GlyphBoxList boxes;
    TextRow row;
    for (std::int64_t t = 1; t < h; t += 16) {
        row.reset();
        std::int64_t x = 1;
        while (x < w) {
            out.progress.push_back({t * w + x, h * w});
            const GlyphShape* best = nullptr;
            std::int32_t bestScore = 99999999;
            for (int k = 4; k >= 1; --k) {
                for (const GlyphShape& g : glyphGroup(k)) {
                    const auto score = tryCandidate(g, k, x, t, segments, settings);
                    if (score && *score < bestScore) {
                        best = &g;
                        bestScore = *score;
                    }
                }
            }
            if (best != nullptr) {
                const auto wg = static_cast<std::int32_t>(best->width / 16);
                boxes.addBox(static_cast<std::int32_t>(x), static_cast<std::int32_t>(t), wg);
                row.placeGlyph(best->code, static_cast<std::int32_t>(x), wg);
                x += wg;
            } else {
                x = skipGap(x, t, vectors, settings.scanStep, w);
            }
        }
        row.fillGaps();
        row.mergeBlanks();
        const auto cells = row.usedCells();
        out.rows.emplace_back(cells.begin(), cells.end());
    }
    const auto outlines = boxes.outlines();
    out.boxes.assign(outlines.begin(), outlines.end());
    return out;
}

namespace {

struct Recorder final : ProgressReceiver, RowSink {
    Rendering rendering;

    void reportProgress(std::int64_t position, std::int64_t total) override {
        rendering.progress.push_back({position, total});
    }
    void takeRow(const TextRow& row) override {
        const auto cells = row.usedCells();
        rendering.rows.emplace_back(cells.begin(), cells.end());
    }
};

}  // namespace

Rendering recordRealPass(const VectorSet& vectors, const RenderSettings& settings) {
    Recorder recorder;
    GlyphBoxList boxes;
    TextRow row;
    penmoji::renderVectors(row, vectors, settings, boxes, recorder, recorder);
    const auto outlines = boxes.outlines();
    recorder.rendering.boxes.assign(outlines.begin(), outlines.end());
    return recorder.rendering;
}

std::string textOfRows(const Rendering& rendering, const RenderSettings& settings) {
    std::string text(1 << 20, '\0');
    std::size_t cursor = 0;
    RandomGenerator random;
    TextRow row;
    for (const auto& cells : rendering.rows) {
        row.reset();
        for (const RowCell& cell : cells) {
            row.placeGlyph(cell.code, cell.x, cell.width);
        }
        emitRow(row, text, cursor, settings, random);
    }
    text.resize(cursor);
    if (settings.underscoreRuns) {
        applyUnderscoreRuns(text);
    }
    return text;
}

}  // namespace penmoji::reference
