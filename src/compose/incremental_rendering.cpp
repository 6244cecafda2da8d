// SPDX-License-Identifier: MIT
#include "compose/incremental_rendering.h"

#include <algorithm>
#include <new>
#include <span>
#include <stdexcept>
#include <string>

#include "compose/changed_rows.h"
#include "compose/exact_gaps.h"
#include "compose/placed_text_rows.h"
#include "render/glyph_box_list.h"
#include "render/render_pass.h"
#include "render/text_row.h"

namespace penmoji {

struct RenderedRow {
    std::vector<RowCell> cells;
    // A row holding placed characters: the cells the matcher made, before the placed characters
    // were put among them, and the placed characters not written on their pixels (by their
    // index among the row's).
    std::vector<RowCell> matched;
    std::vector<std::size_t> off;
    // The boxes of the row's characters: how many the row made, and those of them the box list
    // had room for when the row was kept (the rest would only take memory).
    std::size_t boxCount = 0;
    std::vector<GlyphBoxList::Outline> boxes;
    std::vector<FinePlacement> placed;  // fine mode: every character placed, kept or not
    std::size_t boxRoom = 0;            // fine mode: the room the box list had left for the row
    RandomGenerator randomBefore;       // the dot generator where the row's text starts
    RandomGenerator randomAfter;
    std::string text;
};

namespace {

// The rows of one rendering in the making: those matched afresh, the rest kept from the last.
struct Plan {
    const std::vector<RenderedRow>& kept;
    std::vector<bool> changed;  // rows an edit can reach, or new ones
    std::vector<std::optional<RenderedRow>> fresh;
    std::size_t matched = 0;

    const RenderedRow& rowAt(std::size_t n) const { return fresh[n] ? *fresh[n] : kept[n]; }
};

bool sameMatching(const RenderSettings& a, const RenderSettings& b) {
    const MatchSettings x = clampMatchSettings(a);
    const MatchSettings y = clampMatchSettings(b);
    if (x.fine != y.fine) {
        return false;
    }
    // The fine mode's matching depends on the blanks the writer can make instead.
    return x.fine || (x.innerProductThreshold == y.innerProductThreshold &&
                      x.scanStep == y.scanStep && x.priorityScale == y.priorityScale);
}

bool sameWriting(const RenderSettings& a, const RenderSettings& b) {
    return a.useDots == b.useDots && a.noEntities == b.noEntities &&
           a.underscoreRuns == b.underscoreRuns && a.strictHalfSpaces == b.strictHalfSpaces;
}

std::vector<RowCell> cellsOf(const TextRow& row) {
    const auto used = row.usedCells();
    return {used.begin(), used.end()};
}

// The row the cells were taken from: they are in order and apart, so each goes last.
void rebuildRow(TextRow& row, std::span<const RowCell> cells) {
    row.reset();
    for (const RowCell& cell : cells) {
        row.placeGlyph(cell.code, cell.x, cell.width);
    }
}

std::size_t roomBelow(std::size_t boxesAbove) {
    return GlyphBoxList::kCapacity - std::min(boxesAbove, GlyphBoxList::kCapacity);
}

void keepBoxes(RenderedRow& row, const GlyphBoxList& boxes) {
    row.boxCount = boxes.boxCount();
    row.boxes.assign(boxes.outlines().begin(), boxes.outlines().end());
}

// Whether the row still holds every box the list has room for below `boxesAbove`.
bool boxesSuffice(const RenderedRow& row, std::size_t boxesAbove) {
    return row.boxes.size() >= std::min(row.boxCount, roomBelow(boxesAbove));
}

// Takes the rows renderVectorRows hands over, in the order they were asked for.
class FreshRows final : public RowSink {
public:
    FreshRows(std::span<const std::int64_t> wanted, const GlyphBoxList& boxes, Plan& plan)
        : wanted_(wanted), boxes_(boxes), plan_(plan) {}

