// SPDX-License-Identifier: MIT
#include "render/fine_matcher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "render/fine_glyph_bitmaps.h"
#include "render/fine_line_band.h"

namespace penmoji {
namespace {

// Costs, in units of a quarter of a line pixel left uncovered.
constexpr std::int32_t kMissCost = 4;       // a line pixel of the row's own rows left uncovered
constexpr std::int32_t kEdgeAboveGain = 4;  // covering what the row above left of its rows
constexpr std::int32_t kEdgeBelowGain = 2;  // covering a pixel the row below could also cover
constexpr std::int32_t kFarInkCost = 3;     // a pixel of ink more than two pixels from any line

constexpr std::int32_t kUnreached = std::numeric_limits<std::int32_t>::max() / 2;
constexpr int kRows = FineLineBand::kRows;
constexpr int kAbove = FineLineBand::kAbove;

// Band rows are handled in pairs, row 2k in the low and row 2k + 1 in the high half of a word,
// to mark what a placed character covers.
constexpr int kPairs = kRows / 2;
using PairRows = std::array<std::uint64_t, kPairs>;

// A pen position is judged on sixteen columns only, from the pen on: every character's ink, and
// every pixel it is credited for, lies there. Four such rows share a word, row r in bits
// 16 * (r % 4) of word r / 4, so that a character is weighed in a handful of population counts.
constexpr int kJudgedColumns = 16;
constexpr int kOwnWords = 16 / 4;      // the row's own sixteen rows
constexpr int kBandWords = kRows / 4;  // the band's rows, two above the row and two below
using OwnRows = std::array<std::uint64_t, kOwnWords>;
using BandRows = std::array<std::uint64_t, kBandWords>;
static_assert(kRows % 4 == 0 && kAbove == 2);

// The band's first two rows, and its last two, in their words.
constexpr std::uint64_t kRowsAbove = 0x0000'0000'ffff'ffff;
constexpr std::uint64_t kRowsBelow = 0xffff'ffff'0000'0000;

// The judged columns of a 32-column window row that starts kFineInkLeft columns left of the pen.
std::uint64_t judged(std::uint32_t windowRow) {
    return (windowRow >> kFineInkLeft) & ((std::uint32_t{1} << kJudgedColumns) - 1);
}

template <std::size_t N>
void setQuarter(std::array<std::uint64_t, N>& rows, int r, std::uint64_t bits) {
    rows[static_cast<std::size_t>(r / 4)] |= bits << (kJudgedColumns * (r % 4));
}

// A character of the fine table with its pixels in band rows (row r is canvas row top - 2 + r),
// in 32-column windows starting kFineInkLeft columns left of the pen.
struct Candidate {
    std::int32_t code = 0;
    std::int32_t width = 0;
    int inkCount = 0;
    // The pixels within two pixels of the ink, which a placed character marks as covered.
    PairRows reach{};
};

// A candidate's judged pixels, as its cost at a pen position reads them.
struct JudgedPixels {
    OwnRows ink{};
    // The pixels within two pixels of the ink in the character's own columns, which alone it is
    // credited for covering.
    BandRows ownReach{};
    std::int32_t inkCost = 0;  // kFarInkCost * inkCount
};

// The candidates of one width, fewest ink pixels first, and beside them their judged pixels,
// so that the scan over a group reads memory in order.
struct WidthGroup {
    std::int32_t width = 0;
    std::uint64_t ownColumns = 0;  // in every quarter
    std::uint64_t inkColumns = 0;  // where the group's characters may set ink, in every quarter
    std::vector<Candidate> candidates;
    std::vector<JudgedPixels> judged;
};

inline int bitCount(std::uint64_t v) {
    return std::popcount(v);
}

std::uint32_t shifted(std::uint32_t bits, int dx) {
    return dx >= 0 ? bits << dx : bits >> -dx;
}

void setRow(PairRows& rows, int r, std::uint32_t bits) {
    rows[static_cast<std::size_t>(r / 2)] |= std::uint64_t{bits} << (32 * (r % 2));
}

std::uint64_t inEveryQuarter(std::uint64_t bits) {
    return bits * 0x0001'0001'0001'0001;
}

Candidate candidateOf(const FineGlyph& glyph, JudgedPixels& packed) {
    Candidate c;
    c.code = glyph.code;
    c.width = glyph.width;
    std::array<std::uint32_t, kRows> ink{};
    for (int y = 0; y < 16; ++y) {
        const std::uint32_t row = glyph.ink[static_cast<std::size_t>(y)];
        // The table is measured so: ink left of the pen's column kFineInkLeft or beyond
        // sixteen columns would go unseen.
        assert(judged(row) << kFineInkLeft == row);
        ink[static_cast<std::size_t>(y + kAbove)] = row;
        setQuarter(packed.ink, y, judged(row));
        c.inkCount += bitCount(row);
    }
    packed.inkCost = kFarInkCost * c.inkCount;
    const std::uint32_t own = ((std::uint32_t{1} << glyph.width) - 1) << kFineInkLeft;
    for (int r = 0; r < kRows; ++r) {
        std::uint32_t reach = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            const int from = r + dy;
            if (from < 0 || from >= kRows) {
                continue;
            }
            const int span = dy == 0 ? 2 : (dy == 1 || dy == -1 ? 1 : 0);
            for (int dx = -span; dx <= span; ++dx) {
                reach |= shifted(ink[static_cast<std::size_t>(from)], dx);
            }
        }
        setRow(c.reach, r, reach);
        setQuarter(packed.ownReach, r, judged(reach & own));
    }
    return c;
}

std::vector<WidthGroup> candidateGroups() {
    std::vector<WidthGroup> groups;
    for (const FineGlyph& glyph : fineGlyphs()) {
        auto group = std::ranges::find(groups, glyph.width, &WidthGroup::width);
        if (group == groups.end()) {
            const std::uint64_t own = (std::uint64_t{1} << glyph.width) - 1;
            groups.push_back({glyph.width, inEveryQuarter(own), 0, {}, {}});
            group = groups.end() - 1;
        }
        group->candidates.push_back(candidateOf(glyph, group->judged.emplace_back()));
        for (std::uint32_t row : glyph.ink) {
            group->inkColumns |= inEveryQuarter(judged(row));
        }
    }
    for (WidthGroup& group : groups) {
        std::vector<std::size_t> order(group.candidates.size());
        for (std::size_t k = 0; k < order.size(); ++k) {
            order[k] = k;
        }
        std::ranges::stable_sort(order, {},
                                 [&](std::size_t k) { return group.candidates[k].inkCount; });
        WidthGroup sorted{group.width, group.ownColumns, group.inkColumns, {}, {}};
        for (const std::size_t k : order) {
            sorted.candidates.push_back(group.candidates[k]);
            sorted.judged.push_back(group.judged[k]);
        }
        group = std::move(sorted);
    }
    return groups;
}

// What one pen position sees in its judged columns: the uncovered line pixels of the band and
// the pixels of the row's own rows near a line.
struct Window {
    BandRows missing{};
    OwnRows near{};
};

Window windowAt(const FineLineBand& band, std::int64_t x) {
    Window w;
    const std::int64_t column = x - kFineInkLeft;
    for (int r = 0; r < kRows; ++r) {
        setQuarter(w.missing, r, judged(band.missingAt(r, column)));
    }
    for (int r = 0; r < 16; ++r) {
        setQuarter(w.near, r, judged(band.nearAt(r + kAbove, column)));
    }
    return w;
}

// The candidate's cost at a pen position, apart from the gap it follows: its ink away from
// every line, less what it saves by covering uncovered line pixels (rows above the row weigh
// as the row's own, those below less, as the row below could cover them too).
inline std::int32_t placedCost(const JudgedPixels& c, const Window& w) {
    static_assert(kOwnWords == 4 && kBandWords == 5);
    static_assert(kEdgeAboveGain <= kMissCost && kEdgeBelowGain <= kMissCost);
    const std::int32_t nearInk = bitCount(c.ink[0] & w.near[0]) + bitCount(c.ink[1] & w.near[1]) +
                                 bitCount(c.ink[2] & w.near[2]) + bitCount(c.ink[3] & w.near[3]);
    const std::uint64_t first = c.ownReach[0] & w.missing[0];
    const std::uint64_t last = c.ownReach[4] & w.missing[4];
    const std::int32_t covered = bitCount(first) + bitCount(c.ownReach[1] & w.missing[1]) +
                                 bitCount(c.ownReach[2] & w.missing[2]) +
                                 bitCount(c.ownReach[3] & w.missing[3]) + bitCount(last);
    return c.inkCost - kFarInkCost * nearInk - kMissCost * covered +
           (kMissCost - kEdgeAboveGain) * bitCount(first & kRowsAbove) +
           (kMissCost - kEdgeBelowGain) * bitCount(last & kRowsBelow);
}

using Placements = std::vector<std::pair<std::int64_t, const Candidate*>>;
using Pace = std::function<bool(std::int64_t)>;

// Rows wider than a window and its overlap are planned a window at a time: each window's best
// placements that end inside it are kept, and the next window starts where they end. Rows of
// drawings that fit a screen are planned whole.
constexpr std::int64_t kPlanWindow = 8192;
constexpr std::int64_t kPlanOverlap = 1024;

// The cells a row holds once its gaps are filled, counted as characters are added left to
// right: each character, and the gap before it when it does not start where the last ended.
class FilledCells {
public:
    void add(std::int64_t x, std::int32_t width) {
        count_ += x > end_ ? 2 : 1;
        end_ = x + width;
    }
    bool full() const { return count_ >= TextRow::kCellCount; }

private:
    std::size_t count_ = 0;
    std::int64_t end_ = 0;
};

struct Step {
    std::int64_t from = -1;
    std::int32_t group = -1;  // -1: none
    std::int32_t candidate = -1;
    bool fromGap = false;
};

// One row's programme. State "glyph" at x: the text so far ends at x with a character (or
// x is the row start); state "gap": it ends at x with a gap. A gap follows a character only,
// since the writer merges neighbouring gaps into one blank run.
class RowPlanner {
public:
    RowPlanner(const std::vector<WidthGroup>& groups, const ExactGaps& gaps)
        : groups_(groups), gaps_(gaps) {
        for (std::int32_t g = 1; g < ExactGaps::kExactGapLimit; ++g) {
            if (gaps.exact(g)) {
                shortGaps_.push_back(g);
            }
        }
    }

