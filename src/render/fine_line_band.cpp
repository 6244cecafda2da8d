// SPDX-License-Identifier: MIT
#include "render/fine_line_band.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <tuple>

namespace penmoji {
namespace {

// n / d rounded down, for d > 0.
std::int64_t floorDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// Sets bits `from` to `to` of a row.
inline void orRun(std::vector<std::uint64_t>& row, std::int64_t from, std::int64_t to) {
    const auto wordFrom = static_cast<std::size_t>(from >> 6);
    const auto wordTo = static_cast<std::size_t>(to >> 6);
    const std::uint64_t headMask = ~std::uint64_t{0} << (from & 63);
    const std::uint64_t tailMask = ~std::uint64_t{0} >> (63 - (to & 63));
    if (wordFrom == wordTo) {
        row[wordFrom] |= headMask & tailMask;
        return;
    }
    row[wordFrom] |= headMask;
    for (std::size_t i = wordFrom + 1; i < wordTo; ++i) {
        row[i] = ~std::uint64_t{0};
    }
    row[wordTo] |= tailMask;
}

// 64 bits from `bit`; bits beyond the row read as clear.
std::uint64_t wordAt(const std::vector<std::uint64_t>& row, std::int64_t bit) {
    const auto word = static_cast<std::size_t>(bit >> 6);
    const auto shift = static_cast<unsigned>(bit & 63);
    if (word >= row.size()) {
        return 0;
    }
    std::uint64_t value = row[word] >> shift;
    if (shift != 0 && word + 1 < row.size()) {
        value |= row[word + 1] << (64 - shift);
    }
    return value;
}

std::uint32_t bitsAt(const std::vector<std::uint64_t>& row, std::int64_t bit) {
    const auto word = static_cast<std::size_t>(bit >> 6);
    const auto shift = static_cast<unsigned>(bit & 63);
    std::uint64_t value = row[word] >> shift;
    if (shift != 0) {
        value |= row[word + 1] << (64 - shift);
    }
    return static_cast<std::uint32_t>(value);
}

// out |= in shifted by `shift` columns (positive: to higher columns), over words from to to.
void orShifted(std::vector<std::uint64_t>& out, const std::vector<std::uint64_t>& in, int shift,
               std::size_t from, std::size_t to) {
    const std::size_t n = in.size();
    if (shift >= 0) {
        const auto s = static_cast<unsigned>(shift);
        for (std::size_t i = from; i < to; ++i) {
            std::uint64_t v = in[i] << s;
            if (s != 0 && i > 0) {
                v |= in[i - 1] >> (64 - s);
            }
            out[i] |= v;
        }
    } else {
        const auto s = static_cast<unsigned>(-shift);
        for (std::size_t i = from; i < to; ++i) {
            std::uint64_t v = in[i] >> s;
            if (i + 1 < n) {
                v |= in[i + 1] << (64 - s);
            }
            out[i] |= v;
        }
    }
}

}  // namespace

int strokeDirectionOf(std::int64_t dx, std::int64_t dy) {
    if (dx == 0 && dy == 0) {
        return -1;
    }
    if (dy < 0) {
        dx = -dx;
        dy = -dy;
    }
    // The classes meet at 22.5 degrees from level and from upright (tan 22.5 = 0.4142).
    const std::int64_t adx = std::abs(dx);
    if (dy * 10000 <= adx * 4142) {
        return 0;
    }
    if (adx * 10000 <= dy * 4142) {
        return 2;
    }
    return dx > 0 ? 1 : 3;
}

std::vector<PixelSegment> pixelSegments(const VectorSet& vectors) {
    std::vector<PixelSegment> segments;
    for (const VectorLine& line : vectors.lines) {
        const int count = std::clamp(line.count, 0, kMaxPoints);
        for (int i = 0; i + 1 < count; ++i) {
            Point a = line.points[static_cast<std::size_t>(i)];
            Point b = line.points[static_cast<std::size_t>(i) + 1];
            if (b.y < a.y) {
                std::swap(a, b);
            }
            segments.push_back({a.x, a.y, b.x, b.y});
        }
    }
    // Copies set the same pixels, and a drawing may hold tens of thousands of one segment.
    const auto key = [](const PixelSegment& s) { return std::tie(s.y0, s.x0, s.y1, s.x1); };
    const auto before = [&](const PixelSegment& a, const PixelSegment& b) {
        return key(a) < key(b);
    };
    const auto same = [&](const PixelSegment& a, const PixelSegment& b) {
        return key(a) == key(b);
    };
    std::sort(segments.begin(), segments.end(), before);
    segments.erase(std::unique(segments.begin(), segments.end(), same), segments.end());
    return segments;
}

FineLineBand::FineLineBand(std::int64_t columns)
    : words_(static_cast<std::size_t>((columns + 32 + 2 * kPad) / 64 + 2)) {
    for (int r = 0; r < kRows; ++r) {
        line_[static_cast<std::size_t>(r)].assign(words_, 0);
        missing_[static_cast<std::size_t>(r)].assign(words_, 0);
        near_[static_cast<std::size_t>(r)].assign(words_, 0);
        for (int d = 0; d < kStrokeDirections; ++d) {
            lineDirected_[static_cast<std::size_t>(d)][static_cast<std::size_t>(r)].assign(words_,
                                                                                           0);
            nearDirected_[static_cast<std::size_t>(d)][static_cast<std::size_t>(r)].assign(words_,
                                                                                           0);
        }
    }
}

bool FineLineBand::startRow(std::int64_t top, std::span<const PixelSegment> segments,
                            WorkPacer& pacer, std::int64_t position) {
    // Rows the last band's bottom shares with this band's top keep their coverage. Only the
    // words the last row wrote are visited, so empty stretches of a wide canvas cost nothing.
    constexpr int kShared = kRows - 16;
    const bool follows = started_ && top == top_ + 16;
    const auto lo = static_cast<std::ptrdiff_t>(dirtyFrom_);
    const auto hi = static_cast<std::ptrdiff_t>(dirtyTo_);
    std::array<BitRow, kShared> kept;
    if (follows) {
        for (int r = 0; r < kShared; ++r) {
            const BitRow& from = missing_[static_cast<std::size_t>(16 + r)];
            kept[static_cast<std::size_t>(r)].assign(from.begin() + lo, from.begin() + hi);
        }
    }
    for (int r = 0; r < kRows; ++r) {
        for (auto* rows : {&line_, &missing_, &lineDirected_[0], &lineDirected_[1],
                           &lineDirected_[2], &lineDirected_[3]}) {
            BitRow& row = (*rows)[static_cast<std::size_t>(r)];
            std::fill(row.begin() + lo, row.begin() + hi, 0);
        }
        const auto nearHi = static_cast<std::ptrdiff_t>(nearTo_);
        for (auto* rows :
             {&near_, &nearDirected_[0], &nearDirected_[1], &nearDirected_[2], &nearDirected_[3]}) {
            BitRow& row = (*rows)[static_cast<std::size_t>(r)];
            std::fill(row.begin() + lo, row.begin() + nearHi, 0);
        }
    }
    top_ = top;
    started_ = true;
    lineLeft_ = 0;
    lineRight_ = -1;
    const std::int64_t first = top - kAbove;
    const std::int64_t last = first + kRows - 1;
    while (nextSegment_ < segments.size() && segments[nextSegment_].y0 <= last) {
        live_.push_back(segments[nextSegment_++]);
    }
    std::erase_if(live_, [&](const PixelSegment& s) { return s.y1 < first; });
    for (const PixelSegment& s : live_) {
        if (pacer.spend(drawSegment(s, top), position)) {
            return false;
        }
    }
    dirtyFrom_ = 0;
    dirtyTo_ = 0;
    nearTo_ = 0;
    if (empty()) {
        return true;  // the shared rows held no line pixel either
    }
    {
        const auto from = static_cast<std::size_t>((lineLeft_ + kPad) >> 6);
        const auto to = static_cast<std::size_t>((lineRight_ + kPad) >> 6) + 1;
        for (std::size_t r = 0; r < kRows; ++r) {
            BitRow& line = line_[r];
            for (std::size_t i = from; i < to; ++i) {
                line[i] = lineDirected_[0][r][i] | lineDirected_[1][r][i] | lineDirected_[2][r][i] |
                          lineDirected_[3][r][i];
            }
        }
    }
    // One word of margin on each side for the near pixels' two columns.
    dirtyFrom_ = static_cast<std::size_t>(std::max<std::int64_t>(0, (lineLeft_ + kPad) / 64 - 1));
    dirtyTo_ = static_cast<std::size_t>((lineRight_ + kPad) / 64 + 2);
    for (int r = 0; r < kRows; ++r) {
        const BitRow& line = line_[static_cast<std::size_t>(r)];
        BitRow& missing = missing_[static_cast<std::size_t>(r)];
        const auto from = static_cast<std::ptrdiff_t>(dirtyFrom_);
        const auto to = static_cast<std::ptrdiff_t>(dirtyTo_);
        std::copy(line.begin() + from, line.begin() + to, missing.begin() + from);
        if (follows && r < kShared) {
            // The shared rows' line pixels are the same as before, so the last row's range
            // holds all of them.
            std::fill(missing.begin() + from, missing.begin() + to, 0);
            const BitRow& saved = kept[static_cast<std::size_t>(r)];
            std::copy(saved.begin(), saved.end(), missing.begin() + lo);
        }
    }
    // The near pixels are worked out as the windows reach them (see nearAt).
    nearTo_ = dirtyFrom_;
    return true;
}

// Steep segments set one pixel per row, shallow ones one run per row, each at the rounded
// position of the exact line; only the band's rows are visited. Both step from row to row
// with a running remainder instead of dividing for each: a band holds thousands of segments
// when the lines criss-cross the canvas. Returns the work done, in rows and words.
std::int64_t FineLineBand::drawSegment(const PixelSegment& s, std::int64_t top) {
    const std::int64_t first = top - kAbove;
    const std::int64_t last = first + kRows - 1;
    const std::int64_t dx = std::int64_t{s.x1} - s.x0;
    const std::int64_t dy = std::int64_t{s.y1} - s.y0;  // >= 0
    const int direction = strokeDirectionOf(dx, dy);
    if (dy == 0 && dx == 0) {
        setPoint(top, s.x0, s.y0);
        return 1;
    }
    const std::int64_t twiceDy = 2 * dy;
    if (dy >= std::abs(dx)) {
        // Row y holds column x0 + floor((2 dx (y - y0) + dy) / 2 dy); |dx| <= dy, so the
        // column moves by at most one from row to row.
        const std::int64_t yFrom = std::max<std::int64_t>(first, s.y0);
        const std::int64_t yTo = std::min<std::int64_t>(last, s.y1);
        if (yFrom > yTo) {
            return kRows;
        }
        const std::int64_t start = 2 * dx * (yFrom - s.y0) + dy;
        std::int64_t x = s.x0 + floorDiv(start, twiceDy);
        std::int64_t rest = start - (x - s.x0) * twiceDy;  // 0 to 2 dy - 1
        const std::int64_t xFirst = x;
        std::int64_t xLast = x;
        BitRows& layer = lineDirected_[static_cast<std::size_t>(direction)];
        for (std::int64_t y = yFrom; y <= yTo; ++y) {
            setPixel(layer, y - first, x);
            xLast = x;
            // Without a branch: the column's steps follow no pattern to guess.
            rest += 2 * dx;
            const std::int64_t up = rest >= twiceDy ? 1 : 0;
            const std::int64_t down = rest < 0 ? 1 : 0;
            x += up - down;
            rest += (down - up) * twiceDy;
        }
        noteColumns(xFirst, xLast);
        return kRows;
    }
    const std::int64_t adx = std::abs(dx);
    const std::int64_t step = dx > 0 ? 1 : -1;
    // Column t (0 to adx from x0) lies on row y0 + k where k is dy * t / adx rounded to the
    // nearest, halves up, that is from the first t with 2 * dy * t >= (2k - 1) * adx.
    const auto firstColumnOf = [&](std::int64_t k) {
        if (k <= 0) {
            return std::int64_t{0};
        }
        const std::int64_t n = (2 * k - 1) * adx;
        return (n + twiceDy - 1) / twiceDy;
    };
    // The columns visited: those whose rounded row can fall in the band, found from the rows'
    // bounds (a shallow segment's run on the band's first row may start left of them).
    std::int64_t visitFrom = 0;
    std::int64_t visitTo = adx;
    if (dy > 0) {
        visitFrom = std::max<std::int64_t>(0, ((first - s.y0) * adx) / dy - 1);
        visitTo = std::min<std::int64_t>(adx, ((last - s.y0 + 1) * adx) / dy + 1);
    }
    const std::int64_t kFrom = std::max<std::int64_t>(0, first - s.y0);
    const std::int64_t kTo = std::min<std::int64_t>(last, s.y1) - s.y0;
    // The first column of row k + 1 from that of row k: (2k + 1) adx = (2k - 1) adx + 2 adx,
    // so it grows by 2 adx / 2 dy, and by one more when the remainders carry. `short_` is how
    // far the ceiling lies above the exact (2k + 1) adx / 2 dy, in units of 1 / 2 dy.
    const std::int64_t whole = dy > 0 ? (2 * adx) / twiceDy : 0;
    const std::int64_t part = dy > 0 ? (2 * adx) % twiceDy : 0;
    std::int64_t nextFirst = 0;
    std::int64_t short_ = 0;
    if (dy > 0) {
        const std::int64_t n = (2 * kFrom + 1) * adx;
        nextFirst = (n + twiceDy - 1) / twiceDy;
        short_ = nextFirst * twiceDy - n;
    }
    // Runs are set straight into the class's rows, the columns they reach noted once.
    const std::int64_t lowest = -kPad;
    const std::int64_t highest = static_cast<std::int64_t>(words_ * 64) - 64 - 1 - kPad;
    std::int64_t left = highest + 1;
    std::int64_t right = lowest - 1;
    BitRows& layer = lineDirected_[static_cast<std::size_t>(direction)];
    std::int64_t work = 0;
    std::int64_t thisFirst = firstColumnOf(kFrom);
    for (std::int64_t k = kFrom; k <= kTo; ++k) {
        const std::int64_t tFrom = std::max(visitFrom, thisFirst);
        const std::int64_t tTo = std::min(visitTo, dy == 0 ? adx : std::min(adx, nextFirst - 1));
        if (tFrom <= tTo) {
            const std::int64_t from = std::max(lowest, s.x0 + (step > 0 ? tFrom : -tTo));
            const std::int64_t to = std::min(highest, s.x0 + (step > 0 ? tTo : -tFrom));
            if (from <= to) {
                orRun(layer[static_cast<std::size_t>(s.y0 + k - first)], from + kPad, to + kPad);
                left = std::min(left, from);
                right = std::max(right, to);
            }
            work += 1 + (tTo - tFrom) / 64;
        }
        thisFirst = nextFirst;
        const std::int64_t over = part - short_;
        if (over > 0) {
            nextFirst += whole + 1;
            short_ = twiceDy - over;
        } else {
            nextFirst += whole;
            short_ = -over;
        }
    }
    if (left <= right) {
        noteColumns(left, right);
    }
    return work;
}

void FineLineBand::setPixel(BitRows& layer, std::int64_t r, std::int64_t x) {
    // Pixels outside the bit rows are left out, as the windows never look there.
    const std::int64_t bit = x + kPad;
    if (bit < 0 || bit >= static_cast<std::int64_t>(words_ * 64) - 64) {
        return;
    }
    layer[static_cast<std::size_t>(r)][static_cast<std::size_t>(bit >> 6)] |= std::uint64_t{1}
                                                                              << (bit & 63);
}

void FineLineBand::noteColumns(std::int64_t a, std::int64_t b) {
    // Columns a to b (either way round) now hold line pixels, as far as the bit rows reach.
    const std::int64_t from = std::max(std::min(a, b), -kPad);
    const std::int64_t to =
        std::min(std::max(a, b), static_cast<std::int64_t>(words_ * 64) - 64 - 1 - kPad);
    if (from > to) {
        return;
    }
    lineLeft_ = lineRight_ < lineLeft_ ? from : std::min(lineLeft_, from);
    lineRight_ = std::max(lineRight_, to);
}

void FineLineBand::setPoint(std::int64_t top, std::int64_t x, std::int64_t y) {
    // A lone point runs every way, so it is in every class.
    for (BitRows& layer : lineDirected_) {
        setPixel(layer, y - (top - kAbove), x);
    }
    noteColumns(x, x);
}

// Near: within a Euclidean distance of two pixels of a line pixel. Each word depends on the
// line words beside it only, so the near rows are made a stretch at a time, up to word `to`
// and at least kNearStretch words further: a row of a wide drawing is mostly planned no
// further than its first few thousand columns, as far as it holds characters.
void FineLineBand::computeNearTo(std::size_t to) const {
    constexpr std::size_t kNearStretch = 64;
    to = std::min(dirtyTo_, std::max(to, nearTo_ + kNearStretch));
    for (int r = kAbove; r < kAbove + 16; ++r) {
        const auto at = static_cast<std::size_t>(r);
        for (int dy = -2; dy <= 2; ++dy) {
            const auto from = static_cast<std::size_t>(r + dy);
            const int reach = dy == 0 ? 2 : (std::abs(dy) == 1 ? 1 : 0);
            for (int dx = -reach; dx <= reach; ++dx) {
                orShifted(near_[at], line_[from], dx, nearTo_, to);
                for (int d = 0; d < kStrokeDirections; ++d) {
                    const auto k = static_cast<std::size_t>(d);
                    orShifted(nearDirected_[k][at], lineDirected_[k][from], dx, nearTo_, to);
                }
            }
        }
    }
    nearTo_ = to;
}

std::uint32_t FineLineBand::missingAt(int r, std::int64_t column) const {
    return bitsAt(missing_[static_cast<std::size_t>(r)], column + kPad);
}

void FineLineBand::ensureNear(std::int64_t column) const {
    // bitsAt reads the word holding the column and the next.
    const auto next = static_cast<std::size_t>((column + kPad) >> 6) + 1;
    if (next >= nearTo_ && nearTo_ < dirtyTo_) {
        computeNearTo(next + 1);
    }
}

std::uint32_t FineLineBand::nearAt(int r, std::int64_t column) const {
    ensureNear(column);
    return bitsAt(near_[static_cast<std::size_t>(r)], column + kPad);
}

std::uint32_t FineLineBand::nearDirectedAt(int direction, int r, std::int64_t column) const {
    ensureNear(column);
    return bitsAt(nearDirected_[static_cast<std::size_t>(direction)][static_cast<std::size_t>(r)],
                  column + kPad);
}

std::uint32_t FineLineBand::lineOnlyDirectedAt(int direction, int r, std::int64_t column) const {
    std::uint32_t only =
        bitsAt(lineDirected_[static_cast<std::size_t>(direction)][static_cast<std::size_t>(r)],
               column + kPad);
    for (int d = 0; d < kStrokeDirections; ++d) {
        if (d != direction) {
            only &= ~bitsAt(lineDirected_[static_cast<std::size_t>(d)][static_cast<std::size_t>(r)],
                            column + kPad);
        }
    }
    return only;
}

void FineLineBand::cover(int r, std::int64_t column, std::uint32_t bits) {
    BitRow& row = missing_[static_cast<std::size_t>(r)];
    const std::int64_t bit = column + kPad;
    const auto word = static_cast<std::size_t>(bit >> 6);
    const auto shift = static_cast<unsigned>(bit & 63);
    row[word] &= ~(std::uint64_t{bits} << shift);
    if (shift > 32) {
        row[word + 1] &= ~(std::uint64_t{bits} >> (64 - shift));
    }
}

int FineLineBand::missingInOwnColumn(std::int64_t column) const {
    const std::int64_t bit = column + kPad;
    const auto word = static_cast<std::size_t>(bit >> 6);
    const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
    int count = 0;
    for (int r = kAbove; r < kAbove + 16; ++r) {
        count += (missing_[static_cast<std::size_t>(r)][word] & mask) != 0 ? 1 : 0;
    }
    return count;
}

std::uint64_t FineLineBand::missingColumns(std::int64_t column) const {
    std::uint64_t any = 0;
    for (const BitRow& row : missing_) {
        any |= wordAt(row, column + kPad);
    }
    return any;
}

std::int64_t FineLineBand::nextMissingColumn(std::int64_t column, std::int64_t limit) const {
    // Words beyond the last row's written range are clear.
    const std::int64_t written = static_cast<std::int64_t>(dirtyTo_) * 64 - kPad;
    for (std::int64_t c = column; c < std::min(limit, written); c += 64) {
        if (const std::uint64_t any = missingColumns(c); any != 0) {
            return std::min(limit, c + std::countr_zero(any));
        }
    }
    return limit;
}

}  // namespace penmoji
