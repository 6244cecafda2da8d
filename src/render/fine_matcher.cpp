// SPDX-License-Identifier: MIT
#include "render/fine_matcher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "render/fine_glyph_bitmaps.h"
#include "render/fine_line_band.h"

namespace penmoji {
namespace {

// What the programme weighs, in units of a twenty-fourth of a line pixel left uncovered.
struct FineCosts {
    std::int32_t miss;           // a line pixel of the row's own rows left uncovered
    std::int32_t edgeAboveGain;  // covering what the row above left of its rows
    std::int32_t edgeBelowGain;  // covering a pixel the row below could also cover
    std::int32_t farInk;         // a pixel of ink more than two pixels from any line
    // Ink passing a line two pixels off reads as wobble: a line pixel with no ink within one
    // pixel gains this much less for being covered, unless no clean stroke could meet it closer
    // (unmetLevels).
    std::int32_t offCoverLoss;
    // A line pixel in the two rows below the row that the row's ink passes two pixels off gains
    // only this: the row below may meet it within a pixel.
    std::int32_t edgeBelowPassGain;
    // Ink near a line whose stroke runs across it (near no line of its own direction class)
    // reads as a tick on the line, not as the line.
    std::int32_t crossInk;
    // Solid ink reads as a blot on the line however near it lies: each of its pixels costs
    // this on top (a character's own cost, so the scans need not count it).
    std::int32_t blotInk;
};
// Weighed on the quality drawings: a larger loss for ink two pixels off, or any cost for ink
// one pixel further than the nearest, holds characters to the line but leaves level and upright
// lines whose rows no character meets within a pixel broken or ticked. Ink away from the lines
// costs as much as a pixel missed: any less, and bold box strokes crowd out the strokes that
// cross a level line.
constexpr FineCosts kCosts{24, 24, 12, 24, 5, 0, 2, 8};
constexpr std::int32_t kMissCost = kCosts.miss;

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
    int blotCount = 0;  // ink pixels in solid ink (kBlotInk)
    // The pixels within two pixels of the ink, which a placed character marks as covered.
    PairRows reach{};
};

// A candidate's judged pixels, as its cost at a pen position reads them.
struct JudgedPixels {
    OwnRows ink{};
    // The ink whose stroke runs in each direction class (ink without a clear direction, a dot
    // or a corner, is in none; a blot is in all, as it runs across every line).
    std::array<OwnRows, kStrokeDirections> inkDirected{};
    // The pixels within two pixels of the ink in the character's own columns, which alone it is
    // credited for covering, and those within one pixel.
    BandRows ownReach{};
    BandRows ownPassing{};
};

// The judged pixels of a width's candidates, word i of each side by side, so that several
// candidates are weighed at once where the processor can; padded with empty candidates to a
// multiple of kLanes. The words of each kLanes candidates lie together: those every candidate
// is weighed by (the ink, the pixels it reaches), and apart from them those read only for the
// few candidates that could be the cheapest (the ink by direction, the pixels only passed).
constexpr std::size_t kLanes = 8;
constexpr std::size_t kBaseWords = kOwnWords + kBandWords;
constexpr std::size_t kDirectedWords = kStrokeDirections * kOwnWords;
constexpr std::size_t kRestWords = kDirectedWords + kBandWords;
struct JudgedWords {
    std::vector<std::int64_t> inkCost;  // kCosts.farInk * inkCount + kCosts.blotInk * blotCount
    std::vector<std::uint64_t> base;
    std::vector<std::uint64_t> rest;

    // Word j of the base (j = i: word i of the ink; j = kOwnWords + i: word i of the pixels
    // reached) of candidate k, the next candidates' following.
    const std::uint64_t* baseAt(std::size_t j, std::size_t k) const {
        return base.data() + ((k / kLanes) * kBaseWords + j) * kLanes + k % kLanes;
    }

    // Word j of the rest (j = 4 d + i: word i of the ink of direction class d; then word i of
    // the pixels only passed) of candidate k, the next candidates' following.
    const std::uint64_t* restAt(std::size_t j, std::size_t k) const {
        return rest.data() + ((k / kLanes) * kRestWords + j) * kLanes + k % kLanes;
    }

    void add(const JudgedPixels& pixels, std::int64_t cost) {
        const std::size_t k = inkCost.size();
        if (k % kLanes == 0) {
            base.resize(base.size() + kBaseWords * kLanes, 0);
            rest.resize(rest.size() + kRestWords * kLanes, 0);
        }
        const auto setBase = [&](std::size_t j, std::uint64_t word) {
            base[((k / kLanes) * kBaseWords + j) * kLanes + k % kLanes] = word;
        };
        const auto setRest = [&](std::size_t j, std::uint64_t word) {
            rest[((k / kLanes) * kRestWords + j) * kLanes + k % kLanes] = word;
        };
        for (std::size_t i = 0; i < kOwnWords; ++i) {
            setBase(i, pixels.ink[i]);
            for (std::size_t d = 0; d < kStrokeDirections; ++d) {
                setRest(d * kOwnWords + i, pixels.inkDirected[d][i]);
            }
        }
        for (std::size_t i = 0; i < kBandWords; ++i) {
            setBase(kOwnWords + i, pixels.ownReach[i]);
            setRest(kDirectedWords + i, pixels.ownPassing[i]);
        }
        inkCost.push_back(cost);
    }
};

// The candidates of one width, fewest ink pixels first.
struct WidthGroup {
    std::int32_t width = 0;
    std::uint64_t ownColumns = 0;  // in every quarter
    std::uint64_t inkColumns = 0;  // where the group's characters may set ink, in every quarter
    std::vector<Candidate> candidates;
    std::vector<int> inkCounts;  // the candidates'
    JudgedWords judged;
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

// Solid ink, with nearly every pixel within two pixels set, runs no way: it reads as a blot.
constexpr int kBlotInk = kStrokeDirections;

// The direction class of the stroke through ink pixel (x, y) of a glyph: the main axis of the
// glyph's ink within two pixels of it, or where the ink spreads about evenly, kBlotInk when it
// is solid and -1 otherwise (a dot, a corner, a crossing). The quality measure reads the ink's
// direction the same way.
int inkDirectionAt(const FineGlyph& glyph, int x, int y) {
    constexpr int kBlotPixels = 11;  // of the 13 within two pixels
    constexpr int kSpan = 2;
    constexpr double kDirectedRatio = 0.35;  // least to most spread, above it no direction
    double sxx = 0;
    double syy = 0;
    double sxy = 0;
    int pixels = 0;
    for (int dy = -kSpan; dy <= kSpan; ++dy) {
        for (int dx = -kSpan; dx <= kSpan; ++dx) {
            const int px = x + dx;
            const int py = y + dy;
            if (dx * dx + dy * dy > kSpan * kSpan || px < 0 || px >= 32 || py < 0 || py >= 16 ||
                (glyph.ink[static_cast<std::size_t>(py)] >> px & 1U) == 0) {
                continue;
            }
            sxx += dx * dx;
            syy += dy * dy;
            sxy += dx * dy;
            ++pixels;
        }
    }
    // The ink's spread along its main axis and across it are mean + spread and mean - spread.
    const double mean = (sxx + syy) / 2;
    const double spread = std::sqrt((sxx - syy) * (sxx - syy) / 4 + sxy * sxy);
    if (mean + spread <= 0 || (mean - spread) / (mean + spread) > kDirectedRatio) {
        return pixels >= kBlotPixels ? kBlotInk : -1;
    }
    // The main axis lies at half the angle of (sxx - syy, 2 sxy): within 22.5 degrees of level
    // when that vector lies within 45 degrees of the x axis, of upright when within 45 of -x.
    if (std::abs(2 * sxy) < sxx - syy) {
        return 0;
    }
    if (std::abs(2 * sxy) < syy - sxx) {
        return 2;
    }
    return sxy > 0 ? 1 : 3;
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
        for (int x = 0; x < 32; ++x) {
            if ((row >> x & 1U) != 0) {
                const int direction = inkDirectionAt(glyph, x, y);
                c.blotCount += direction == kBlotInk ? 1 : 0;
                for (int d = 0; d < kStrokeDirections; ++d) {
                    if (direction == d || direction == kBlotInk) {
                        setQuarter(packed.inkDirected[static_cast<std::size_t>(d)], y,
                                   judged(std::uint32_t{1} << x));
                    }
                }
            }
        }
    }
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
        std::uint32_t touch = ink[static_cast<std::size_t>(r)];
        touch |= shifted(touch, 1) | shifted(touch, -1);
        if (r > 0) {
            touch |= ink[static_cast<std::size_t>(r - 1)];
        }
        if (r + 1 < kRows) {
            touch |= ink[static_cast<std::size_t>(r + 1)];
        }
        setRow(c.reach, r, reach);
        setQuarter(packed.ownReach, r, judged(reach & own));
        setQuarter(packed.ownPassing, r, judged(reach & ~touch & own));
    }
    return c;
}

