// SPDX-License-Identifier: MIT
#include "render/glyph_matcher.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <span>

#include "render/segment_geometry.h"

namespace penmoji {
namespace {

constexpr int kMaxCollected = 4;
// A pairing must cost less than this.
constexpr std::int32_t kCostLimit = 10;
// Only a glyph scoring below this can be placed.
constexpr std::int32_t kNoScore = 99999999;

// A collected segment with both halves of the pairing measures prepared.
struct PreparedSegment {
    Direction direction;
    CostEnds ends;
};

// Pairs each collected segment, in order, with the cheapest stroke of the glyph not yet taken
// whose direction is close enough; the sum of the costs when every segment found a stroke.
std::optional<std::int32_t> pairingCost(const PreparedGlyph& glyph,
                                        std::span<const PreparedSegment> collected,
                                        float threshold) {
    std::array<bool, kMaxCollected> taken{};
    std::int32_t sum = 0;
    for (const PreparedSegment& c : collected) {
        std::int32_t bestCost = kCostLimit;
        int bestStroke = -1;
        for (std::size_t j = 0; j < collected.size(); ++j) {
            if (taken[j] || !(cosineOf(c.direction, glyph.directions[j]) >= threshold)) {
                continue;
            }
            const std::int32_t cost = costBetween(c.ends, glyph.ends[j]);
            if (cost < bestCost) {
                bestCost = cost;
                bestStroke = static_cast<int>(j);
            }
        }
        if (bestStroke < 0) {
            return std::nullopt;
        }
        taken[static_cast<std::size_t>(bestStroke)] = true;
        sum += bestCost;
    }
    return sum;
}

}  // namespace

struct GlyphMatcher::Collected {
    std::array<ClippedSegment, kMaxCollected> segments{};
    int count = 0;
};

struct GlyphMatcher::CellOutcome {
    std::optional<Collected> collected;  // nothing: the cell is rejected
    bool widerRejected = false;          // every wider cell at this position is rejected too
};

const LeftClipped& SegmentAtCursor::leftClipped(std::int64_t x) {
    if (!leftClipped_) {
        leftClipped_ = clipToLeft(segment_->x0, segment_->y0, segment_->x1, segment_->y1,
                                  static_cast<std::int32_t>(x));
    }
    return *leftClipped_;
}

bool SegmentAtCursor::keptBy(std::int64_t x, std::int64_t top, std::int32_t width) {
    return clipKeepsSegment(leftClipped(x), static_cast<std::int32_t>(x),
                            static_cast<std::int32_t>(top), width);
}

std::optional<ClippedSegment> SegmentAtCursor::clippedTo(std::int64_t x, std::int64_t top,
                                                         std::int32_t width) {
    const auto cellLeft = static_cast<std::int32_t>(x);
    const auto cellTop = static_cast<std::int32_t>(top);
    const LeftClipped& clipped = leftClipped(x);
    if (clipped.x1 > x + width) {
        return clipToRest(clipped, cellLeft, cellTop, width);
    }
    if (!hasWholeClip_) {
        wholeClip_ = clipToRest(clipped, cellLeft, cellTop, width);
        hasWholeClip_ = true;
    }
    return wholeClip_;
}

GlyphMatcher::GlyphMatcher(const MatchSettings& settings)
    : threshold_(settings.innerProductThreshold) {
    int rank = 0;
    for (int strokes = 4; strokes >= 1; --strokes) {
        for (const GlyphShape& glyph : glyphGroup(strokes)) {
            const std::int32_t cellWidth = glyph.width / 16;
            auto it = std::ranges::find(widths_, cellWidth, &WidthClass::cellWidth);
            if (it == widths_.end()) {
                widths_.push_back(WidthClass{cellWidth, {}});
                it = widths_.end() - 1;
            }
            const auto bonus = static_cast<std::int32_t>(static_cast<float>(glyph.priority) *
                                                         settings.priorityScale);
            PreparedGlyph prepared;
            for (std::size_t j = 0; j < glyph.segments.size(); ++j) {
                prepared.directions[j] = directionOf(glyph.segments[j]);
                prepared.ends[j] = costEndsOf(glyph.segments[j], glyph.width);
            }
            it->byStrokeCount[static_cast<std::size_t>(strokes)].push_back(
                {&glyph, prepared, rank++, bonus});
            widestCell_ = std::max<std::int64_t>(widestCell_, cellWidth);
        }
    }
    std::ranges::sort(widths_, {}, &WidthClass::cellWidth);
}

void GlyphMatcher::startRow(std::span<const BandSegment> band, std::int64_t top) {
    // The bottom edge sits half a pixel inside the cell, as does the right edge, so that a line
    // on a cell border belongs to one cell only.
    const float edgeTop = static_cast<float>(top);
    const float edgeBottom = static_cast<float>(top + 16) - 0.5f;
    band_.clear();
    rowCrossings_.clear();
    for (const BandSegment& b : band) {
        // A level segment's crossing test is exact (each cross product is one product of exact
        // differences), so one off the cells' rows meets none of them. Lines on the boundary
        // between two rows lie in both bands; leaving them out here spares every cell of the
        // row above a walk over them.
        const DrawnSegment& s = *b.segment;
        if (s.y0 == s.y1 && (s.a0.y < edgeTop || s.a0.y > edgeBottom)) {
            continue;
        }
        band_.push_back(b);
        rowCrossings_.emplace_back(s, edgeTop, edgeBottom);
    }
    cursor_.emplace(band_);
    wholeBand_ = band_.size() == band.size();
    atCursor_.resize(band_.size());
    atCursorStamps_.assign(band_.size(), 0);
}

// The drawn segments that cross the edges of the cell `width` pixels wide, clipped to the
// cell, in drawing order; nothing when a crossing segment finds four already collected. Whether
// a segment counts is settled before any is clipped, so a rejected cell clips nothing.
//
// The copies of a segment meet the cell alike, so the cell takes their contacts in the order of
// the copies: the earliest kept ones count, and the first contact after the fourth counted
// rejects the cell. Segments come in the order of their first copies, so once the rejecting
// contact is known, no later segment can come before it.
//
// A rejection carries over to every wider cell when the rejecting segment and four counted
// before it have lasting contact: a wider cell meets them all in the same order, and still
// counts the four, because the clipped part of a segment only grows with the cell.
GlyphMatcher::CellOutcome GlyphMatcher::collectInCell(std::int64_t x, std::int64_t top,
                                                      std::int32_t width) {
    const std::int64_t right = x + width;
    const float edgeRight = static_cast<float>(right) - 0.5f;
    constexpr auto kCounted = static_cast<std::size_t>(kMaxCollected);
    // The earliest kept copies, by place; a fifth one rejects the cell.
    struct Kept {
        std::uint32_t place;
        bool lasting;
        SegmentAtCursor* segment;
    };
    std::array<Kept, kCounted + 1> kept;
    std::size_t keptCount = 0;
    const auto keep = [&](std::uint32_t place, SegmentAtCursor* segment, bool lasting) {
        std::size_t i = std::min(keptCount, kCounted);
        if (keptCount > kCounted && kept[i].place < place) {
            return;
        }
        for (; i > 0 && kept[i - 1].place > place; --i) {
            kept[i] = kept[i - 1];
        }
        kept[i].place = place;
        kept[i].lasting = lasting;
        kept[i].segment = segment;
        keptCount = std::min(keptCount + 1, kCounted + 1);
    };
    uncounted_.clear();
    // The contact that rejects the cell, by its place; none while it is the largest.
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t rejectingPlace = kNone;
    bool rejectingLasting = false;
    for (const BandSegment* b : cursor_->segments()) {
        if (b->left > right || b->right < x) {
            continue;
        }
        if (b->segment->order > rejectingPlace) {
            break;
        }
        SegmentAtCursor& segment = atCursor(b, x);
        const CellCrossing::Contact contact = segment.crossing().contactWith(edgeRight);
        if (contact == CellCrossing::Contact::none) {
            continue;
        }
        const std::uint32_t first = b->segment->order;
        const bool lasting = contact == CellCrossing::Contact::lasting;
        const bool afterFourth = keptCount >= kCounted && first > kept[kCounted - 1].place;
        if (!afterFourth && segment.keptBy(x, top, width)) {
            for (const std::uint32_t place :
                 b->copies.first(std::min(b->copies.size(), kCounted + 1))) {
                keep(place, &segment, lasting);
            }
        } else {
            uncounted_.push_back({b->copies, lasting});
        }
        if (keptCount >= kCounted) {
            const std::uint32_t fourth = kept[kCounted - 1].place;
            rejectingPlace = keptCount > kCounted ? kept[kCounted].place : kNone;
            rejectingLasting = keptCount > kCounted && kept[kCounted].lasting;
            for (const Contact& u : uncounted_) {
                const auto later = std::ranges::upper_bound(u.copies, fourth);
                if (later != u.copies.end() && *later < rejectingPlace) {
                    rejectingPlace = *later;
                    rejectingLasting = u.lasting;
                }
            }
        }
    }
    if (rejectingPlace != kNone) {
        const bool countedLasting = std::all_of(kept.begin(), kept.begin() + kCounted,
                                                [](const Kept& c) { return c.lasting; });
        return {std::nullopt, rejectingLasting && countedLasting};
    }
    Collected collected;
    for (std::size_t i = 0; i < keptCount; ++i) {
        collected.segments[i] = *kept[i].segment->clippedTo(x, top, width);
    }
    collected.count = static_cast<int>(keptCount);
    return {collected, false};
}

SegmentAtCursor& GlyphMatcher::atCursor(const BandSegment* b, std::int64_t x) {
    const auto index = static_cast<std::size_t>(b - band_.data());
    if (atCursorStamps_[index] != cursorStamp_) {
        atCursor_[index] = SegmentAtCursor(*b->segment, rowCrossings_[index], x);
        atCursorStamps_[index] = cursorStamp_;
    }
    return atCursor_[index];
}

const GlyphShape* GlyphMatcher::bestGlyphAt(std::int64_t x, std::int64_t top, std::int64_t room) {
    cursor_->advance(x, x + widestCell_);
    ++cursorStamp_;
    const Candidate* best = nullptr;
    std::int32_t bestScore = kNoScore;
    for (const WidthClass& width : widths_) {
        if (width.cellWidth > room) {
            break;  // widths run from narrow to wide
        }
        const CellOutcome outcome = collectInCell(x, top, width.cellWidth);
        if (outcome.widerRejected) {
            break;  // widths run from narrow to wide
        }
        const auto& collected = outcome.collected;
        if (!collected || collected->count == 0) {
            continue;
        }
        const auto& candidates = width.byStrokeCount[static_cast<std::size_t>(collected->count)];
        if (candidates.empty()) {
            continue;
        }
        std::array<PreparedSegment, kMaxCollected> prepared;
        for (int i = 0; i < collected->count; ++i) {
            const ClippedSegment& c = collected->segments[static_cast<std::size_t>(i)];
            prepared[static_cast<std::size_t>(i)] = {directionOf(c),
                                                     costEndsOf(c, width.cellWidth)};
        }
        const auto segments = std::span(prepared).first(static_cast<std::size_t>(collected->count));
        for (const Candidate& candidate : candidates) {
            const auto cost = pairingCost(candidate.prepared, segments, threshold_);
            if (!cost) {
                continue;
            }
            const std::int32_t score = *cost - candidate.bonus;
            if (score < bestScore ||
                (best != nullptr && score == bestScore && candidate.trialRank < best->trialRank)) {
                best = &candidate;
                bestScore = score;
            }
        }
    }
    return best ? best->glyph : nullptr;
}

}  // namespace penmoji