    void takeRow(const TextRow& row) override {
        RenderedRow& fresh = plan_.fresh[static_cast<std::size_t>(wanted_[next_++])].emplace();
        fresh.cells = cellsOf(row);
        keepBoxes(fresh, boxes_);
    }

private:
    std::span<const std::int64_t> wanted_;
    const GlyphBoxList& boxes_;
    Plan& plan_;
    std::size_t next_ = 0;
};

bool matchRowsOf(const VectorSet& vectors, const RenderSettings& settings,
                 std::span<const FixedCell> fixed, std::span<const std::int64_t> wanted, Plan& plan,
                 ProgressReceiver& progress) {
    TextRow row;
    GlyphBoxList boxes;
    FreshRows sink(wanted, boxes, plan);
    plan.matched += wanted.size();
    return renderVectorRows(row, vectors, settings, wanted, boxes, progress, sink, fixed);
}

// The default mode: each row depends on its own segments only. A kept row whose boxes the
// list now has more room for than it kept is matched again for them.
bool matchRows(const VectorSet& vectors, const RenderSettings& settings,
               std::span<const FixedCell> fixed, Plan& plan, ProgressReceiver& progress) {
    std::vector<std::int64_t> wanted;
    for (std::size_t n = 0; n < plan.changed.size(); ++n) {
        if (plan.changed[n]) {
            wanted.push_back(static_cast<std::int64_t>(n));
        }
    }
    if (!matchRowsOf(vectors, settings, fixed, wanted, plan, progress)) {
        return false;
    }
    wanted.clear();
    std::size_t boxesAbove = 0;
    for (std::size_t n = 0; n < plan.changed.size(); ++n) {
        const RenderedRow& row = plan.rowAt(n);
        if (!boxesSuffice(row, boxesAbove)) {
            wanted.push_back(static_cast<std::int64_t>(n));
        }
        boxesAbove += row.boxCount;
    }
    return matchRowsOf(vectors, settings, fixed, wanted, plan, progress);
}

// The fine mode walks the rows from the top and matches a row when an edit reaches it, when
// the row above placed other characters than it did (they cover line pixels this row sees), or
// when the box list's room for it changed so that it could cut the row short.
class FineWalk final : public FineRowSink {
public:
    explicit FineWalk(Plan& plan) : plan_(plan) {}

    bool run(const VectorSet& vectors, const ExactGaps& gaps, std::span<const FixedCell> fixed,
             ProgressReceiver& progress) {
        TextRow row;
        GlyphBoxList boxes;
        const std::size_t count = plan_.changed.size();
        while (next_ < count) {
            if (!mustMatch(next_)) {
                boxesAbove_ += plan_.kept[next_].placed.size();
                ++next_;
                continue;
            }
            const std::size_t from = next_;
            const FineRowsStart start{
                static_cast<std::int64_t>(from),
                from > 0 ? std::span(plan_.rowAt(from - 1).placed) : std::span<FinePlacement>(),
                boxesAbove_};
            if (!renderFineRows(row, vectors, gaps, start, boxes, progress, *this, fixed)) {
                return false;
            }
            if (next_ == from) {
                break;  // the canvas ended before it
            }
            aboveChanged_ = false;
        }
        return true;
    }

    bool takeFineRow(std::int64_t index, const TextRow& row, std::span<const FinePlacement> placed,
                     const GlyphBoxList& boxes) override {
        const auto n = static_cast<std::size_t>(index);
        RenderedRow& fresh = plan_.fresh[n].emplace();
        fresh.cells = cellsOf(row);
        keepBoxes(fresh, boxes);
        fresh.placed.assign(placed.begin(), placed.end());
        fresh.boxRoom = roomBelow(boxesAbove_);
        ++plan_.matched;
        aboveChanged_ = n >= plan_.kept.size() || plan_.kept[n].placed != fresh.placed;
        boxesAbove_ += placed.size();
        next_ = n + 1;
        return next_ < plan_.changed.size() && mustMatch(next_);
    }

private:
    bool mustMatch(std::size_t n) const {
        if (n >= plan_.kept.size() || plan_.changed[n] || aboveChanged_ ||
            !boxesSuffice(plan_.kept[n], boxesAbove_)) {
            return true;
        }
        // The room cuts a row short only once the row placed as many characters as it allows.
        const RenderedRow& kept = plan_.kept[n];
        const std::size_t room = roomBelow(boxesAbove_);
        return kept.boxRoom != room &&
               (kept.placed.size() >= kept.boxRoom || kept.placed.size() >= room);
    }

