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

    // The segments that can reach the row from `top` to `top + 16`, in drawing order.
    std::span<const BandSegment> bandAt(std::int64_t top);

private:
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

    // How far windows move between two passes that let ended segments go: often enough that
    // callers skip few ended ones, seldom enough that the passes cost little.
    static constexpr std::int64_t kLetGoStride = 32;

    // Brings in the segments that reach columns up to `right` and lets go of those that end
    // before `left`.
    void advance(std::int64_t left, std::int64_t right);

    // The segments kept after the last advance, in drawing order. Some may lie beyond `right`,
    // and some may end before `left`: they are let go in batches, so a caller skips them.
    class Kept;
    Kept segments() const;

    // The leftmost column beyond `right` at which a kept or coming segment begins; the largest
    // 64-bit value when there is none.
    std::int64_t nextLeftBeyond(std::int64_t right) const;

private:
    void letGoOfEnded(std::int64_t left);

    std::span<const BandSegment> band_;
    std::vector<Entry> byLeft_;        // every segment by `left`: the order they come in
    std::size_t next_ = 0;             // in byLeft_
    std::vector<std::uint64_t> kept_;  // one bit per place in the band
    std::size_t firstWord_ = 0;        // every word before it is empty: walks start here
    std::int64_t lastLetGo_;           // window left at the last pass that let segments go
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
