#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <span>
#include <vector>

#include "document/vector_set.h"
#include "render/segment_geometry.h"

namespace penmoji {

// A drawn segment with what the matcher needs at hand: its ends as drawn and in single
// precision, and its place in the drawing's order (slots in index order, then segments in
// point order), which decides the order in which a cell collects its segments.
struct DrawnSegment {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    FloatPoint a0;
    FloatPoint a1;
    std::uint32_t order = 0;
};

// Every segment of the drawing in drawing order. Segments of zero length are left out: they
// meet nothing. A count outside 0 to kMaxPoints is taken as its nearest bound.
std::vector<DrawnSegment> collectSegments(const VectorSet& vectors);

// How far outside a cell or probe window a segment's exact position may lie and still be
// considered. The single-precision crossing test is exact in sign for the cells' axis-parallel
// edges; its other two cross products can err by less than half a pixel for coordinates up to
// a million, so two pixels of slack keep every segment the test could accept.
inline constexpr std::int64_t kBandSlack = 2;

// A segment that may come near the cells of one row, with the columns it can reach there.
struct BandSegment {
    const DrawnSegment* segment = nullptr;
    std::int64_t left = 0;   // leftmost column near the row, slack included
    std::int64_t right = 0;  // rightmost column near the row, slack included
};

// Hands out, row by row from the top, the segments that come within reach of each row.
// Row tops must be asked for in ascending order.
class RowBands {
public:
    explicit RowBands(std::span<const DrawnSegment> segments);

    // The segments that can reach the row from `top` to `top + 16`, sorted by `left`.
    std::span<const BandSegment> bandAt(std::int64_t top);

private:
    std::vector<const DrawnSegment*> byTop_;  // sorted by the smaller y
    std::size_t nextToEnter_ = 0;
    std::vector<const DrawnSegment*> inReach_;
    std::vector<BandSegment> band_;
};

// Walks one row's band from left to right and keeps, in drawing order, the segments whose
// columns reach a window. Windows must not move left.
class BandCursor {
public:
    explicit BandCursor(std::span<const BandSegment> band) : band_(band) {}

    // Brings in the segments that reach columns up to `right` and lets go of those that end
    // before `left`.
    void advance(std::int64_t left, std::int64_t right);

    // The segments kept after the last advance, in drawing order. Some may lie beyond `right`,
    // and some may end before `left`: they are let go in batches, so a caller skips them.
    std::span<const BandSegment* const> segments() const { return active_; }

    // The leftmost column beyond `right` at which a kept or coming segment begins; the largest
    // 64-bit value when there is none.
    std::int64_t nextLeftBeyond(std::int64_t right) const;

private:
    std::span<const BandSegment> band_;
    std::size_t next_ = 0;
    std::vector<const BandSegment*> active_;
    std::vector<std::uint32_t> activeOrders_;  // their places in the drawing, for inserting
    // The kept segments by `right`, to tell how many have ended without looking at them all.
    std::priority_queue<std::int64_t, std::vector<std::int64_t>, std::greater<>> ends_;
    std::size_t ended_ = 0;
};

}  // namespace penmoji