    // The placements of the best row, left to right; nothing when `pace`, asked now and then
    // with the pen position reached, answers that the rendering is to stop. A row wider than a
    // plan window is planned window by window, and only until it holds as many cells as a row
    // can and at least `boxRoom` characters: the row keeps no more, nor the box list.
    std::optional<Placements> plan(const FineLineBand& band, std::int64_t rowEnd,
                                   std::size_t boxRoom, const Pace& pace);

private:
    // The best placements between `from` and `from + length`, the text so far ending at
    // `origin` (at or left of `from`) with a character or, at 0, with the row start. No
    // character is placed after `lastPen`.
    std::optional<Placements> planSpan(const FineLineBand& band, std::int64_t origin,
                                       std::int64_t from, std::int64_t lastPen, std::int64_t length,
                                       const Pace& pace);
    std::int32_t missedBetween(std::int64_t a, std::int64_t b) const {
        return kMissCost * (prefixAt(b) - prefixAt(a));
    }
    std::int32_t prefixAt(std::int64_t x) const {
        const std::int64_t i = std::clamp<std::int64_t>(x - start_, 0, length_);
        return prefix_[static_cast<std::size_t>(i)];
    }
    std::size_t at(std::int64_t x) const { return static_cast<std::size_t>(x - start_); }
    void arriveByGap(std::int64_t y);
    void leaveByGlyphs(const FineLineBand& band, std::int64_t x);