std::vector<WidthGroup> candidateGroups() {
    std::vector<WidthGroup> groups;
    std::vector<std::vector<JudgedPixels>> pixels;
    for (const FineGlyph& glyph : fineGlyphs()) {
        auto group = std::ranges::find(groups, glyph.width, &WidthGroup::width);
        if (group == groups.end()) {
            const std::uint64_t own = (std::uint64_t{1} << glyph.width) - 1;
            groups.push_back({glyph.width, inEveryQuarter(own), 0, {}, {}, {}});
            pixels.emplace_back();
            group = groups.end() - 1;
        }
        auto& judgedPixels = pixels[static_cast<std::size_t>(group - groups.begin())];
        group->candidates.push_back(candidateOf(glyph, judgedPixels.emplace_back()));
        for (std::uint32_t row : glyph.ink) {
            group->inkColumns |= inEveryQuarter(judged(row));
        }
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
        WidthGroup& group = groups[g];
        std::vector<std::size_t> order(group.candidates.size());
        for (std::size_t k = 0; k < order.size(); ++k) {
            order[k] = k;
        }
        std::ranges::stable_sort(order, {},
                                 [&](std::size_t k) { return group.candidates[k].inkCount; });
        std::vector<Candidate> sorted;
        for (const std::size_t k : order) {
            sorted.push_back(group.candidates[k]);
            group.inkCounts.push_back(group.candidates[k].inkCount);
            const Candidate& c = group.candidates[k];
            group.judged.add(pixels[g][k],
                             kCosts.farInk * c.inkCount + kCosts.blotInk * c.blotCount);
        }
        while (group.judged.inkCost.size() % kLanes != 0) {
            group.judged.add({}, 0);
        }
        group.candidates = std::move(sorted);
    }
    return groups;
}

// The heights below a row's top (bit h for h = 0 to 15) that no character meets within a pixel
// with a clean level stroke: ink of at least kLeastStroke pixels side by side, and no ink
// outside two neighbouring rows. A level line there can only be met by dots or by characters
// with ink off the line, so passing it two pixels off costs it nothing more.
std::uint32_t unmetLevels() {
    constexpr int kLeastStroke = 4;
    std::uint32_t met = 0;
    for (const FineGlyph& glyph : fineGlyphs()) {
        int first = 16;
        int last = -1;
        bool stroke = false;
        for (int y = 0; y < 16; ++y) {
            const std::uint32_t row = glyph.ink[static_cast<std::size_t>(y)];
            if (row == 0) {
                continue;
            }
            first = std::min(first, y);
            last = y;
            std::uint32_t run = row;
            for (int i = 1; i < kLeastStroke; ++i) {
                run &= row >> i;
            }
            stroke = stroke || run != 0;
        }
        if (stroke && last - first <= 1) {
            for (int h = std::max(first - 1, 0); h <= std::min(last + 1, 15); ++h) {
                met |= std::uint32_t{1} << h;
            }
        }
    }
    return ~met & 0xffff;
}

// The band's rows as a span's pen positions read them, copied once for the span: the band
// does not change while a span is planned, and reading each window's rows afresh from the band
// took much of the time. Rows: the uncovered line pixels of the band's rows, the pixels near a
// line of the row's own rows, and for each direction class the pixels near a line but near none
// of that class.
class SpanRows {
public:
    static constexpr int kMissing = 0;
    static constexpr int kNear = kMissing + kRows;
    static constexpr int kCrossing = kNear + 16;  // then 16 rows for each direction class
    // Then for each of the row's own rows, the uncovered pixels of level lines only, where the
    // row's height is in `unmetLevels` (empty elsewhere).
    static constexpr int kWaived = kCrossing + 16 * kStrokeDirections;
    static constexpr int kCount = kWaived + 16;

    // Pen positions from `from` to `lastPen`. `unmetLevels` has bit h set when no character
    // meets a level line h rows below a row's top within a pixel without ink off the line.
    void read(const FineLineBand& band, std::int64_t from, std::int64_t lastPen,
              std::uint32_t unmetLevels) {
        from_ = from;
        unmetLevels_ = unmetLevels;
        // Each pen position reads sixteen columns; two more words keep every read inside.
        words_ = static_cast<std::size_t>(std::max<std::int64_t>(lastPen - from + 16, 0) / 64 + 2);
        bits_.assign(words_ * kCount, 0);
        for (std::size_t j = 0; 32 * j < 64 * (words_ - 1); ++j) {
            const std::int64_t column = from + static_cast<std::int64_t>(32 * j);
            if (column > lastPen + 15) {
                break;
            }
            // Only pens with an uncovered line pixel in their sixteen columns read the rows:
            // those reading these 32 columns have theirs within 16 columns of them.
            if (band.missingColumns(column - 16) == 0) {
                continue;
            }
            for (int r = 0; r < kRows; ++r) {
                put(kMissing + r, j, band.missingAt(r, column));
            }
            for (std::uint32_t heights = unmetLevels; heights != 0; heights &= heights - 1) {
                const int h = std::countr_zero(heights);
                put(kWaived + h, j,
                    band.missingAt(h + kAbove, column) &
                        band.lineOnlyDirectedAt(0, h + kAbove, column));
            }
            for (int r = 0; r < 16; ++r) {
                const std::uint32_t near = band.nearAt(r + kAbove, column);
                put(kNear + r, j, near);
                for (int d = 0; d < kStrokeDirections; ++d) {
                    put(kCrossing + 16 * d + r, j,
                        near & ~band.nearDirectedAt(d, r + kAbove, column));
                }
            }
        }
    }

    // The sixteen columns from the pen at x of the 4 N rows from `row` on, into `quarters` (all
    // clear), row row + r in bits 16 (r % 4) of word r / 4. The columns' place in the rows' words
    // is worked out once for all of them.
    template <std::size_t N>
    void quartersAt(int row, std::int64_t x, std::array<std::uint64_t, N>& quarters) const {
        const auto bit = static_cast<std::size_t>(x - from_);
        const std::uint64_t* words =
            bits_.data() + static_cast<std::size_t>(row) * words_ + bit / 64;
        const unsigned shift = bit % 64;
        for (std::size_t r = 0; r < 4 * N; ++r, words += words_) {
            // The second word shifted by 64 - shift in two steps: by nothing when shift is 0.
            const std::uint64_t value =
                (words[0] >> shift | words[1] << (63 - shift) << 1) & 0xffff;
            quarters[r / 4] |= value << (kJudgedColumns * (r % 4));
        }
    }

    std::uint32_t waivedHeights() const { return unmetLevels_; }

private:
    void put(int row, std::size_t chunk, std::uint32_t bits) {
        bits_[static_cast<std::size_t>(row) * words_ + chunk / 2] |= std::uint64_t{bits}
                                                                     << (32 * (chunk % 2));
    }

    std::int64_t from_ = 0;
    std::uint32_t unmetLevels_ = 0;
    std::size_t words_ = 0;
    std::vector<std::uint64_t> bits_;
};

// What one pen position sees in its judged columns: the uncovered line pixels of the band and,
// of the row's own rows, the pixels near a line, and for each direction class the pixels near a
// line but near none of that class.
// The crossing pixels are read only when some candidate's cost needs them.
class Window {
public:
    Window(const SpanRows& rows, std::int64_t x) : rows_(rows), x_(x) {
        rows.quartersAt(SpanRows::kMissing, x, missing);
        rows.quartersAt(SpanRows::kNear, x, near);
    }

    const std::array<OwnRows, kStrokeDirections>& crossing() const {
        if (!crossingRead_) {
            for (int d = 0; d < kStrokeDirections; ++d) {
                rows_.quartersAt(SpanRows::kCrossing + 16 * d, x_,
                                 crossing_[static_cast<std::size_t>(d)]);
            }
            crossingRead_ = true;
        }
        return crossing_;
    }

