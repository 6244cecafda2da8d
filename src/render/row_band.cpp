// SPDX-License-Identifier: MIT
#include "render/row_band.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "document/vector_file.h"

namespace penmoji {
namespace {

std::int32_t topOf(const DrawnSegment& s) {
    return std::min(s.y0, s.y1);
}
std::int32_t bottomOf(const DrawnSegment& s) {
    return std::max(s.y0, s.y1);
}

// The columns the segment covers between rows `low` and `high`, widened by the slack.
BandSegment columnsWithin(const DrawnSegment& s, std::int64_t low, std::int64_t high) {
    if (s.y0 == s.y1) {
        return {&s,
                std::int64_t{std::min(s.x0, s.x1)} - kBandSlack,
                std::int64_t{std::max(s.x0, s.x1)} + kBandSlack,
                {}};
    }
    const auto xAt = [&](double y) {
        return s.x0 + (s.x1 - s.x0) * ((y - s.y0) / static_cast<double>(s.y1 - s.y0));
    };
    const double xa = xAt(static_cast<double>(std::max<std::int64_t>(topOf(s), low)));
    const double xb = xAt(static_cast<double>(std::min<std::int64_t>(bottomOf(s), high)));
    return {&s,
            static_cast<std::int64_t>(std::floor(std::min(xa, xb))) - kBandSlack,
            static_cast<std::int64_t>(std::ceil(std::max(xa, xb))) + kBandSlack,
            {}};
}

// Whether the segment lies wholly above the row's top edge or wholly below the bottom edge of
// its probe windows (the cells' bottom edge lies higher still), so that it meets no cell and no
// window. Many such segments along a row, within the band's slack, would otherwise be tested
// at every step across it.
//
// Along the horizontal edges the crossing test's signs are exact. Against a vertical edge that
// the segment spans, the product that decides the sign is (a1.x - a0.x) times the height
// between the edge's end and the segment at the edge's column, at least one pixel here, while
// the rounding of its two single-precision terms errs by less than 2^-24 of (a1.x - a0.x)
// times |edge.y - a0.y| + |a1.y - a0.y|, under half of it for coordinates within the file's
// bounds. A level segment's test is exact for any coordinates.
bool liesOffRow(const DrawnSegment& s, std::int64_t top) {
    const bool off = bottomOf(s) < top || topOf(s) > top + 16;
    if (!off || s.y0 == s.y1) {
        return off;
    }
    const auto within = [](std::int32_t v) { return v >= kMinCoordinate && v <= kMaxCoordinate; };
    return within(s.x0) && within(s.y0) && within(s.x1) && within(s.y1);
}

// Sorts by column, stably. Columns of one row mostly lie within a span not much wider than
// there are segments, where counting them into place beats comparing.
void sortByColumn(std::vector<BandCursor::Entry>& entries) {
    if (entries.size() < 64) {
        std::ranges::stable_sort(entries, {}, &BandCursor::Entry::column);
        return;
    }
    const auto [lowest, highest] = std::ranges::minmax(entries, {}, &BandCursor::Entry::column);
    const std::int64_t low = lowest.column;
    const std::int64_t span = highest.column - low + 1;
    if (span > static_cast<std::int64_t>(8 * entries.size())) {
        std::ranges::stable_sort(entries, {}, &BandCursor::Entry::column);
        return;
    }
    std::vector<std::uint32_t> starts(static_cast<std::size_t>(span) + 1, 0);
    for (const auto& e : entries) {
        ++starts[static_cast<std::size_t>(e.column - low) + 1];
    }
    for (std::size_t i = 1; i < starts.size(); ++i) {
        starts[i] += starts[i - 1];
    }
    std::vector<BandCursor::Entry> sorted(entries.size());
    for (const auto& e : entries) {
        sorted[starts[static_cast<std::size_t>(e.column - low)]++] = e;
    }
    entries.swap(sorted);
}

}  // namespace

std::vector<DrawnSegment> collectSegments(const VectorSet& vectors) {
    std::vector<DrawnSegment> segments;
    std::uint32_t order = 0;
    for (const VectorLine& line : vectors.lines) {
        const int count = std::clamp(line.count, 0, kMaxPoints);
        for (int i = 0; i + 1 < count; ++i) {
            const Point p = line.points[i];
            const Point q = line.points[i + 1];
            if (p == q) {
                continue;
            }
            segments.push_back(
                {p.x, p.y, q.x, q.y, FloatPoint{static_cast<float>(p.x), static_cast<float>(p.y)},
                 FloatPoint{static_cast<float>(q.x), static_cast<float>(q.y)}, order++});
        }
    }
    return segments;
}

DistinctSegments::DistinctSegments(const VectorSet& vectors)
    : DistinctSegments(collectSegments(vectors)) {}

DistinctSegments::DistinctSegments(std::vector<DrawnSegment> all) {
    // Copies next to each other, each run in drawing order.
    struct Keyed {
        std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t> ends;
        std::uint32_t index;
    };
    std::vector<Keyed> byEnds;
    byEnds.reserve(all.size());
    for (const DrawnSegment& s : all) {
        byEnds.push_back({{s.x0, s.y0, s.x1, s.y1}, s.order});
    }
    std::ranges::sort(byEnds, {}, [](const Keyed& k) { return std::tie(k.ends, k.index); });
    // Where each first copy's run begins in byEnds; none for the other copies.
    constexpr auto kNotFirst = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> runOf(all.size(), kNotFirst);
    for (std::uint32_t i = 0; i < byEnds.size(); ++i) {
        if (i == 0 || byEnds[i].ends != byEnds[i - 1].ends) {
            runOf[byEnds[i].index] = i;
        }
    }
    copyStarts_.reserve(all.size() + 1);
    copies_.reserve(all.size());
    for (std::uint32_t i = 0; i < all.size(); ++i) {
        if (runOf[i] == kNotFirst) {
            continue;
        }
        segments_.push_back(all[i]);
        copyStarts_.push_back(static_cast<std::uint32_t>(copies_.size()));
        for (std::uint32_t k = runOf[i];
             k < byEnds.size() && byEnds[k].ends == byEnds[runOf[i]].ends; ++k) {
            copies_.push_back(byEnds[k].index);
        }
    }
    copyStarts_.push_back(static_cast<std::uint32_t>(copies_.size()));
}

std::span<const std::uint32_t> DistinctSegments::copiesOf(const DrawnSegment& segment) const {
    const auto i = static_cast<std::size_t>(&segment - segments_.data());
    return std::span(copies_).subspan(copyStarts_[i], copyStarts_[i + 1] - copyStarts_[i]);
}

RowBands::RowBands(const DistinctSegments& segments) : segments_(segments) {
    byTop_.reserve(segments.segments().size());
    for (const DrawnSegment& s : segments.segments()) {
        byTop_.push_back(&s);
    }
    std::ranges::stable_sort(byTop_, {}, [](const DrawnSegment* s) { return topOf(*s); });
}

std::span<const BandSegment> RowBands::bandAt(std::int64_t top) {
    const std::int64_t low = top - kBandSlack;
    const std::int64_t high = top + 16 + kBandSlack;
    std::erase_if(inReach_, [&](const DrawnSegment* s) { return bottomOf(*s) < low; });
    entering_.clear();
    while (nextToEnter_ < byTop_.size() && topOf(*byTop_[nextToEnter_]) <= high) {
        entering_.push_back(byTop_[nextToEnter_++]);
    }
    if (!entering_.empty()) {
        // Both stay in drawing order: the few that enter are sorted and merged in.
        const auto byOrder = [](const DrawnSegment* a, const DrawnSegment* b) {
            return a->order < b->order;
        };
        std::ranges::sort(entering_, byOrder);
        const auto middle = static_cast<std::ptrdiff_t>(inReach_.size());
        inReach_.insert(inReach_.end(), entering_.begin(), entering_.end());
        std::inplace_merge(inReach_.begin(), inReach_.begin() + middle, inReach_.end(), byOrder);
    }
    band_.clear();
    for (const DrawnSegment* s : inReach_) {
        if (liesOffRow(*s, top)) {
            continue;
        }
        BandSegment& b = band_.emplace_back(columnsWithin(*s, low, high));
        b.copies = segments_.copiesOf(*s);
    }
    return band_;
}

BandCursor::BandCursor(std::span<const BandSegment> band)
    : band_(band), kept_((band.size() + 63) / 64), firstWord_(kept_.size()) {
    byLeft_.reserve(band.size());
    byRight_.reserve(band.size());
    for (std::size_t i = 0; i < band.size(); ++i) {
        byLeft_.push_back({band[i].left, static_cast<std::uint32_t>(i)});
        byRight_.push_back({band[i].right, static_cast<std::uint32_t>(i)});
    }
    sortByColumn(byLeft_);
    sortByColumn(byRight_);
}

void BandCursor::advance(std::int64_t left, std::int64_t right) {
    while (next_ < byLeft_.size() && byLeft_[next_].column <= right) {
        const std::uint32_t place = byLeft_[next_++].place;
        kept_[place / 64] |= std::uint64_t{1} << (place % 64);
        firstWord_ = std::min<std::size_t>(firstWord_, place / 64);
    }
    // A segment that ends before `left` came in no later than this call: its left lies before
    // its right, and so before `right`.
    bool letGo = false;
    while (nextToGo_ < byRight_.size() && byRight_[nextToGo_].column < left) {
        const std::uint32_t place = byRight_[nextToGo_++].place;
        kept_[place / 64] &= ~(std::uint64_t{1} << (place % 64));
        letGo = true;
    }
    if (letGo) {
        while (firstWord_ < kept_.size() && kept_[firstWord_] == 0) {
            ++firstWord_;
        }
    }
}

std::int64_t BandCursor::nextLeftBeyond(std::int64_t right) const {
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    for (const BandSegment* b : segments()) {
        if (b->left > right) {
            next = std::min(next, b->left);
        }
    }
    if (next_ < byLeft_.size()) {
        next = std::min(next, byLeft_[next_].column);
    }
    return next;
}

}  // namespace penmoji