    const std::vector<WidthGroup>& groups_;
    const ExactGaps& gaps_;
    std::vector<std::int32_t> shortGaps_;
    std::int64_t origin_ = 0;
    std::int64_t start_ = 0;
    std::int64_t length_ = 0;
    std::int64_t lastPen_ = 0;
    std::vector<std::int32_t> prefix_;  // uncovered own-row pixels left of start_ + i
    std::vector<std::int32_t> bestGlyph_;
    std::vector<std::int32_t> bestGap_;
    std::vector<Step> stepGlyph_;
    std::vector<std::int64_t> stepGap_;
    std::int32_t longGapBest_ = kUnreached;
    std::int64_t longGapFrom_ = -1;
    std::vector<std::int64_t> longGapArgmin_;
};

void RowPlanner::arriveByGap(std::int64_t y) {
    const std::size_t i = at(y);
    std::int32_t best = kUnreached;
    std::int64_t from = -1;
    if (gaps_.exact(y - origin_)) {  // from the origin, which lies at or left of start_
        best = missedBetween(origin_, y);
        from = origin_;
    }
    const std::int64_t far = y - ExactGaps::kExactGapLimit;
    if (far >= start_) {
        const std::size_t f = at(far);
        if (bestGlyph_[f] < kUnreached) {
            const std::int32_t value = bestGlyph_[f] - kMissCost * prefix_[f];
            if (value < longGapBest_) {
                longGapBest_ = value;
                longGapFrom_ = far;
            }
        }
        if (longGapFrom_ >= 0 && longGapBest_ + kMissCost * prefix_[i] < best) {
            best = longGapBest_ + kMissCost * prefix_[i];
            from = longGapFrom_;
        }
    }
    for (const std::int32_t g : shortGaps_) {
        const std::int64_t x = y - g;
        if (x < start_) {
            break;
        }
        const std::int32_t origin = bestGlyph_[at(x)];
        if (origin < kUnreached) {
            const std::int32_t value = origin + kMissCost * (prefix_[i] - prefix_[at(x)]);
            if (value < best) {
                best = value;
                from = x;
            }
        }
    }
    bestGap_[i] = best;
    stepGap_[i] = from;
}

// Most of the time goes here, in counting bits: where the processor may lack a population-count
// instruction, a copy that uses it is chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("popcnt", "default")]]
#endif
void RowPlanner::leaveByGlyphs(const FineLineBand& band, std::int64_t x) {
    const std::size_t i = at(x);
    const bool afterGap = bestGap_[i] < bestGlyph_[i];
    const std::int32_t base = afterGap ? bestGap_[i] : bestGlyph_[i];
    if (base >= kUnreached || x > lastPen_) {
        return;
    }
    const Window w = windowAt(band, x);
    constexpr std::int32_t kMostGain = std::max({kMissCost, kEdgeAboveGain, kEdgeBelowGain});
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const WidthGroup& group = groups_[g];
        // A character is credited only for its own columns: with nothing to cover there it
        // could only add ink.
        int ownMissing = 0;
        for (std::uint64_t missing : w.missing) {
            ownMissing += bitCount(missing & group.ownColumns);
        }
        if (ownMissing == 0) {
            continue;
        }
        int near = 0;
        for (std::uint64_t n : w.near) {
            near += bitCount(n & group.inkColumns);
        }
        // Characters with more ink away from the lines than they could make up for are not
        // tried; as the group runs from the least ink up, they are its tail.
        std::size_t tried = 0;
        while (tried < group.candidates.size() &&
               kFarInkCost * (group.candidates[tried].inkCount - near) < kMostGain * ownMissing) {
            ++tried;
        }
        const std::int64_t end = x + group.width;
        const std::int32_t gapLike = base + missedBetween(x, end);
        const std::size_t e = at(end);
        // The first of the cheapest wins, as when each is set in turn where it does better.
        std::int32_t best = bestGlyph_[e] - gapLike;
        std::size_t chosen = tried;
        for (std::size_t k = 0; k < tried; ++k) {
            const std::int32_t value = placedCost(group.judged[k], w);
            if (value < best) {
                best = value;
                chosen = k;
            }
        }
        if (chosen < tried) {
            bestGlyph_[e] = gapLike + best;
            stepGlyph_[e] = {x, static_cast<std::int32_t>(g), static_cast<std::int32_t>(chosen),
                             afterGap};
        }
    }
}