    // The uncovered line pixels that lose for being only passed two pixels off: all but those
    // of level lines at heights no clean level stroke meets within a pixel.
    const BandRows& lossy() const {
        if (!lossyRead_) {
            // Only the row's own rows are waived: those below stay as missing, which lets the
            // scans take the passed pixels of the rows below from the same counts.
            lossy_ = missing;
            if (rows_.waivedHeights() != 0) {
                OwnRows waived{};
                rows_.quartersAt(SpanRows::kWaived, x_, waived);
                // The row's own rows start two band rows, half a word, down.
                for (std::size_t i = 0; i < kBandWords; ++i) {
                    const std::uint64_t low = i > 0 ? waived[i - 1] >> 32 : 0;
                    const std::uint64_t high = i < kOwnWords ? waived[i] << 32 : 0;
                    lossy_[i] &= ~(low | high);
                }
            }
            lossyRead_ = true;
        }
        return lossy_;
    }

    BandRows missing{};
    OwnRows near{};

private:
    const SpanRows& rows_;
    std::int64_t x_;
    mutable bool crossingRead_ = false;
    mutable bool lossyRead_ = false;
    mutable BandRows lossy_{};
    mutable std::array<OwnRows, kStrokeDirections> crossing_{};
};

// The candidates' costs at a pen position, apart from the gap they follow: their ink away from
// every line and near one but running across it, less what they save by covering uncovered
// line pixels (less when only passing two pixels from them;
// rows above the row weigh as the row's own, those below less, as the row below could cover
// them too). Sets costs[k] for k below `count`, and on to the next multiple of kLanes; returns
// the least of the first `count` (with none, the largest value). Only costs below `limit` are
// of use, and exact: what only adds to a cost (the ink across lines, and the lesser gain of line
// pixels only passed two pixels off) is counted only for candidates that could still be the
// cheapest.
static_assert(kOwnWords == 4 && kBandWords == 5);
static_assert(kCosts.edgeAboveGain <= kCosts.miss && kCosts.edgeBelowGain <= kCosts.miss);
static_assert(kCosts.offCoverLoss <= kCosts.edgeBelowGain);
// Only the ink count bounds which candidates are worth trying: what blots add may not lower it.
static_assert(kCosts.blotInk >= 0);
// The least cost, and below the limit the first candidate costing it.
struct Cheapest {
    std::int64_t cost = std::numeric_limits<std::int64_t>::max();
    std::size_t at = 0;
};
using CostScan = Cheapest (*)(const JudgedWords& judged, const Window& w, std::size_t count,
                              std::int64_t limit, std::int64_t* costs);

// The weights of the counts a scan makes, in the order it adds them to the ink cost.
struct ScanWeights {
    std::int32_t nearInk = -kCosts.farInk;
    std::int32_t covered = -kCosts.miss;
    std::int32_t above = kCosts.miss - kCosts.edgeAboveGain;
    std::int32_t below = kCosts.miss - kCosts.edgeBelowGain;
    // Added to the costs that could be the least only.
    std::int32_t crossingInk = kCosts.crossInk;
    std::int32_t passedOnly = kCosts.offCoverLoss;
    std::int32_t passedOnlyBelow =
        kCosts.edgeBelowGain - kCosts.edgeBelowPassGain - kCosts.offCoverLoss;
};
static_assert(kCosts.crossInk >= 0 && ScanWeights{}.passedOnly >= 0 &&
              ScanWeights{}.passedOnlyBelow >= 0);

// The costs below: the base costs of `count` candidates stand in costs, their least
// `cheapestBase`. `addRest(k, most)` adds the ink across lines to the `Block` costs from the
// k-th when one of them is at most `most`, and returns the least of them, else the largest
// value. Only blocks holding a cost that could still be the least below `limit` are completed
// so, the cheapest base's block first. Returns the least cost.
template <std::size_t Block, typename AddRest>
std::int64_t completeCheapest(const std::int64_t* costs, std::size_t count, std::int64_t limit,
                              std::int64_t cheapestBase, AddRest addRest) {
    if (cheapestBase >= limit) {
        return cheapestBase;
    }
    const auto cheapestAt =
        static_cast<std::size_t>(std::find(costs, costs + count, cheapestBase) - costs);
    const std::size_t firstBlock = cheapestAt - cheapestAt % Block;
    std::int64_t cheapest = addRest(firstBlock, limit - 1);
    for (std::size_t k = 0; k < count; k += Block) {
        if (k != firstBlock) {
            cheapest = std::min(cheapest, addRest(k, std::min(limit - 1, cheapest)));
        }
    }
    return cheapest;
}

// The most blocks of candidates a scan completes: those holding a base cost below the limit,
// the only ones that can hold the cheapest.
constexpr std::size_t kMostBlocks = 256;

// completeCheapest's step for one cost.
struct AcrossPlain {
    const JudgedWords& judged;
    const Window& w;
    std::int64_t* costs;

    std::int64_t operator()(std::size_t k, std::int64_t most) const {
        if (costs[k] > most) {
            return std::numeric_limits<std::int64_t>::max();
        }
        // An ink pixel counts once however many classes it is in: a word's classes count at once.
        const auto& crossing = w.crossing();
        std::int32_t crossingInk = 0;
        for (std::size_t i = 0; i < kOwnWords; ++i) {
            std::uint64_t across = 0;
            for (std::size_t d = 0; d < kStrokeDirections; ++d) {
                across |= *judged.restAt(d * kOwnWords + i, k) & crossing[d][i];
            }
            crossingInk += std::popcount(across);
        }
        std::int32_t passedOnly = 0;
        for (std::size_t i = 0; i < kBandWords; ++i) {
            passedOnly += std::popcount(*judged.restAt(kDirectedWords + i, k) & w.lossy()[i]);
        }
        const ScanWeights weights;
        costs[k] += weights.crossingInk * crossingInk + weights.passedOnly * passedOnly +
                    weights.passedOnlyBelow * std::popcount(*judged.restAt(kRestWords - 1, k) &
                                                            w.missing[kBandWords - 1] & kRowsBelow);
        return costs[k];
    }
};

