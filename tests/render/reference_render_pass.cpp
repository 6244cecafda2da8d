#include "reference_render_pass.h"

#include <algorithm>
#include <array>
#include <optional>

#include "render/glyph_table.h"
#include "render/segment_geometry.h"

namespace penmoji::reference {
namespace {

struct Segment {
    Point a;
    Point b;
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

FloatPoint toFloat(Point p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

bool meetsAnyEdge(const Segment& s, float left, float top, float right, float bottom) {
    const FloatPoint a0 = toFloat(s.a);
    const FloatPoint a1 = toFloat(s.b);
    return segmentsIntersect(a0, a1, {left, top}, {right, top}) ||
           segmentsIntersect(a0, a1, {left, bottom}, {right, bottom}) ||
           segmentsIntersect(a0, a1, {left, top}, {left, bottom}) ||
           segmentsIntersect(a0, a1, {right, top}, {right, bottom});
}

// The integer clipping, one numbered step after the other.
std::optional<ClippedSegment> clip(const Segment& s, std::int64_t x, std::int64_t t,
                                   std::int64_t wg) {
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
    return ClippedSegment{static_cast<std::int32_t>(x0 - x), static_cast<std::int32_t>(y0 - t),
                          static_cast<std::int32_t>(x1 - x), static_cast<std::int32_t>(y1 - t)};
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
    std::vector<ClippedSegment> collected;
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
    for (const ClippedSegment& c : collected) {
        std::int32_t bestCost = 10;
        int bestSlot = -1;
        for (int j = 0; j < k; ++j) {
            if (used[j]) {
                continue;
            }
            if (innerProduct(c, g.segments[j]) >= settings.innerProductThreshold) {
                const std::int32_t cost = segmentCost(c, g.segments[j], g.width);
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

}  // namespace penmoji::reference