std::optional<Placements> RowPlanner::plan(const FineLineBand& band, std::int64_t rowEnd,
                                           std::size_t boxRoom, const Pace& pace) {
    // Pens further than this from every line pixel cannot cover one.
    constexpr std::int64_t kReach = 16 + 2 + kFineInkLeft;
    const std::int64_t left = std::max<std::int64_t>(0, band.lineLeft() - kReach);
    const std::int64_t lastPen = std::min(rowEnd, band.lineRight() + kReach);
    const std::int64_t end = lastPen + 17;
    Placements placements;
    FilledCells cells;
    std::int64_t origin = 0;
    std::int64_t from = left;
    while (true) {
        if (end - from <= kPlanWindow + kPlanOverlap) {
            auto rest = planSpan(band, origin, from, lastPen, end - from, pace);
            if (rest) {
                placements.insert(placements.end(), rest->begin(), rest->end());
                return placements;
            }
            return std::nullopt;
        }
        const std::int64_t length = kPlanWindow + kPlanOverlap;
        const auto part =
            planSpan(band, origin, from, std::min(lastPen, from + length - 17), length, pace);
        if (!part) {
            return std::nullopt;
        }
        const std::int64_t windowEnd = from + kPlanWindow;
        bool kept = false;
        for (const auto& placement : *part) {
            const std::int64_t placedEnd = placement.first + placement.second->width;
            if (placedEnd > windowEnd) {
                break;
            }
            placements.push_back(placement);
            cells.add(placement.first, placement.second->width);
            origin = placedEnd;
            kept = true;
        }
        if (cells.full() && placements.size() >= boxRoom) {
            return placements;
        }
        from = kept ? origin : windowEnd;
    }
}