// Most of the time goes here, in counting bits: where the processor may lack a population-count
// instruction, a copy that uses it is chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("popcnt", "default")]]
#endif
Cheapest
scanCosts(const JudgedWords& judged, const Window& w, std::size_t count, std::int64_t limit,
          std::int64_t* costs) {
    const ScanWeights weights;
    std::int64_t cheapest = std::numeric_limits<std::int64_t>::max();
    for (std::size_t k = 0; k < count; ++k) {
        std::int32_t nearInk = 0;
        for (std::size_t i = 0; i < kOwnWords; ++i) {
            nearInk += bitCount(*judged.baseAt(i, k) & w.near[i]);
        }
        std::int32_t covered = 0;
        for (std::size_t i = 0; i < kBandWords; ++i) {
            covered += bitCount(*judged.baseAt(kOwnWords + i, k) & w.missing[i]);
        }
        const std::uint64_t first = *judged.baseAt(kOwnWords, k) & w.missing[0];
        const std::uint64_t last = *judged.baseAt(kBaseWords - 1, k) & w.missing[kBandWords - 1];
        costs[k] = judged.inkCost[k] + weights.nearInk * nearInk + weights.covered * covered +
                   weights.above * bitCount(first & kRowsAbove) +
                   weights.below * bitCount(last & kRowsBelow);
        cheapest = std::min(cheapest, costs[k]);
    }
    cheapest = completeCheapest<1>(costs, count, limit, cheapest, AcrossPlain{judged, w, costs});
    return {cheapest, static_cast<std::size_t>(std::find(costs, costs + count, cheapest) - costs)};
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PENMOJI_WIDE_COST_SCAN 1
#define PENMOJI_WIDE [[gnu::target("avx512f,avx512vpopcntdq")]]

// The pixels eight candidates' words (from `words`) have in common with the window's.
PENMOJI_WIDE inline __m512i meetWideAt(const std::uint64_t* words, std::uint64_t window) {
    return _mm512_popcnt_epi64(_mm512_and_si512(_mm512_loadu_si512(words),
                                                _mm512_set1_epi64(static_cast<long long>(window))));
}

// The ink of eight candidates (from the k-th) near a line but running across it: an ink pixel
// counts once however many classes it is in, so each word's classes are counted at once.
PENMOJI_WIDE inline __m512i acrossWide(const JudgedWords& judged, std::size_t k, const Window& w) {
    const auto& crossing = w.crossing();
    __m512i sum = _mm512_setzero_si512();
    for (std::size_t i = 0; i < kOwnWords; ++i) {
        __m512i across = _mm512_setzero_si512();
        for (std::size_t d = 0; d < kStrokeDirections; ++d) {
            across = _mm512_or_si512(
                across,
                _mm512_and_si512(_mm512_loadu_si512(judged.restAt(d * kOwnWords + i, k)),
                                 _mm512_set1_epi64(static_cast<long long>(crossing[d][i]))));
        }
        sum = _mm512_add_epi64(sum, _mm512_popcnt_epi64(across));
    }
    return sum;
}

// The pixels eight candidates (from the k-th) have in common with the window, summed over
// the N base words from the j-th.
template <std::size_t N>
PENMOJI_WIDE inline __m512i meetAllWide(const JudgedWords& judged, std::size_t j, std::size_t k,
                                        const std::array<std::uint64_t, N>& window) {
    __m512i sum = meetWideAt(judged.baseAt(j, k), window[0]);
    for (std::size_t i = 1; i < N; ++i) {
        sum = _mm512_add_epi64(sum, meetWideAt(judged.baseAt(j + i, k), window[i]));
    }
    return sum;
}

// Eight counts times a weight, added to `cost`: the counts are small, so their low halves are
// multiplied, by the weight's size.
PENMOJI_WIDE inline __m512i addTimesWide(__m512i cost, std::int32_t weight, __m512i counts) {
    const __m512i times = _mm512_mullo_epi32(counts, _mm512_set1_epi64(std::abs(weight)));
    return weight < 0 ? _mm512_sub_epi64(cost, times) : _mm512_add_epi64(cost, times);
}

// The least of eight values, halving in registers (a trip through memory to read the lanes
// back one by one took a tenth of the scan's time).
PENMOJI_WIDE inline std::int64_t leastLaneWide(__m512i v) {
    // The masked forms, as the plain ones start from an undefined value the compiler warns of.
    constexpr __mmask8 kAll = 0xff;
    v = _mm512_mask_min_epi64(v, kAll, v, _mm512_mask_shuffle_i64x2(v, kAll, v, v, 0x4e));
    v = _mm512_mask_min_epi64(v, kAll, v, _mm512_mask_shuffle_i64x2(v, kAll, v, v, 0xb1));
    v = _mm512_mask_min_epi64(v, kAll, v, _mm512_mask_shuffle_epi32(v, 0xffff, v, _MM_PERM_BADC));
    return v[0];  // the first lane, by the compilers' vector subscript
}

// completeCheapest's step for eight costs. The padding candidates past `count` cost nothing and
// are never counted.
struct AcrossWide {
    const JudgedWords& judged;
    const Window& w;
    std::int64_t* costs;
    std::size_t count;

    PENMOJI_WIDE [[gnu::always_inline]] std::int64_t operator()(std::size_t k,
                                                                std::int64_t most) const {
        const auto counted =
            static_cast<__mmask8>(count - k >= kLanes ? 0xffU : (1U << (count - k)) - 1);
        __m512i cost = _mm512_loadu_si512(costs + k);
        if (_mm512_mask_cmple_epi64_mask(counted, cost, _mm512_set1_epi64(most)) == 0) {
            return std::numeric_limits<std::int64_t>::max();
        }
        const ScanWeights weights;
        cost = addTimesWide(cost, weights.crossingInk, acrossWide(judged, k, w));
        __m512i passed = _mm512_setzero_si512();
        for (std::size_t i = 0; i < kBandWords; ++i) {
            passed = _mm512_add_epi64(
                passed, meetWideAt(judged.restAt(kDirectedWords + i, k), w.lossy()[i]));
        }
        cost = addTimesWide(cost, weights.passedOnly, passed);
        cost = addTimesWide(
            cost, weights.passedOnlyBelow,
            meetWideAt(judged.restAt(kRestWords - 1, k), w.missing[kBandWords - 1] & kRowsBelow));
        _mm512_storeu_si512(costs + k, cost);
        // The lanes left out read as the largest value.
        return leastLaneWide(_mm512_mask_mov_epi64(
            _mm512_set1_epi64(std::numeric_limits<std::int64_t>::max()), counted, cost));
    }
};

// The lanes of the eight candidates from the k-th that are counted.
inline __mmask8 countedWide(std::size_t count, std::size_t k) {
    return static_cast<__mmask8>(count - k >= kLanes ? 0xffU : (1U << (count - k)) - 1);
}

// The first of the `marked` blocks holding `cost`, and its lanes that do.
PENMOJI_WIDE inline std::pair<std::size_t, __mmask8> firstHoldingWide(
    const std::int64_t* costs, std::size_t count, std::span<const std::uint16_t> marked,
    std::int64_t cost) {
    for (const std::uint16_t block : marked) {
        const std::size_t k = kLanes * block;
        const __mmask8 holding = _mm512_mask_cmpeq_epi64_mask(
            countedWide(count, k), _mm512_loadu_si512(costs + k), _mm512_set1_epi64(cost));
        if (holding != 0) {
            return {k, holding};
        }
    }
    return {count, 0};
}

// scanCosts eight candidates at a time, where the processor counts the bits of eight words in
// one instruction.
PENMOJI_WIDE Cheapest scanCostsWide(const JudgedWords& judged, const Window& w, std::size_t count,
                                    std::int64_t limit, std::int64_t* costs) {
    constexpr ScanWeights weights;
    __m512i cheapest = _mm512_set1_epi64(std::numeric_limits<std::int64_t>::max());
    const __m512i below = _mm512_set1_epi64(limit);
    // The blocks holding a base cost below the limit, in order: only they are completed.
    std::array<std::uint16_t, kMostBlocks> marked;
    std::size_t markedCount = 0;
    for (std::size_t k = 0; k < count; k += kLanes) {
        __m512i cost = _mm512_loadu_si512(judged.inkCost.data() + k);
        cost = addTimesWide(cost, weights.nearInk, meetAllWide(judged, 0, k, w.near));
        cost = addTimesWide(cost, weights.covered, meetAllWide(judged, kOwnWords, k, w.missing));
        if constexpr (weights.above != 0) {
            cost = addTimesWide(cost, weights.above,
                                meetWideAt(judged.baseAt(kOwnWords, k), w.missing[0] & kRowsAbove));
        }
        cost = addTimesWide(
            cost, weights.below,
            meetWideAt(judged.baseAt(kBaseWords - 1, k), w.missing[kBandWords - 1] & kRowsBelow));
        const auto counted =
            static_cast<__mmask8>(count - k >= kLanes ? 0xffU : (1U << (count - k)) - 1);
        _mm512_storeu_si512(costs + k, cost);
        cheapest = _mm512_mask_min_epi64(cheapest, counted, cheapest, cost);
        marked[markedCount] = static_cast<std::uint16_t>(k / kLanes);
        markedCount += _mm512_mask_cmplt_epi64_mask(counted, cost, below) != 0 ? 1 : 0;
    }
    const std::int64_t cheapestBase = leastLaneWide(cheapest);
    if (cheapestBase >= limit) {
        return {cheapestBase};
    }
    const std::span<const std::uint16_t> markedBlocks(marked.data(), markedCount);
    const AcrossWide complete{judged, w, costs, count};
    const std::size_t firstBlock = firstHoldingWide(costs, count, markedBlocks, cheapestBase).first;
    std::int64_t least = complete(firstBlock, limit - 1);
    for (std::size_t m = 0; m < markedCount; ++m) {
        const std::size_t k = kLanes * marked[m];
        const std::int64_t most = std::min(limit - 1, least);
        if (k != firstBlock &&
            _mm512_mask_cmple_epi64_mask(countedWide(count, k), _mm512_loadu_si512(costs + k),
                                         _mm512_set1_epi64(most)) != 0) {
            least = std::min(least, complete(k, most));
        }
    }
    if (least >= limit) {
        return {least};
    }
    const auto [k, lanesHolding] = firstHoldingWide(costs, count, markedBlocks, least);
    return {least, k + static_cast<std::size_t>(std::countr_zero(lanesHolding))};
}
#endif

#ifdef PENMOJI_WIDE_COST_SCAN
#define PENMOJI_AVX2 [[gnu::target("avx2")]]

// The bits set in each byte of four words, counted from a table of the sixteen nibbles.
PENMOJI_AVX2 inline __m256i bytesCount(__m256i pixels) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,  //
                                           0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0f);
    return _mm256_add_epi8(
        _mm256_shuffle_epi8(table, _mm256_and_si256(pixels, nibble)),
        _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi64(pixels, 4), nibble)));
}

