// SPDX-License-Identifier: MIT
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
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

// The drawing's segments with every repeated one kept once, at the place of its first copy, and
// the places of all its copies beside it. A drawing may repeat one segment tens of thousands of
// times (a polyline drawn back and forth); the copies meet and clip exactly alike, so the row
// walks handle one and the matcher counts the copies by their places.
//
// Copies have the same ends in the same order. A segment and its reverse stay apart: the
// single-precision crossing test forms its cross products from the first end, and near a corner
// their rounding can differ between the two directions.
class DistinctSegments {
public:
    explicit DistinctSegments(const VectorSet& vectors);
    // From segments already collected in drawing order, each one's order its index.
    explicit DistinctSegments(std::vector<DrawnSegment> segments);

    // In the order of their first copies.
    std::span<const DrawnSegment> segments() const { return segments_; }
    // The places of every copy of `segment` (one of segments()), ascending; the first is its
    // own order.
    std::span<const std::uint32_t> copiesOf(const DrawnSegment& segment) const;

private:
    std::vector<DrawnSegment> segments_;
    std::vector<std::uint32_t> copyStarts_;  // copies of segments_[i] from copyStarts_[i]
    std::vector<std::uint32_t> copies_;
};

// How far outside a cell or probe window a segment's exact position may lie and still be
// considered. The single-precision crossing test is exact in sign for the cells' axis-parallel
// edges; its other two cross products can err by less than half a pixel for coordinates up to
// a million, so two pixels of slack keep every segment the test could accept.
inline constexpr std::int64_t kBandSlack = 2;

// A segment that may come near the cells of one row, with the columns it can reach there.
struct BandSegment {
    const DrawnSegment* segment = nullptr;
    std::int64_t left = 0;                  // leftmost column near the row, slack included
    std::int64_t right = 0;                 // rightmost column near the row, slack included
    std::span<const std::uint32_t> copies;  // the places of its copies, ascending
};

// Hands out, row by row from the top, the segments that come within reach of each row.
// Row tops must be asked for in ascending order.
class RowBands {
public:
    explicit RowBands(const DistinctSegments& segments);

    // The segments that can reach the row from `top` to `top + 16`, edges included, in drawing
    // order.
    std::span<const BandSegment> bandAt(std::int64_t top);

private:
    const DistinctSegments& segments_;
    std::vector<const DrawnSegment*> byTop_;  // sorted by the smaller y
    std::size_t nextToEnter_ = 0;
    std::vector<const DrawnSegment*> inReach_;  // in drawing order
    std::vector<const DrawnSegment*> entering_;
    std::vector<BandSegment> band_;
};

// Walks one row's band from left to right and keeps the segments whose columns reach a
// window, as a set of places in the band, so that they come out in drawing order without
// being sorted. Windows must not move left.
class BandCursor {
public:
    // A column and a place in the band.
    struct Entry {
        std::int64_t column;
        std::uint32_t place;
    };

    explicit BandCursor(std::span<const BandSegment> band);

    // Brings in the segments that reach columns up to `right` and lets go of those that end
    // before `left`. Each segment comes and goes once, so a walk along a row costs as much as
    // its band, however many segments stay kept over long stretches.
    void advance(std::int64_t left, std::int64_t right);

    // The segments kept after the last advance, in drawing order. Some may lie beyond `right`
    // (a window brings in whatever it may need), so a caller checks the columns.
    class Kept;
    Kept segments() const;

    // The leftmost column beyond `right` at which a kept or coming segment begins; the largest
    // 64-bit value when there is none.
    std::int64_t nextLeftBeyond(std::int64_t right) const;

private:
    std::span<const BandSegment> band_;
    std::vector<Entry> byLeft_;        // every segment by `left`: the order they come in
    std::size_t next_ = 0;             // in byLeft_
    std::vector<Entry> byRight_;       // every segment by `right`: the order they go
    std::size_t nextToGo_ = 0;         // in byRight_
    std::vector<std::uint64_t> kept_;  // one bit per place in the band
    std::size_t firstWord_ = 0;        // every word before it is empty: walks start here
};

// The kept segments in drawing order.
class BandCursor::Kept {
public:
    class Iterator {
    public:
        Iterator(const BandCursor& cursor, std::size_t word) : cursor_(&cursor), word_(word) {
            findBits();
        }

        const BandSegment* operator*() const {
            return &cursor_->band_[word_ * 64 + static_cast<std::size_t>(std::countr_zero(bits_))];
        }
        Iterator& operator++() {
            bits_ &= bits_ - 1;
            if (bits_ == 0) {
                ++word_;
                findBits();
            }
            return *this;
        }
        bool operator==(const Iterator& other) const {
            return word_ == other.word_ && bits_ == other.bits_;
        }

    private:
        // From word_ on, the first word with a bit set, or the end.
        void findBits() {
            const auto& words = cursor_->kept_;
            for (; word_ < words.size(); ++word_) {
                if ((bits_ = words[word_]) != 0) {
                    return;
                }
            }
            bits_ = 0;
        }

        const BandCursor* cursor_;
        std::size_t word_;
        std::uint64_t bits_ = 0;
    };

    explicit Kept(const BandCursor& cursor) : cursor_(cursor) {}
    Iterator begin() const { return {cursor_, cursor_.firstWord_}; }
    Iterator end() const { return {cursor_, cursor_.kept_.size()}; }

private:
    const BandCursor& cursor_;
};

inline BandCursor::Kept BandCursor::segments() const {
    return Kept(*this);
}

}  // namespace penmoji