std::optional<Placements> RowPlanner::planSpan(const FineLineBand& band, std::int64_t origin,
                                               std::int64_t from, std::int64_t lastPen,
                                               std::int64_t length, const Pace& pace) {
    origin_ = origin;
    start_ = from;
    lastPen_ = lastPen;
    length_ = length;
    const auto size = static_cast<std::size_t>(length_ + 1);
    prefix_.assign(size, 0);
    for (std::size_t i = 1; i < size; ++i) {
        prefix_[i] =
            prefix_[i - 1] + band.missingInOwnColumn(start_ + static_cast<std::int64_t>(i) - 1);
    }
    bestGlyph_.assign(size, kUnreached);
    bestGap_.assign(size, kUnreached);
    stepGlyph_.assign(size, Step{});
    stepGap_.assign(size, -1);
    longGapBest_ = kUnreached;
    longGapFrom_ = -1;
    if (start_ == origin_) {
        bestGlyph_[0] = 0;
    }
    for (std::int64_t x = start_; x <= start_ + length_; ++x) {
        // A row of a very wide drawing can take minutes: it reports and may stop on the way.
        if ((x & 1023) == 0 && !pace(x)) {
            return std::nullopt;
        }
        if (x > origin_) {
            arriveByGap(x);
        }
        leaveByGlyphs(band, x);
    }
    // The row may end after any character; the rest of its pixels are missed.
    const std::int32_t total = prefix_[size - 1];
    std::int32_t best = kMissCost * total;
    std::int64_t end = -1;
    for (std::int64_t x = start_; x <= start_ + length_; ++x) {
        const std::int32_t glyph = bestGlyph_[at(x)];
        if (glyph < kUnreached && x > origin_) {
            const std::int32_t value = glyph + kMissCost * (total - prefix_[at(x)]);
            if (value < best) {
                best = value;
                end = x;
            }
        }
    }
    Placements placements;
    bool inGap = false;
    std::int64_t x = end;
    while (x > origin_ && x >= start_) {
        if (inGap) {
            const std::int64_t gapFrom = stepGap_[at(x)];
            inGap = false;
            x = gapFrom;
            continue;
        }
        const Step step = stepGlyph_[at(x)];
        if (step.group < 0) {
            break;
        }
        placements.emplace_back(step.from,
                                &groups_[static_cast<std::size_t>(step.group)]
                                     .candidates[static_cast<std::size_t>(step.candidate)]);
        inGap = step.fromGap;
        x = step.from;
    }
    std::ranges::reverse(placements);
    return placements;
}

}  // namespace