// The bits set in each byte of the pixels four candidates' words (from `words`) have in common
// with the window's.
PENMOJI_AVX2 inline __m256i meetBytesAt(const std::uint64_t* words, std::uint64_t window) {
    return bytesCount(_mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(words)),
                                       _mm256_set1_epi64x(static_cast<long long>(window))));
}

// The words of four candidates from the k-th: word j of the base at base + j * kLanes, word j of
// the rest at rest + j * kLanes.
struct BlockWords {
    const std::uint64_t* base;
    const std::uint64_t* rest;

    BlockWords(const JudgedWords& judged, std::size_t k)
        : base(judged.baseAt(0, k)), rest(judged.restAt(0, k)) {}
    const std::uint64_t* baseAt(std::size_t j) const { return base + j * kLanes; }
    const std::uint64_t* restAt(std::size_t j) const { return rest + j * kLanes; }
};

// acrossWide's counts for four candidates, per byte.
PENMOJI_AVX2 [[gnu::always_inline]] inline __m256i acrossBytes(
    const BlockWords& words, const std::array<OwnRows, kStrokeDirections>& crossing) {
    __m256i sum = _mm256_setzero_si256();
#pragma GCC unroll 4
    for (std::size_t i = 0; i < kOwnWords; ++i) {
        __m256i across = _mm256_setzero_si256();
#pragma GCC unroll 4
        for (std::size_t d = 0; d < kStrokeDirections; ++d) {
            across = _mm256_or_si256(
                across,
                _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(
                                     words.restAt(d * kOwnWords + i))),
                                 _mm256_set1_epi64x(static_cast<long long>(crossing[d][i]))));
        }
        sum = _mm256_add_epi8(sum, bytesCount(across));
    }
    return sum;
}

// Per-byte counts summed over the words (at most 8 a word, so up to 31 words' sums fit a byte).
// The N words from `words` (kLanes apart); `last` is given the last word's own counts.
template <std::size_t N>
PENMOJI_AVX2 [[gnu::always_inline]] inline __m256i meetAllBytes(
    const std::uint64_t* words, const std::array<std::uint64_t, N>& window, __m256i& last) {
    __m256i sum = meetBytesAt(words, window[0]);
#pragma GCC unroll 8
    for (std::size_t i = 1; i + 1 < N; ++i) {
        sum = _mm256_add_epi8(sum, meetBytesAt(words + i * kLanes, window[i]));
    }
    last = meetBytesAt(words + (N - 1) * kLanes, window[N - 1]);
    return _mm256_add_epi8(sum, last);
}

// The counts of a word's two rows above the band's row, or two rows below, from its per-byte
// counts: the rows are whole bytes of the word.
PENMOJI_AVX2 inline __m256i bytesOf(__m256i bytes, std::uint64_t rows) {
    return _mm256_and_si256(bytes, _mm256_set1_epi64x(static_cast<long long>(rows)));
}

// Per-byte counts summed per candidate, times a weight, added to `cost`.
PENMOJI_AVX2 inline __m256i addTimesBytes(__m256i cost, std::int32_t weight, __m256i bytes) {
    const __m256i counts = _mm256_sad_epu8(bytes, _mm256_setzero_si256());
    const __m256i times = _mm256_mul_epu32(counts, _mm256_set1_epi64x(std::abs(weight)));
    return weight < 0 ? _mm256_sub_epi64(cost, times) : _mm256_add_epi64(cost, times);
}

// Four costs' lanes: the least of a and b in each.
PENMOJI_AVX2 inline __m256i leastOf(__m256i a, __m256i b) {
    return _mm256_blendv_epi8(a, b, _mm256_cmpgt_epi64(a, b));
}

// The lanes of four costs below `bound`, one bit each.
PENMOJI_AVX2 inline int lanesBelow(__m256i cost, std::int64_t bound) {
    return _mm256_movemask_pd(
        _mm256_castsi256_pd(_mm256_cmpgt_epi64(_mm256_set1_epi64x(bound), cost)));
}

// The least of four costs.
PENMOJI_AVX2 inline std::int64_t leastLane(__m256i cost) {
    cost = leastOf(cost, _mm256_permute4x64_epi64(cost, 0b01'00'11'10));
    cost = leastOf(cost, _mm256_shuffle_epi32(cost, 0b01'00'11'10));
    return _mm256_extract_epi64(cost, 0);
}

// The base costs of four candidates.
PENMOJI_AVX2 [[gnu::always_inline]] inline __m256i baseCostsAvx2(const JudgedWords& judged,
                                                                 const Window& w, std::size_t k) {
    constexpr ScanWeights weights;
    const BlockWords words(judged, k);
    __m256i cost = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(judged.inkCost.data() + k));
    __m256i lastNear;
    cost = addTimesBytes(cost, weights.nearInk, meetAllBytes(words.baseAt(0), w.near, lastNear));
    __m256i lastCovered;
    cost = addTimesBytes(cost, weights.covered,
                         meetAllBytes(words.baseAt(kOwnWords), w.missing, lastCovered));
    if constexpr (weights.above != 0) {
        cost = addTimesBytes(cost, weights.above,
                             meetBytesAt(words.baseAt(kOwnWords), w.missing[0] & kRowsAbove));
    }
    return addTimesBytes(cost, weights.below, bytesOf(lastCovered, kRowsBelow));
}

// Completes the four costs from the k-th (adds what only adds to them, as completeCheapest's
// step does) and returns them. The lanes past the count are set aside.
struct AcrossBytes {
    const JudgedWords& judged;
    const Window& w;
    std::int64_t* costs;

    PENMOJI_AVX2 [[gnu::always_inline]] __m256i operator()(std::size_t k) const {
        auto* at = reinterpret_cast<__m256i*>(costs + k);
        const ScanWeights weights;
        const BlockWords words(judged, k);
        __m256i cost = addTimesBytes(_mm256_loadu_si256(at), weights.crossingInk,
                                     acrossBytes(words, w.crossing()));
        __m256i lastPassed;
        cost = addTimesBytes(cost, weights.passedOnly,
                             meetAllBytes(words.restAt(kDirectedWords), w.lossy(), lastPassed));
        cost = addTimesBytes(cost, weights.passedOnlyBelow, bytesOf(lastPassed, kRowsBelow));
        _mm256_storeu_si256(at, cost);
        return cost;
    }
};

// The first of the `marked` blocks of four holding `cost`, and its lanes that do.
PENMOJI_AVX2 inline std::pair<std::size_t, int> firstHoldingAvx2(
    const std::int64_t* costs, std::span<const std::uint16_t> marked, std::int64_t cost) {
    for (const std::uint16_t block : marked) {
        const std::size_t k = 4 * std::size_t{block};
        const __m256i same =
            _mm256_cmpeq_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(costs + k)),
                               _mm256_set1_epi64x(cost));
        if (const int holding = _mm256_movemask_pd(_mm256_castsi256_pd(same)); holding != 0) {
            return {k, holding};
        }
    }
    return {4 * kMostBlocks, 0};
}

// Stores the base costs of the block of four from the k-th, marking it when one is below the
// limit (without a branch: about half the blocks are, with no pattern to guess).
PENMOJI_AVX2 [[gnu::always_inline]] inline void keepBlock(
    std::int64_t* costs, std::size_t k, __m256i cost, std::int64_t limit,
    std::array<std::uint16_t, kMostBlocks>& marked, std::size_t& markedCount, __m256i& cheapest) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(costs + k), cost);
    cheapest = leastOf(cheapest, cost);
    marked[markedCount] = static_cast<std::uint16_t>(k / 4);
    markedCount += lanesBelow(cost, limit) != 0 ? 1 : 0;
}

