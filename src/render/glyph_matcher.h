// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "render/cell_crossing.h"
#include "render/glyph_table.h"
#include "render/match_settings.h"
#include "render/row_band.h"

namespace penmoji {

// A glyph's strokes with both halves of the pairing measures prepared.
struct PreparedGlyph {
    std::array<Direction, 4> directions;
    std::array<CostEnds, 4> ends;
};

// What the cells at one cursor position work out about one segment of the row, each part at
// most once and only when some cell asks for it.
class SegmentAtCursor {
public:
    SegmentAtCursor() = default;
    SegmentAtCursor(const DrawnSegment& segment, const RowCrossing& row, std::int64_t x)
        : segment_(&segment), crossing_(row, static_cast<float>(x)) {}

    const CellCrossing& crossing() const { return crossing_; }
    // The segment clipped to the cell of the given width at (x, top); cells it does not leave
    // through the right edge share one result.
    std::optional<ClippedSegment> clippedTo(std::int64_t x, std::int64_t top, std::int32_t width);
    // Whether clippedTo keeps something, found without clipping.
    bool keptBy(std::int64_t x, std::int64_t top, std::int32_t width);

private:
    const LeftClipped& leftClipped(std::int64_t x);

    const DrawnSegment* segment_ = nullptr;
    CellCrossing crossing_;
    std::optional<LeftClipped> leftClipped_;
    bool hasWholeClip_ = false;
    std::optional<ClippedSegment> wholeClip_;
};

// Finds the glyph whose strokes best follow the drawn segments crossing its cell.
//
// Everything a cell sees depends on its width only, so the segments are gathered and clipped
// once per width, and only the glyphs with exactly as many strokes as the cell collected are
// scored. The winner is the one the full trial order would keep: the lowest score, and on a tie
// the glyph tried first (more strokes first, then table order).
class GlyphMatcher {
public:
    explicit GlyphMatcher(const MatchSettings& settings);

    // Prepares the row from `top` to `top + 16`, whose segments are `band`; the band must stay
    // in place while the row is matched.
    void startRow(std::span<const BandSegment> band, std::int64_t top);

    // The best glyph for the cell at (x, top) of the row last started, or nullptr when none is
    // accepted. Positions must not move left within a row. Only cells at most `room` pixels
    // wide are tried, so that the glyph ends before whatever lies there.
    const GlyphShape* bestGlyphAt(std::int64_t x, std::int64_t top,
                                  std::int64_t room = std::numeric_limits<std::int64_t>::max());

    // Whether the row's walk holds its whole band, when other walks along the row may share
    // its cursor (it never moves left either) rather than sort the band again.
    bool walksWholeBand() const { return wholeBand_; }
    BandCursor& cursor() { return *cursor_; }

private:
    struct Collected;
    struct CellOutcome;
    // A segment that meets the cell.
    struct Contact {
        std::span<const std::uint32_t> copies;  // the places of all its copies
        bool lasting;
    };

    CellOutcome collectInCell(std::int64_t x, std::int64_t top, std::int32_t width);
    // The work of the current cursor position on band segment `b`.
    SegmentAtCursor& atCursor(const BandSegment* b, std::int64_t x);

    struct Candidate {
        const GlyphShape* glyph;
        PreparedGlyph prepared;
        int trialRank;       // place in the order the candidates are tried
        std::int32_t bonus;  // priority times the priority scale, truncated
    };
    struct WidthClass {
        std::int32_t cellWidth;
        std::array<std::vector<Candidate>, 5> byStrokeCount;
    };

    float threshold_;
    std::vector<WidthClass> widths_;
    std::int64_t widestCell_ = 0;
    // The row's segments that can meet one of its cells, walked by the cursor.
    std::vector<BandSegment> band_;
    std::optional<BandCursor> cursor_;
    bool wholeBand_ = false;
    // Per segment of band_, by its index there: the row's share of the crossing work, and the
    // cursor position's, valid while its stamp is the position's.
    std::vector<RowCrossing> rowCrossings_;
    std::vector<SegmentAtCursor> atCursor_;
    std::vector<std::uint64_t> atCursorStamps_;
    std::uint64_t cursorStamp_ = 0;
    // Scratch of collectInCell: segments that meet the cell but are not counted, because they
    // keep nothing inside it or every copy comes after the fourth counted.
    std::vector<Contact> uncounted_;
};

}  // namespace penmoji
