// SPDX-License-Identifier: MIT
#include "render/gap_filler.h"

#include <algorithm>
#include <limits>

namespace penmoji {
namespace {

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return a <= 0 ? 0 : (a + b - 1) / b;
}

bool meetsWindow(const DrawnSegment& s, std::int64_t left, std::int64_t top, std::int32_t step) {
    return meetsBoxEdges(s.a0, s.a1, static_cast<float>(left), static_cast<float>(top),
                         static_cast<float>(left + step), static_cast<float>(top + 16));
}

}  // namespace

// The walk steps one window at a time while a segment of the band is within reach, testing each
// such segment against each window. This is the work that grows most with a drawing: distinct
// sloped segments lying along a row within the band's slack without touching its windows, such
// as (k, top - 1) to (width - k, top), are all tested at every step across the row, so a row
// costs width / step x segments tests (about 30 ns each: 39,800 segments across a million
// pixels take some ten minutes). Level lines off the row are no such burden: they stay out of
// the band. The pacer keeps such a walk stoppable.
std::optional<std::int64_t> skipGap(std::int64_t x, std::int64_t top, BandCursor& band,
                                    std::int32_t step, std::int64_t canvasRight, WorkPacer& pacer) {
    if (x >= canvasRight) {
        return x;
    }
    std::int64_t probe = x + step;
    while (probe < canvasRight) {
        const std::int64_t probeRight = probe + step;
        band.advance(probe, probeRight);
        bool inReach = false;
        std::int64_t visited = 1;
        for (const BandSegment* b : band.segments()) {
            ++visited;
            if (b->left > probeRight || b->right < probe) {
                continue;
            }
            if (meetsWindow(*b->segment, probe, top, step)) {
                return probe;
            }
            inReach = true;
        }
        if (pacer.spend(visited, top * canvasRight + probe)) {
            return std::nullopt;
        }
        if (inReach) {
            probe += step;
            continue;
        }
        // Nothing reaches this window: go straight to the first one the next segment reaches.
        const std::int64_t next = band.nextLeftBeyond(probeRight);
        const std::int64_t target = next == std::numeric_limits<std::int64_t>::max()
                                        ? canvasRight
                                        : std::min(next - step, canvasRight);
        probe += std::max<std::int64_t>(1, ceilDiv(target - probe, step)) * step;
    }
    return probe;
}

std::int64_t skipGap(std::int64_t x, std::int64_t top, const VectorSet& vectors, std::int32_t step,
                     std::int64_t canvasRight) {
    struct Quiet final : ProgressReceiver {
        void reportProgress(std::int64_t, std::int64_t) override {}
    } quiet;
    WorkPacer pacer(quiet, 0);
    const DistinctSegments segments(vectors);
    RowBands bands(segments);
    BandCursor band(bands.bandAt(top));
    return *skipGap(x, top, band, step, canvasRight, pacer);
}

}  // namespace penmoji