bool renderVectorsFine(TextRow& row, const VectorSet& vectors, const ExactGaps& gaps,
                       GlyphBoxList& boxes, ProgressReceiver& progress, RowSink& sink) {
    boxes.clearBoxes();
    const std::vector<PixelSegment> segments = pixelSegments(vectors);
    std::int64_t width = 16;
    std::int64_t height = 16;
    for (const PixelSegment& s : segments) {
        width = std::max<std::int64_t>({width, std::int64_t{s.x0} + 16, std::int64_t{s.x1} + 16});
        height = std::max<std::int64_t>(height, std::int64_t{s.y1} + 16);
    }
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i < std::clamp(line.count, 0, kMaxPoints); ++i) {
            width = std::max<std::int64_t>(width, std::int64_t{line.points[i].x} + 16);
            height = std::max<std::int64_t>(height, std::int64_t{line.points[i].y} + 16);
        }
    }
    const std::vector<WidthGroup> groups = candidateGroups();
    RowPlanner planner(groups, gaps);
    FineLineBand band(width + 32);
    const std::int64_t total = width * height;
    WorkPacer pacer(progress, total);
    for (std::int64_t top = 1; top < height; top += 16) {
        if (pacer.stopAt(top * width)) {
            return false;
        }
        row.reset();
        if (!band.startRow(top, segments, pacer, top * width)) {
            return false;
        }
        if (!band.empty()) {
            const std::size_t boxRoom = GlyphBoxList::kCapacity - boxes.boxCount();
            // Windows overlap, so the pen may come back a little: positions reported only grow.
            std::int64_t reached = 0;
            const auto placements = planner.plan(band, width, boxRoom, [&](std::int64_t x) {
                reached = std::max(reached, std::min(x, width - 1));
                return !pacer.stopAt(top * width + reached);
            });
            if (!placements) {
                return false;
            }
            for (const auto& [x, candidate] : *placements) {
                const Candidate& c = *candidate;
                for (int r = 0; r < kRows; ++r) {
                    const std::uint64_t pair = c.reach[static_cast<std::size_t>(r / 2)];
                    band.cover(r, x - kFineInkLeft,
                               static_cast<std::uint32_t>(pair >> (32 * (r % 2))));
                }
                boxes.addBox(static_cast<std::int32_t>(x), static_cast<std::int32_t>(top), c.width);
                row.placeGlyph(c.code, static_cast<std::int32_t>(x), c.width);
            }
        }
        row.fillGaps();
        row.mergeBlanks();
        sink.takeRow(row);
    }
    return true;
}

}  // namespace penmoji
