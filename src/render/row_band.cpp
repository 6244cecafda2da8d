#include "render/row_band.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace penmoji {
namespace {

std::int32_t topOf(const DrawnSegment& s) { return std::min(s.y0, s.y1); }
std::int32_t bottomOf(const DrawnSegment& s) { return std::max(s.y0, s.y1); }

// The columns the segment covers between rows `low` and `high`, widened by the slack.
BandSegment columnsWithin(const DrawnSegment& s, std::int64_t low, std::int64_t high) {
    if (s.y0 == s.y1) {
        return {&s, std::int64_t{std::min(s.x0, s.x1)} - kBandSlack,
                std::int64_t{std::max(s.x0, s.x1)} + kBandSlack};
    }
    const auto xAt = [&](double y) {
        return s.x0 + (s.x1 - s.x0) * ((y - s.y0) / static_cast<double>(s.y1 - s.y0));
    };
    const double xa = xAt(static_cast<double>(std::max<std::int64_t>(topOf(s), low)));
    const double xb = xAt(static_cast<double>(std::min<std::int64_t>(bottomOf(s), high)));
    return {&s, static_cast<std::int64_t>(std::floor(std::min(xa, xb))) - kBandSlack,
            static_cast<std::int64_t>(std::ceil(std::max(xa, xb))) + kBandSlack};
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
            segments.push_back({p.x, p.y, q.x, q.y,
                                FloatPoint{static_cast<float>(p.x), static_cast<float>(p.y)},
                                FloatPoint{static_cast<float>(q.x), static_cast<float>(q.y)},
                                order++});
        }
    }
    return segments;
}

RowBands::RowBands(std::span<const DrawnSegment> segments) {
    byTop_.reserve(segments.size());
    for (const DrawnSegment& s : segments) {
        byTop_.push_back(&s);
    }
    std::ranges::stable_sort(byTop_, {}, [](const DrawnSegment* s) { return topOf(*s); });
}

std::span<const BandSegment> RowBands::bandAt(std::int64_t top) {
    const std::int64_t low = top - kBandSlack;
    const std::int64_t high = top + 16 + kBandSlack;
    while (nextToEnter_ < byTop_.size() && topOf(*byTop_[nextToEnter_]) <= high) {
        inReach_.push_back(byTop_[nextToEnter_++]);
    }
    std::erase_if(inReach_, [&](const DrawnSegment* s) { return bottomOf(*s) < low; });

    band_.clear();
    for (const DrawnSegment* s : inReach_) {
        band_.push_back(columnsWithin(*s, low, high));
    }
    std::ranges::sort(band_, {}, &BandSegment::left);
    return band_;
}

void BandCursor::advance(std::int64_t left, std::int64_t right) {
    while (next_ < band_.size() && band_[next_].left <= right) {
        const BandSegment* entering = &band_[next_++];
        const std::uint32_t order = entering->segment->order;
        const auto at = std::ranges::upper_bound(activeOrders_, order) - activeOrders_.begin();
        activeOrders_.insert(activeOrders_.begin() + at, order);
        active_.insert(active_.begin() + at, entering);
        ends_.push(entering->right);
    }
    while (!ends_.empty() && ends_.top() < left) {
        ends_.pop();
        ++ended_;
    }
    // Letting go costs a pass over all kept segments: do it once half of them have ended.
    if (ended_ * 2 > active_.size()) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < active_.size(); ++i) {
            if (active_[i]->right >= left) {
                active_[kept] = active_[i];
                activeOrders_[kept++] = activeOrders_[i];
            }
        }
        active_.resize(kept);
        activeOrders_.resize(kept);
        ended_ = 0;
    }
}

std::int64_t BandCursor::nextLeftBeyond(std::int64_t right) const {
    std::int64_t next = std::numeric_limits<std::int64_t>::max();
    for (const BandSegment* b : active_) {
        if (b->left > right) {
            next = std::min(next, b->left);
        }
    }
    if (next_ < band_.size()) {
        next = std::min(next, band_[next_].left);
    }
    return next;
}

}  // namespace penmoji