// scanCosts four candidates at a time, for processors with 256-bit vectors but no vector
// population count. The blocks under the limit are found with vector compares, and the least
// base cost among them only: read back a lane at a time, the costs just stored stalled the scan.
PENMOJI_AVX2 Cheapest scanCostsAvx2(const JudgedWords& judged, const Window& w, std::size_t count,
                                    std::int64_t limit, std::int64_t* costs) {
    // The blocks holding a base cost below the limit, in order, as in scanCostsWide.
    std::array<std::uint16_t, kMostBlocks> marked;
    std::size_t markedCount = 0;
    // The least base cost, taken as the costs are made: the costs past the count are set aside.
    __m256i cheapest = _mm256_set1_epi64x(std::numeric_limits<std::int64_t>::max());
    const std::size_t whole = count - count % 4;
    for (std::size_t k = 0; k < whole; k += 4) {
        keepBlock(costs, k, baseCostsAvx2(judged, w, k), limit, marked, markedCount, cheapest);
    }
    if (whole < count) {
        // The lanes past the count in a last block short of four are set aside at a cost no
        // limit reaches, which what completion adds cannot carry past the largest value.
        const auto k64 = static_cast<long long>(whole);
        const __m256i counted =
            _mm256_cmpgt_epi64(_mm256_set1_epi64x(static_cast<long long>(count)),
                               _mm256_setr_epi64x(k64, k64 + 1, k64 + 2, k64 + 3));
        const __m256i cost =
            _mm256_blendv_epi8(_mm256_set1_epi64x(std::numeric_limits<std::int64_t>::max() / 2),
                               baseCostsAvx2(judged, w, whole), counted);
        keepBlock(costs, whole, cost, limit, marked, markedCount, cheapest);
    }
    if (markedCount == 0) {
        return {};  // no cost below the limit
    }
    const std::span<const std::uint16_t> markedBlocks(marked.data(), markedCount);
    const AcrossBytes complete{judged, w, costs};
    // The block holding the cheapest base cost is completed first, and every other marked block
    // holding a base cost up to the least it then holds (and below the limit) after it: only
    // they can hold the cheapest, as completing only adds. The bound is known before the others
    // are completed, so they are completed independently of one another.
    const std::size_t firstBlock = firstHoldingAvx2(costs, markedBlocks, leastLane(cheapest)).first;
    __m256i least = complete(firstBlock);
    const std::int64_t most = std::min(limit - 1, leastLane(least));
    std::array<std::uint16_t, kMostBlocks> rest;
    std::size_t restCount = 0;
    for (const std::uint16_t block : markedBlocks) {
        const std::size_t k = 4 * std::size_t{block};
        rest[restCount] = block;
        restCount +=
            k != firstBlock &&
                    lanesBelow(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(costs + k)),
                               most + 1) != 0
                ? 1
                : 0;
    }
    for (std::size_t m = 0; m < restCount; ++m) {
        least = leastOf(least, complete(4 * std::size_t{rest[m]}));
    }
    const std::int64_t cheapestCost = leastLane(least);
    if (cheapestCost >= limit) {
        return {cheapestCost};
    }
    const auto [k, lanesHolding] = firstHoldingAvx2(costs, markedBlocks, cheapestCost);
    return {cheapestCost,
            k + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(lanesHolding)))};
}
#endif

bool runs(FineScan scan) {
#ifdef PENMOJI_WIDE_COST_SCAN
    __builtin_cpu_init();
    switch (scan) {
        case FineScan::avx512:
            return __builtin_cpu_supports("avx512vpopcntdq");
        case FineScan::avx2:
            return __builtin_cpu_supports("avx2");
        default:
            return true;
    }
#else
    return scan == FineScan::plain || scan == FineScan::fastest;
#endif
}

// The scan asked for, or where the processor does not run it the widest it does.
CostScan costScan(FineScan scan) {
    if (scan == FineScan::fastest || !runs(scan)) {
        scan = runs(FineScan::avx512) ? FineScan::avx512
               : runs(FineScan::avx2) ? FineScan::avx2
                                      : FineScan::plain;
    }
    switch (scan) {
#ifdef PENMOJI_WIDE_COST_SCAN
        case FineScan::avx512:
            return scanCostsWide;
        case FineScan::avx2:
            return scanCostsAvx2;
#endif
        default:
            return scanCosts;
    }
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
    RowPlanner(const std::vector<WidthGroup>& groups, const ExactGaps& gaps, FineScan scan)
        : groups_(groups), gaps_(gaps), scanCosts_(costScan(scan)) {
        for (std::int32_t g = 1; g < ExactGaps::kExactGapLimit; ++g) {
            if (gaps.exact(g)) {
                shortGaps_.push_back(g);
            }
        }
        // The longest run of consecutive widths, when long enough to pay for its window.
        constexpr std::size_t kLeastRun = 16;
        for (std::size_t first = 0, last = 0; first < shortGaps_.size(); first = last) {
            for (last = first + 1;
                 last < shortGaps_.size() && shortGaps_[last] == shortGaps_[last - 1] + 1; ++last) {
            }
            if (last - first >= kLeastRun && last - first > runEnd_ - runStart_) {
                runStart_ = first;
                runEnd_ = last;
            }
        }
        for (const WidthGroup& group : groups) {
            assert(group.judged.inkCost.size() / 4 <= kMostBlocks);
            costs_.resize(std::max(costs_.size(), group.judged.inkCost.size()));
        }
    }

    // The placements of the best row, left to right; nothing when `pace`, asked now and then
    // with the pen position reached, answers that the rendering is to stop. A row wider than a
    // plan window is planned window by window, and only until it holds as many cells as a row
    // can and at least `boxRoom` characters: the row keeps no more, nor the box list.
    //
    // The `fixed` cells (ordered by x, none overlapping) are items of the row that the plan
    // passes through: nothing placed overlaps one, and the stretch before each ends exactly at
    // its left edge, with a character or a gap of a width in `gaps` where one can.
    std::optional<Placements> plan(const FineLineBand& band, std::int64_t rowEnd,
                                   std::size_t boxRoom, std::span<const FixedCell> fixed,
                                   const Pace& pace);

private:
    enum class Planned { stopped, done, full };
    // Appends the best placements from `origin` to `stop` to `placements`, window by window;
    // `closed` when a fixed cell starts at `stop`, else the row may end anywhere before it.
    Planned planStretch(const FineLineBand& band, std::int64_t& origin, std::int64_t left,
                        std::int64_t lastPen, std::int64_t stop, bool closed, std::size_t boxRoom,
                        const Pace& pace, Placements& placements, FilledCells& cells);
    // The best placements between `from` and `from + length`, the text so far ending at
    // `origin` (at or left of `from`) with a character or, at 0, with the row start. No
    // character is placed after `lastPen`, nor ends past the span. When `closed`, the text
    // ends at the span's end if it can.
    std::optional<Placements> planSpan(const FineLineBand& band, std::int64_t origin,
                                       std::int64_t from, std::int64_t lastPen, std::int64_t length,
                                       bool closed, const Pace& pace);
    std::int32_t missedBetween(std::int64_t a, std::int64_t b) const {
        return kMissCost * (prefixAt(b) - prefixAt(a));
    }
    std::int32_t prefixAt(std::int64_t x) const {
        const std::int64_t i = std::clamp<std::int64_t>(x - start_, 0, length_);
        return prefix_[static_cast<std::size_t>(i)];
    }
    std::size_t at(std::int64_t x) const { return static_cast<std::size_t>(x - start_); }
    // Takes the character ending a long gap's width left of y into the best start of a long
    // gap, as each position is reached; false while that lies left of the span.
    bool foldFarGlyph(std::int64_t y);
    void arriveByGap(std::int64_t y);
    // The character ending x + g, over the short gaps g, that a gap arriving at x best follows.
    std::pair<std::int32_t, std::int64_t> bestShortGapFrom(std::int64_t y);
    // Whether some column of the 16 from the pen at x holds an uncovered line pixel: without
    // one, no character is tried there.
    bool occupiedAt(std::int64_t x) const {
        const auto bit = static_cast<std::size_t>(x - start_);
        const std::size_t word = bit / 64;
        const unsigned shift = bit % 64;
        std::uint64_t bits = occupied_[word] >> shift;
        if (shift != 0) {
            bits |= occupied_[word + 1] << (64 - shift);
        }
        return (bits & 0xffff) != 0;
    }
    void leaveByGlyphs(std::int64_t x);

    const std::vector<WidthGroup>& groups_;
    const ExactGaps& gaps_;
    std::vector<std::int32_t> shortGaps_;
    // For the longest run of consecutive short gaps (shortGaps_[runStart_] up to, not
    // including, shortGaps_[runEnd_]) the best character to follow is kept as the window of
    // those widths slides along the row: the characters ending in it, each cheaper than all
    // ending before it (counting the pixels missed up to it) and the latest of equals,
    // cheapest first.
    std::size_t runStart_ = 0;
    std::size_t runEnd_ = 0;
    std::vector<std::int64_t> shortGapFroms_;
    std::size_t shortGapFirst_ = 0;
    std::int64_t shortGapReached_ = 0;  // the last end taken into the window
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
    CostScan scanCosts_;
    std::vector<std::int64_t> costs_;
    std::vector<std::uint64_t> occupied_;  // bit i: column start_ + i holds a missing pixel
    SpanRows spanRows_;
    std::uint32_t unmetLevels_ = unmetLevels();
};

