// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "document/vector_set.h"
#include "render/progress_receiver.h"

namespace penmoji {

// A drawn segment in whole canvas pixels.
struct PixelSegment {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
};

// Every segment of the drawing, top end first, ordered by their top rows, copies kept once. A count
// outside 0 to kMaxPoints is taken as its nearest bound; a segment of zero length is kept as its
// one pixel.
std::vector<PixelSegment> pixelSegments(const VectorSet& vectors);

// Strokes are told apart by direction in four classes 45 degrees wide: 0 level, 1 falling to
// the right (y grows with x), 2 upright, 3 rising to the right.
constexpr int kStrokeDirections = 4;
// The class of a stroke running (dx, dy); -1 for no length.
int strokeDirectionOf(std::int64_t dx, std::int64_t dy);

// The pixels of one text row as the fine matcher sees them, as bit rows: the drawn lines (one
// pixel wide, each segment rasterised as the straight line nearest to it) from two rows above
// the row to two rows below it, which of those pixels no placed character covers yet, and for
// the row's own sixteen rows the pixels within two pixels of a line, and within two pixels of a
// line of each direction class.
//
// Column c is bit c + kPad of a row, so windows reaching a little left of column 0 stay inside.
class FineLineBand {
public:
    static constexpr int kRows = 20;  // canvas rows top - 2 to top + 17
    static constexpr int kAbove = 2;
    static constexpr std::int64_t kPad = 64;

    // `columns`: the widest column a window may reach, plus one.
    explicit FineLineBand(std::int64_t columns);

    // Moves to the row whose top is `top`, 16 rows below the last (or the first row). What the
    // last row left uncovered of the rows both bands share is kept; the rest is drawn afresh
    // from `segments`, of which those starting above the band's bottom are visited.
    // The drawing counts its work on `pacer` (at `position`) and gives up, false, when asked to
    // stop, leaving the band of no further use.
    bool startRow(std::int64_t top, std::span<const PixelSegment> segments, WorkPacer& pacer,
                  std::int64_t position);

    // Whether any line pixel lies in the band.
    bool empty() const { return lineLeft_ > lineRight_; }
    std::int64_t lineLeft() const { return lineLeft_; }
    std::int64_t lineRight() const { return lineRight_; }

    // 32 columns from column `column` of band row `r` (0 is top - 2): lines not yet covered, and
    // for r in 2 to 17 the pixels near a line.
    std::uint32_t missingAt(int r, std::int64_t column) const;
    std::uint32_t nearAt(int r, std::int64_t column) const;
    std::uint32_t nearDirectedAt(int direction, int r, std::int64_t column) const;
    // 32 columns from `column` of band row r: the line pixels of lines running in that
    // direction class only.
    std::uint32_t lineOnlyDirectedAt(int direction, int r, std::int64_t column) const;
    // Marks the set bits of `bits` (32 columns from `column`) of band row r as covered.
    void cover(int r, std::int64_t column, std::uint32_t bits);
    // Uncovered line pixels in column c of the row's own 16 rows.
    int missingInOwnColumn(std::int64_t column) const;
    // 64 columns from `column`: bit i is set when column + i holds an uncovered line pixel in
    // any band row.
    std::uint64_t missingColumns(std::int64_t column) const;
    // The first column from `column` up to `limit` (excluded) that holds an uncovered line
    // pixel, or `limit`.
    std::int64_t nextMissingColumn(std::int64_t column, std::int64_t limit) const;

private:
    using BitRow = std::vector<std::uint64_t>;
    using BitRows = std::array<BitRow, kRows>;
    std::int64_t drawSegment(const PixelSegment& s, std::int64_t top);
    // Sets the pixel in column x of band row r of `layer`, without noting its column.
    void setPixel(BitRows& layer, std::int64_t r, std::int64_t x);
    // Notes that line pixels lie in each column from a to b (either way round).
    void noteColumns(std::int64_t a, std::int64_t b);
    // Sets the pixel of a segment of no length, at column x of canvas row y.
    void setPoint(std::int64_t top, std::int64_t x, std::int64_t y);
    // Makes the near rows up to word `to` (excluded), from where they were made to.
    void computeNearTo(std::size_t to) const;
    // Makes the near rows as far as a read of the word holding `column` and the next needs.
    void ensureNear(std::int64_t column) const;

    std::size_t words_;
    std::int64_t top_ = 0;
    bool started_ = false;
    std::array<BitRow, kRows> line_;
    std::array<BitRow, kRows> missing_;
    // The line pixels of each direction class (a lone point is in every class).
    std::array<std::array<BitRow, kRows>, kStrokeDirections> lineDirected_;
    // The pixels near a line, and near a line of each class. Made as far as the windows reach:
    // words from dirtyFrom_ to nearTo_ are made, and every word outside them is clear. Kept up
    // to date by the readers, hence mutable.
    mutable std::array<BitRow, kRows> near_;
    mutable std::array<std::array<BitRow, kRows>, kStrokeDirections> nearDirected_;
    mutable std::size_t nearTo_ = 0;
    // Words outside this range are zero in every row.
    std::size_t dirtyFrom_ = 0;
    std::size_t dirtyTo_ = 0;
    std::int64_t lineLeft_ = 0;
    std::int64_t lineRight_ = -1;
    std::size_t nextSegment_ = 0;
    std::vector<PixelSegment> live_;
};

}  // namespace penmoji
