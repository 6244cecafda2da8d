// SPDX-License-Identifier: MIT
#include "render/render_pass.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "render/gap_filler.h"
#include "render/glyph_matcher.h"
#include "render/row_band.h"

namespace penmoji {
namespace {

// The scanned canvas: 16 pixels beyond the furthest point, and at least one row and cell.
struct Extent {
    std::int64_t width = 16;
    std::int64_t height = 16;
};

Extent extentOf(const VectorSet& vectors) {
    Extent extent;
    for (const VectorLine& line : vectors.lines) {
        const int count = std::clamp(line.count, 0, kMaxPoints);
        for (int i = 0; i < count; ++i) {
            extent.width = std::max(extent.width, std::int64_t{line.points[i].x} + 16);
            extent.height = std::max(extent.height, std::int64_t{line.points[i].y} + 16);
        }
    }
    return extent;
}

// Counts the cells a row will hold once its gaps are filled, as its characters are placed left
// to right: each character, and the gap before it when it does not start where the last ended.
class FilledCellCount {
public:
    void place(std::int64_t x, std::int32_t width) {
        count_ += x > end_ ? 2 : 1;
        end_ = x + width;
    }

    // Once as many cells as a row holds are counted and the box list is full, a character placed
    // further right changes nothing: filling the gaps keeps the first cells only, and the box
    // list takes no more boxes. A row of full-width strokes, or of lines crossing it everywhere,
    // would otherwise be matched far beyond what it can hold, across a million pixels.
    bool restOfRowIsIdle(const GlyphBoxList& boxes) const {
        return count_ >= TextRow::kCellCount && boxes.boxCount() == GlyphBoxList::kCapacity;
    }

private:
    std::size_t count_ = 0;
    std::int64_t end_ = 0;
};

// The room a glyph at x has before the next fixed cell of the row, with the cells behind x
// dropped from `fixed`; 0 when x lies inside one.
std::int64_t roomAt(std::int64_t x, std::span<const FixedCell>& fixed) {
    while (!fixed.empty() && std::int64_t{fixed.front().cell.x} + fixed.front().cell.width <= x) {
        fixed = fixed.subspan(1);
    }
    return fixed.empty() ? std::numeric_limits<std::int64_t>::max()
                         : std::max<std::int64_t>(fixed.front().cell.x - x, 0);
}

bool renderRow(TextRow& row, std::int64_t top, std::int64_t canvasWidth, BandCursor& band,
               GlyphMatcher& matcher, std::int32_t scanStep, GlyphBoxList& boxes, WorkPacer& pacer,
               std::span<const FixedCell> fixed) {
    row.reset();
    FilledCellCount filled;
    std::int64_t x = 1;
    while (x < canvasWidth) {
        if (pacer.stopAt(top * canvasWidth + x)) {
            return false;
        }
        const std::int64_t room = roomAt(x, fixed);
        if (room == 0) {
            // The walk goes on after the fixed cell, as after a placed glyph.
            x = std::int64_t{fixed.front().cell.x} + fixed.front().cell.width;
            continue;
        }
        if (const GlyphShape* glyph = matcher.bestGlyphAt(x, top, room)) {
            const std::int32_t width = glyph->width / 16;
            boxes.addBox(static_cast<std::int32_t>(x), static_cast<std::int32_t>(top), width);
            row.placeGlyph(glyph->code, static_cast<std::int32_t>(x), width);
            filled.place(x, width);
            x += width;
            if (filled.restOfRowIsIdle(boxes)) {
                break;
            }
        } else if (const auto next = skipGap(x, top, band, scanStep, canvasWidth, pacer)) {
            x = *next;
        } else {
            return false;
        }
    }
    row.fillGaps();
    row.mergeBlanks();
    return true;
}

// The segments within reach of the given rows (ascending), as a row's band takes them, in
// drawing order: only those need sorting and copying when a few rows of a large drawing render.
std::vector<DrawnSegment> segmentsReaching(const VectorSet& vectors,
                                           std::span<const std::int64_t> rows) {
    std::vector<DrawnSegment> near;
    for (const DrawnSegment& s : collectSegments(vectors)) {
        const std::int64_t low = std::min(s.y0, s.y1);
        const std::int64_t high = std::max(s.y0, s.y1);
        // The first row whose band reaches below `low`, if it also reaches above `high`.
        const auto row = std::ranges::lower_bound(
            rows, low, {}, [](std::int64_t index) { return 16 * index + 1 + 16 + kBandSlack; });
        if (row != rows.end() && 16 * *row + 1 - kBandSlack <= high) {
            near.push_back(s);
            near.back().order = static_cast<std::uint32_t>(near.size() - 1);
        }
    }
    return near;
}

// Starts the row at `top` on its band and renders it.
bool renderRowAt(TextRow& row, std::int64_t top, std::int64_t canvasWidth, RowBands& bands,
                 GlyphMatcher& matcher, std::int32_t scanStep, GlyphBoxList& boxes,
                 WorkPacer& pacer, std::span<const FixedCell> fixed) {
    const std::span<const BandSegment> band = bands.bandAt(top);
    matcher.startRow(band, top);
    std::optional<BandCursor> ownCursor;
    BandCursor& gapCursor = matcher.walksWholeBand() ? matcher.cursor() : ownCursor.emplace(band);
    return renderRow(row, top, canvasWidth, gapCursor, matcher, scanStep, boxes, pacer,
                     fixedCellsOfRow(fixed, (top - 1) / 16));
}

}  // namespace

bool renderVectors(TextRow& row, const VectorSet& vectors, const MatchSettings& requested,
                   GlyphBoxList& boxes, ProgressReceiver& progress, RowSink& sink,
                   std::span<const FixedCell> fixed) {
    // Settings outside their ranges (a scan step of 0 would never end) are taken at their bounds.
    const MatchSettings settings = clampMatchSettings(requested);
    boxes.clearBoxes();
    const Extent extent = extentOf(vectors);
    const DistinctSegments segments(vectors);
    GlyphMatcher matcher(settings);
    RowBands bands(segments);
    WorkPacer pacer(progress, extent.height * extent.width);
    for (std::int64_t top = 1; top < extent.height; top += 16) {
        if (!renderRowAt(row, top, extent.width, bands, matcher, settings.scanStep, boxes, pacer,
                         fixed)) {
            return false;
        }
        sink.takeRow(row);
    }
    return true;
}

bool renderVectorRows(TextRow& row, const VectorSet& vectors, const MatchSettings& requested,
                      std::span<const std::int64_t> rows, GlyphBoxList& boxes,
                      ProgressReceiver& progress, RowSink& sink, std::span<const FixedCell> fixed) {
    const MatchSettings settings = clampMatchSettings(requested);
    const Extent extent = extentOf(vectors);
    const DistinctSegments segments(segmentsReaching(vectors, rows));
    GlyphMatcher matcher(settings);
    RowBands bands(segments);
    WorkPacer pacer(progress, extent.height * extent.width);
    for (const std::int64_t index : rows) {
        const std::int64_t top = 16 * index + 1;
        if (index < 0 || top >= extent.height) {
            continue;
        }
        boxes.clearBoxes();
        if (!renderRowAt(row, top, extent.width, bands, matcher, settings.scanStep, boxes, pacer,
                         fixed)) {
            return false;
        }
        sink.takeRow(row);
    }
    return true;
}

}  // namespace penmoji