    Plan& plan_;
    std::size_t next_ = 0;
    std::size_t boxesAbove_ = 0;
    bool aboveChanged_ = false;
};

// Writes the rows whose text can differ: those matched afresh, and those whose dot generator
// starts elsewhere than it did or whose blanks are written otherwise. Returns the generator
// as the last row leaves it.
RandomGenerator writeRows(Plan& plan, const RenderSettings& settings, bool rewriteAll,
                          RandomGenerator random) {
    TextRow scratch;
    for (std::size_t n = 0; n < plan.changed.size(); ++n) {
        if (!plan.fresh[n]) {
            const RenderedRow& kept = plan.kept[n];
            if (!rewriteAll && kept.randomBefore == random) {
                random = kept.randomAfter;
                continue;
            }
            plan.fresh[n] = kept;
        }
        RenderedRow& row = *plan.fresh[n];
        rebuildRow(scratch, row.cells);
        row.text.clear();
        row.randomBefore = random;
        appendRowText(row.text, scratch, settings, random);
        row.randomAfter = random;
    }
    return random;
}

// The placed characters of row n among `placed` (ordered by row, then by x).
std::span<const PlacedCharacter> placedInRow(std::span<const PlacedCharacter> placed,
                                             std::int64_t n) {
    const auto first = std::ranges::lower_bound(placed, n, {}, &PlacedCharacter::row);
    const auto last = std::ranges::upper_bound(first, placed.end(), n, {}, &PlacedCharacter::row);
    return {first, last};
}

bool sameCells(std::span<const PlacedCharacter> a, std::span<const PlacedCharacter> b) {
    return std::ranges::equal(a, b, {}, &PlacedCharacter::cell, &PlacedCharacter::cell);
}

// The rows a rendering makes: the canvas's, and below them the rows holding placed characters.
std::size_t rowCountOf(const CanvasExtent& extent, std::span<const PlacedCharacter> placed) {
    const std::int64_t below = placed.empty() ? 0 : placed.back().row + 1;
    return static_cast<std::size_t>(std::max(extent.rowCount(), below));
}

// Marks the rows whose placed characters changed; in the fine mode the row below too, as they
// cover lines that row sees.
void markChangedPlacedRows(std::span<const PlacedCharacter> before,
                           std::span<const PlacedCharacter> after, bool fine,
                           std::vector<bool>& changed) {
    for (std::size_t n = 0; n < changed.size(); ++n) {
        const auto row = static_cast<std::int64_t>(n);
        if (!sameCells(placedInRow(before, row), placedInRow(after, row))) {
            changed[n] = true;
            if (fine && n + 1 < changed.size()) {
                changed[n + 1] = true;
            }
        }
    }
}

// Rows below the canvas are not matched: they hold placed characters only.
void settleRowsBelowCanvas(Plan& plan, std::size_t canvasRows) {
    for (std::size_t n = canvasRows; n < plan.changed.size(); ++n) {
        if (plan.changed[n] || n >= plan.kept.size()) {
            plan.fresh[n].emplace();
            plan.changed[n] = false;
        }
    }
}

// Puts the placed characters into the rows matched afresh, and into every row holding some
// when the blanks are written otherwise (where they land depends on it).
void placeCharacters(Plan& plan, std::span<const PlacedCharacter> placed,
                     const RenderSettings& settings, bool rewriteAll) {
    std::optional<PlacedRowMerger> merger;
    for (std::size_t n = 0; n < plan.changed.size(); ++n) {
        const auto inRow = placedInRow(placed, static_cast<std::int64_t>(n));
        const bool matchedNow = plan.fresh[n].has_value();
        if (!matchedNow && (inRow.empty() || !rewriteAll)) {
            continue;
        }
        if (!matchedNow) {
            plan.fresh[n] = plan.kept[n];
        }
        RenderedRow& row = *plan.fresh[n];
        if (inRow.empty()) {
            row.matched.clear();
            row.off.clear();
            continue;
        }
        if (matchedNow) {
            row.matched = row.cells;
        }
        if (!merger) {
            merger.emplace(settings);
        }
        row.cells = cellsOf(merger->merge(row.matched, inRow));
        row.off.assign(merger->offCharacters().begin(), merger->offCharacters().end());
    }
}

std::vector<std::size_t> inexactPiecesOf(const Plan& plan,
                                         std::span<const PlacedCharacter> placed) {
    std::vector<std::size_t> pieces;
    for (const PlacedCharacter& p : placed) {
        if (p.row < 0) {
            pieces.push_back(p.piece);
        }
    }
    for (std::size_t n = 0; n < plan.changed.size(); ++n) {
        const auto inRow = placedInRow(placed, static_cast<std::int64_t>(n));
        for (const std::size_t off : plan.rowAt(n).off) {
            pieces.push_back(inRow[off].piece);
        }
    }
    return PlacedTextInserter::piecesOf(std::move(pieces));
}

RenderResult resultOf(const Plan& plan) {
    RenderResult result;
    const std::size_t count = plan.changed.size();
    std::size_t textSize = 0;
    for (std::size_t n = 0; n < count; ++n) {
        textSize += plan.rowAt(n).text.size();
    }
    result.text.reserve(textSize);
    for (std::size_t n = 0; n < count; ++n) {
        const RenderedRow& row = plan.rowAt(n);
        result.text += row.text;
        for (const GlyphBoxList::Outline& box : row.boxes) {
            result.boxes.addBox(box[0].x, box[0].y, box[1].x - box[0].x);
        }
        const auto top = static_cast<std::int32_t>(16 * n + 1);
        for (const RowCell& cell : row.cells) {
            if (!isBlankCell(cell) && result.glyphs.size() < RenderResult::kMaxPlacedGlyphs) {
                result.glyphs.push_back({cell.x, top, cell.code});
            }
        }
    }
    return result;
}

// The fresh rows keep only the boxes the list has room for below the rows above them.
void dropBoxesBeyondRoom(Plan& plan) {
    std::size_t boxesAbove = 0;
    for (std::size_t n = 0; n < plan.changed.size(); ++n) {
        if (auto& fresh = plan.fresh[n]; fresh && fresh->boxes.size() > roomBelow(boxesAbove)) {
            auto& boxes = fresh->boxes;
            boxes = {boxes.begin(),
                     boxes.begin() + static_cast<std::ptrdiff_t>(roomBelow(boxesAbove))};
        }
        boxesAbove += plan.rowAt(n).boxCount;
    }
}

}  // namespace

IncrementalRendering::IncrementalRendering() = default;
IncrementalRendering::~IncrementalRendering() = default;

void IncrementalRendering::forget() {
    drawing_.reset();
    rows_.clear();
    placed_.clear();
}

CheckedRendering IncrementalRendering::render(const VectorSet& vectors,
                                              const RenderSettings& settings,
                                              RandomGenerator& random, ProgressReceiver& progress,
                                              const PlacedText& placed) {
    try {
        std::optional<RenderResult> result =
            renderKept(vectors, settings, random, progress, placed);
        if (!result) {
            return {RenderEnd::Stopped, std::nullopt};
        }
        return {RenderEnd::Complete, std::move(result)};
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    forget();
    return {RenderEnd::OutOfMemory, std::nullopt};
}

std::optional<RenderResult> IncrementalRendering::renderKept(const VectorSet& vectors,
                                                             const RenderSettings& settings,
                                                             RandomGenerator& random,
                                                             ProgressReceiver& progress,
                                                             const PlacedText& placed) {
    const CanvasExtent extent = canvasExtentOf(vectors);
    std::vector<PlacedCharacter> characters = layOutPlacedText(placed);
    const std::vector<FixedCell> fixed = fixedCellsOf(characters);
    const std::size_t count = rowCountOf(extent, characters);
    // A wider or narrower canvas moves where rows end, and a matching setting changes every row.
    const bool comparable = drawing_ && sameMatching(settings, settings_) &&
                            canvasExtentOf(*drawing_).width == extent.width;
    const ExactGaps gaps = settings.fine && !(comparable && sameWriting(settings, settings_))
                               ? exactGapsFor(settings)
                               : gaps_;
    const bool reuse = comparable && (!settings.fine || gaps.belowLimit == gaps_.belowLimit);

    const std::vector<RenderedRow> none;
    Plan plan{reuse ? rows_ : none, std::vector<bool>(count, !reuse), {}, 0};
    plan.fresh.resize(count);
    if (reuse) {
        markChangedRows(*drawing_, vectors, plan.changed);
        for (std::size_t n = rows_.size(); n < count; ++n) {
            plan.changed[n] = true;
        }
        markChangedPlacedRows(placed_, characters, settings.fine, plan.changed);
    }
    settleRowsBelowCanvas(plan, static_cast<std::size_t>(extent.rowCount()));
    const bool complete = settings.fine ? FineWalk(plan).run(vectors, gaps, fixed, progress)
                                        : matchRows(vectors, settings, fixed, plan, progress);
    if (!complete) {
        return std::nullopt;
    }
    const bool rewriteAll = !reuse || !sameWriting(settings, settings_);
    placeCharacters(plan, characters, settings, rewriteAll);
    const RandomGenerator advanced = writeRows(plan, settings, rewriteAll, random);
    RenderResult result = resultOf(plan);
    result.inexactPieces = inexactPiecesOf(plan, characters);

    dropBoxesBeyondRoom(plan);
    auto drawing = drawing_ ? std::move(drawing_) : std::make_unique<VectorSet>();
    std::vector<RenderedRow> rows(count);
    // Nothing below allocates: the kept rendering changes whole or not at all.
    for (std::size_t n = 0; n < count; ++n) {
        rows[n] = plan.fresh[n] ? std::move(*plan.fresh[n]) : std::move(rows_[n]);
    }
    drawing_ = std::move(drawing);
    *drawing_ = vectors;
    settings_ = settings;
    gaps_ = gaps;
    rows_ = std::move(rows);
    placed_.swap(characters);
    rowsMatched_ = plan.matched;
    random = advanced;
    return result;
}

}  // namespace penmoji