bool RowPlanner::foldFarGlyph(std::int64_t y) {
    const std::int64_t far = y - ExactGaps::kExactGapLimit;
    if (far < start_) {
        return false;
    }
    const std::size_t f = at(far);
    if (bestGlyph_[f] < kUnreached) {
        const std::int32_t value = bestGlyph_[f] - kMissCost * prefix_[f];
        if (value < longGapBest_) {
            longGapBest_ = value;
            longGapFrom_ = far;
        }
    }
    return true;
}

void RowPlanner::arriveByGap(std::int64_t y) {
    const std::size_t i = at(y);
    std::int32_t best = kUnreached;
    std::int64_t from = -1;
    if (gaps_.exact(y - origin_)) {  // from the origin, which lies at or left of start_
        best = missedBetween(origin_, y);
        from = origin_;
    }
    if (foldFarGlyph(y)) {
        if (longGapFrom_ >= 0 && longGapBest_ + kMissCost * prefix_[i] < best) {
            best = longGapBest_ + kMissCost * prefix_[i];
            from = longGapFrom_;
        }
    }
    const auto [value, x] = bestShortGapFrom(y);
    if (value < best) {
        best = value;
        from = x;
    }
    bestGap_[i] = best;
    stepGap_[i] = from;
}

// The first of the shortest gaps wins among equals. A character not reached costs
// kUnreached and more, so it never wins.
std::pair<std::int32_t, std::int64_t> RowPlanner::bestShortGapFrom(std::int64_t y) {
    const std::size_t i = at(y);
    std::int32_t best = kUnreached;
    std::int64_t from = -1;
    const auto consider = [&](std::size_t first, std::size_t last) {
        for (std::size_t j = first; j < last; ++j) {
            const std::int64_t x = y - shortGaps_[j];
            if (x < start_) {
                break;
            }
            const std::int32_t value =
                bestGlyph_[at(x)] + kMissCost * (prefix_[i] - prefix_[at(x)]);
            if (value < best) {
                best = value;
                from = x;
            }
        }
    };
    consider(0, runStart_);
    if (runEnd_ > runStart_) {
        // Every end left of y is settled by now.
        const auto costTo = [&](std::int64_t x) {
            return bestGlyph_[at(x)] - kMissCost * prefix_[at(x)];
        };
        for (std::int64_t x = std::max(shortGapReached_ + 1, start_);
             x <= y - shortGaps_[runStart_]; ++x) {
            while (shortGapFroms_.size() > shortGapFirst_ &&
                   costTo(shortGapFroms_.back()) >= costTo(x)) {
                shortGapFroms_.pop_back();
            }
            shortGapFroms_.push_back(x);
            shortGapReached_ = x;
        }
        while (shortGapFroms_.size() > shortGapFirst_ &&
               shortGapFroms_[shortGapFirst_] < y - shortGaps_[runEnd_ - 1]) {
            ++shortGapFirst_;
        }
        if (shortGapFroms_.size() > shortGapFirst_) {
            const std::int64_t x = shortGapFroms_[shortGapFirst_];
            const std::int32_t value = costTo(x) + kMissCost * prefix_[i];
            if (value < best) {
                best = value;
                from = x;
            }
        }
    }
    consider(runEnd_, shortGaps_.size());
    return {best, from};
}

// Where the processor may lack a population-count instruction, a copy that uses it is chosen
// when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target_clones("popcnt", "default")]]
#endif
void RowPlanner::leaveByGlyphs(std::int64_t x) {
    const std::size_t i = at(x);
    const bool afterGap = bestGap_[i] < bestGlyph_[i];
    const std::int32_t base = afterGap ? bestGap_[i] : bestGlyph_[i];
    if (base >= kUnreached || x > lastPen_) {
        return;
    }
    const Window w(spanRows_, x);
    constexpr std::int32_t kMostGain =
        std::max({kCosts.miss, kCosts.edgeAboveGain, kCosts.edgeBelowGain});
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
        const std::int64_t end = x + group.width;
        if (end > start_ + length_) {
            continue;  // it would overlap what follows the span
        }
        const std::int32_t gapLike = base + missedBetween(x, end);
        const std::size_t e = at(end);
        // Only a cost below this betters the best way to reach the character's end.
        const std::int64_t limit = std::int64_t{bestGlyph_[e]} - gapLike;
        // No character saves more than it could cover in its own columns, nor has less ink
        // away from the lines than its ink beyond what lies near one: those that could not come
        // under the limit so are not weighed. Nor are characters with more ink away from the
        // lines than they could make up for. As the group runs from the least ink up, both are
        // its tail.
        const std::int64_t mostSaved = std::int64_t{kMostGain} * ownMissing;
        if (-mostSaved >= limit) {
            continue;
        }
        const auto worthTrying = std::ranges::partition_point(group.inkCounts, [&](int inkCount) {
            const std::int64_t farInk = std::int64_t{kCosts.farInk} * (inkCount - near);
            return farInk < mostSaved && farInk - mostSaved < limit;
        });
        const auto tried = static_cast<std::size_t>(worthTrying - group.inkCounts.begin());
        // The first of the cheapest wins, as when each is set in turn where it does better.
        const Cheapest cheapest = scanCosts_(group.judged, w, tried, limit, costs_.data());
        if (cheapest.cost < limit) {
            bestGlyph_[e] = gapLike + static_cast<std::int32_t>(cheapest.cost);
            stepGlyph_[e] = {x, static_cast<std::int32_t>(g),
                             static_cast<std::int32_t>(cheapest.at), afterGap};
        }
    }
}

std::optional<Placements> RowPlanner::plan(const FineLineBand& band, std::int64_t rowEnd,
                                           std::size_t boxRoom, std::span<const FixedCell> fixed,
                                           const Pace& pace) {
    // Pens further than this from every line pixel cannot cover one.
    constexpr std::int64_t kReach = 16 + 2 + kFineInkLeft;
    const std::int64_t left = std::max<std::int64_t>(0, band.lineLeft() - kReach);
    const std::int64_t lastPen = std::min(rowEnd, band.lineRight() + kReach);
    Placements placements;
    FilledCells cells;
    std::int64_t origin = 0;
    for (const FixedCell& f : fixed) {
        const std::int64_t stop = f.cell.x;
        if (stop > lastPen + 17) {
            break;  // no character placed before it can reach it
        }
        if (stop > origin && std::max(origin, left) < stop) {
            const Planned planned = planStretch(band, origin, left, std::min(lastPen, stop - 1),
                                                stop, true, boxRoom, pace, placements, cells);
            if (planned != Planned::done) {
                return planned == Planned::full ? std::optional(placements) : std::nullopt;
            }
        }
        cells.add(stop, f.cell.width);
        origin = stop + f.cell.width;
    }
    if (!fixed.empty() && origin > lastPen) {
        return placements;  // nothing is placed after the last fixed cell
    }
    const Planned planned = planStretch(band, origin, left, lastPen, lastPen + 17, false, boxRoom,
                                        pace, placements, cells);
    return planned == Planned::stopped ? std::nullopt : std::optional(placements);
}

RowPlanner::Planned RowPlanner::planStretch(const FineLineBand& band, std::int64_t& origin,
                                            std::int64_t left, std::int64_t lastPen,
                                            std::int64_t stop, bool closed, std::size_t boxRoom,
                                            const Pace& pace, Placements& placements,
                                            FilledCells& cells) {
    std::int64_t from = std::max(origin, left);
    while (true) {
        if (stop - from <= kPlanWindow + kPlanOverlap) {
            auto rest = planSpan(band, origin, from, lastPen, stop - from, closed, pace);
            if (!rest) {
                return Planned::stopped;
            }
            for (const auto& placement : *rest) {
                cells.add(placement.first, placement.second->width);
            }
            placements.insert(placements.end(), rest->begin(), rest->end());
            return Planned::done;
        }
        const std::int64_t length = kPlanWindow + kPlanOverlap;
        // A window without an uncovered line pixel in reach of its pens places nothing.
        const std::int64_t reach = from + length + kJudgedColumns;
        if (band.nextMissingColumn(from, reach) == reach) {
            from += kPlanWindow;
            continue;
        }
        const auto part = planSpan(band, origin, from, std::min(lastPen, from + length - 17),
                                   length, false, pace);
        if (!part) {
            return Planned::stopped;
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
            return Planned::full;
        }
        from = kept ? origin : windowEnd;
    }
}

std::optional<Placements> RowPlanner::planSpan(const FineLineBand& band, std::int64_t origin,
                                               std::int64_t from, std::int64_t lastPen,
                                               std::int64_t length, bool closed, const Pace& pace) {
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
    occupied_.assign((size + kJudgedColumns) / 64 + 2, 0);
    for (std::size_t word = 0; word < occupied_.size(); ++word) {
        occupied_[word] = band.missingColumns(start_ + static_cast<std::int64_t>(word * 64));
    }
    spanRows_.read(band, start_, std::min(lastPen_, start_ + length_), unmetLevels_);
    bestGlyph_.assign(size, kUnreached);
    bestGap_.assign(size, kUnreached);
    stepGlyph_.assign(size, Step{});
    stepGap_.assign(size, -1);
    longGapBest_ = kUnreached;
    shortGapFroms_.clear();
    shortGapFirst_ = 0;
    shortGapReached_ = start_ - 1;
    longGapFrom_ = -1;
    if (start_ == origin_) {
        bestGlyph_[0] = 0;
    }
    for (std::int64_t x = start_; x <= start_ + length_; ++x) {
        // A row of a very wide drawing can take minutes: it reports and may stop on the way.
        if ((x & 1023) == 0 && !pace(x)) {
            return std::nullopt;
        }
        // Where no character is tried, what a gap arriving there would cost is never asked;
        // stretches of a wide row without lines cost next to nothing.
        const bool closing = closed && x == start_ + length_;
        if (!occupiedAt(x) && !closing) {
            if (x > origin_) {
                foldFarGlyph(x);
            }
            continue;
        }
        if (x > origin_) {
            arriveByGap(x);
        }
        leaveByGlyphs(x);
    }
    // The row may end after any character; the rest of its pixels are missed. A stretch that
    // a fixed cell closes ends where that cell starts, unless no character or exact gap can
    // reach it: then it ends as an open one, and the cell is off its pixel.
    const std::int32_t total = prefix_[size - 1];
    std::int32_t best = kMissCost * total;
    std::int64_t end = -1;
    bool inGap = false;
    if (closed && std::min(bestGlyph_[size - 1], bestGap_[size - 1]) < kUnreached) {
        end = start_ + length_;
        inGap = bestGap_[size - 1] < bestGlyph_[size - 1];
    }
    for (std::int64_t x = start_; x <= start_ + length_ && end < start_ + length_; ++x) {
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

namespace {

// The canvas a fine rendering walks: 16 pixels beyond the furthest point or segment end.
std::pair<std::int64_t, std::int64_t> fineCanvasOf(const VectorSet& vectors,
                                                   std::span<const PixelSegment> segments) {
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
    return {width, height};
}

void coverReach(FineLineBand& band, std::int64_t x, const Candidate& c) {
    for (int r = 0; r < kRows; ++r) {
        const std::uint64_t pair = c.reach[static_cast<std::size_t>(r / 2)];
        band.cover(r, x - kFineInkLeft, static_cast<std::uint32_t>(pair >> (32 * (r % 2))));
    }
}

// Marks what the fixed characters of row `index` cover. A character outside the fine table
// has no pixels at hand and covers nothing.
void coverFixed(FineLineBand& band, std::int64_t canvasWidth, const std::vector<WidthGroup>& groups,
                std::span<const FixedCell> fixed, std::int64_t index) {
    for (const FixedCell& f : fixedCellsOfRow(fixed, index)) {
        if (f.cell.x > canvasWidth) {
            break;  // no line lies there, and the band ends
        }
        for (const WidthGroup& group : groups) {
            const auto c = std::ranges::find(group.candidates, f.cell.code, &Candidate::code);
            if (c != group.candidates.end()) {
                coverReach(band, f.cell.x, *c);
                break;
            }
        }
    }
}

const Candidate* candidateFor(const std::vector<WidthGroup>& groups, const FinePlacement& p) {
    for (const WidthGroup& group : groups) {
        if (group.width != p.width) {
            continue;
        }
        for (const Candidate& c : group.candidates) {
            if (c.code == p.code) {
                return &c;
            }
        }
    }
    return nullptr;
}

}  // namespace

bool fineScanRuns(FineScan scan) {
    return runs(scan);
}

bool renderFineRows(TextRow& row, const VectorSet& vectors, const ExactGaps& gaps,
                    const FineRowsStart& start, GlyphBoxList& boxes, ProgressReceiver& progress,
                    FineRowSink& sink, std::span<const FixedCell> fixed, FineScan scan) {
    const std::vector<PixelSegment> segments = pixelSegments(vectors);
    const auto [width, height] = fineCanvasOf(vectors, segments);
    const std::vector<WidthGroup> groups = candidateGroups();
    RowPlanner planner(groups, gaps, scan);
    FineLineBand band(width + 32);
    WorkPacer pacer(progress, width * height);
    std::int64_t top = 16 * std::max<std::int64_t>(start.row, 0) + 1;
    // The row above shares its last rows with this row's first: what its characters covered
    // there is covered for this row too. Nothing further up reaches this row.
    if (top > 1 && top < height) {
        if (!band.startRow(top - 16, segments, pacer, (top - 16) * width)) {
            return false;
        }
        for (const FinePlacement& p : start.placedAbove) {
            if (const Candidate* c = candidateFor(groups, p)) {
                coverReach(band, p.x, *c);
            }
        }
        coverFixed(band, width, groups, fixed, (top - 17) / 16);
    }
    std::size_t boxesAbove = start.boxesAbove;
    std::vector<FinePlacement> placed;
    for (; top < height; top += 16) {
        if (pacer.stopAt(top * width)) {
            return false;
        }
        row.reset();
        boxes.clearBoxes();
        placed.clear();
        if (!band.startRow(top, segments, pacer, top * width)) {
            return false;
        }
        const std::int64_t index = (top - 1) / 16;
        coverFixed(band, width, groups, fixed, index);
        if (!band.empty()) {
            const std::size_t boxRoom =
                GlyphBoxList::kCapacity - std::min(boxesAbove, GlyphBoxList::kCapacity);
            std::int64_t reached = 0;
            const auto placements = planner.plan(
                band, width, boxRoom, fixedCellsOfRow(fixed, index), [&](std::int64_t x) {
                    reached = std::max(reached, std::min(x, width - 1));
                    return !pacer.stopAt(top * width + reached);
                });
            if (!placements) {
                return false;
            }
            for (const auto& [x, candidate] : *placements) {
                const Candidate& c = *candidate;
                coverReach(band, x, c);
                boxes.addBox(static_cast<std::int32_t>(x), static_cast<std::int32_t>(top), c.width);
                row.placeGlyph(c.code, static_cast<std::int32_t>(x), c.width);
                placed.push_back({x, c.code, c.width});
            }
        }
        boxesAbove += placed.size();
        row.fillGaps();
        row.mergeBlanks();
        if (!sink.takeFineRow(index, row, placed, boxes)) {
            break;
        }
    }
    return true;
}

namespace {

// Hands every row on and gathers the rows' boxes into one list, as long as it has room.
class WholeRendering final : public FineRowSink {
public:
    WholeRendering(GlyphBoxList& boxes, RowSink& sink) : boxes_(boxes), sink_(sink) {}

    bool takeFineRow(std::int64_t index, const TextRow& row, std::span<const FinePlacement> placed,
                     const GlyphBoxList&) override {
        const auto top = static_cast<std::int32_t>(16 * index + 1);
        for (const FinePlacement& p : placed) {
            boxes_.addBox(static_cast<std::int32_t>(p.x), top, p.width);
        }
        sink_.takeRow(row);
        return true;
    }

private:
    GlyphBoxList& boxes_;
    RowSink& sink_;
};

}  // namespace

bool renderVectorsFine(TextRow& row, const VectorSet& vectors, const ExactGaps& gaps,
                       GlyphBoxList& boxes, ProgressReceiver& progress, RowSink& sink,
                       std::span<const FixedCell> fixed, FineScan scan) {
    boxes.clearBoxes();
    GlyphBoxList rowBoxes;
    WholeRendering whole(boxes, sink);
    return renderFineRows(row, vectors, gaps, FineRowsStart{}, rowBoxes, progress, whole, fixed,
                          scan);
}

}  // namespace penmoji
