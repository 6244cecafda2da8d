// SPDX-License-Identifier: MIT
#include "compose/placed_text_rows.h"

#include <algorithm>
#include <iterator>

#include "compose/row_emission.h"

namespace penmoji {
namespace {

bool overlapsAny(const RowCell& cell, std::span<const PlacedCharacter> placed) {
    return std::any_of(placed.begin(), placed.end(), [&](const PlacedCharacter& p) {
        return cell.x < p.cell.x + p.cell.width && p.cell.x < cell.x + cell.width;
    });
}

}  // namespace

const TextRow& PlacedRowMerger::merge(std::span<const RowCell> rendered,
                                      std::span<const PlacedCharacter> placed) {
    kept_.clear();
    for (const RowCell& cell : rendered) {
        if (!isBlankCell(cell) && !overlapsAny(cell, placed)) {
            kept_.push_back(cell);
        }
    }
    off_.clear();
    unshown_ = build(placed);
    settle(placed);
    return merged_;
}

std::size_t PlacedRowMerger::build(std::span<const PlacedCharacter> placed) {
    // Rebuilt left to right from the rendered characters that keep their place and the placed
    // ones, so every placement appends and the gaps come out as fillGaps makes them.
    merged_.reset();
    std::span<const PlacedCharacter> rest = placed;
    std::size_t count = 0;
    std::size_t unshown = 0;
    auto place = [&](const RowCell& cell) {
        if (isBlankCode(cell.code)) {
            return true;  // held free, filled by the gap's blanks
        }
        if (cell.x < 0 || count == TextRow::kCellCount) {
            return false;
        }
        merged_.placeGlyph(cell.code, cell.x, cell.width);
        ++count;
        return true;
    };
    for (const RowCell& cell : kept_) {
        for (; !rest.empty() && rest.front().cell.x < cell.x; rest = rest.subspan(1)) {
            unshown += place(rest.front().cell) ? 0 : 1;
        }
        place(cell);
    }
    for (const PlacedCharacter& p : rest) {
        unshown += place(p.cell) ? 0 : 1;
    }
    merged_.fillGaps();
    merged_.mergeBlanks();
    return unshown;
}

// A placed character the written blanks do not bring to its pixel (the rendered characters
// before it leave a gap too narrow for the error the row carries) takes the room of the nearest
// rendered character before it, one at a time, until it lands exactly; only when no rendered
// character is left between it and the placed one before it is it reported.
void PlacedRowMerger::settle(std::span<const PlacedCharacter> placed) {
    std::size_t checked = 0;
    std::int64_t previousEnd = 0;
    while (checked < placed.size()) {
        writtenPositions(merged_, settings_, positions_);
        const std::span<const RowCell> cells = merged_.usedCells();
        bool changed = false;
        for (; checked < placed.size() && !changed; ++checked) {
            const RowCell& p = placed[checked].cell;
            if (isBlankCode(p.code)) {
                continue;
            }
            const auto at = std::ranges::lower_bound(cells, p.x, {}, &RowCell::x);
            const bool shown = at != cells.end() && *at == p;
            const bool onPixel =
                shown && positions_[static_cast<std::size_t>(at - cells.begin())] == p.x;
            if (shown && !onPixel) {
                const auto before = std::ranges::find_if(
                    kept_.rbegin(), kept_.rend(),
                    [&](const RowCell& c) { return c.x < p.x && c.x >= previousEnd; });
                if (before != kept_.rend()) {
                    kept_.erase(std::next(before).base());
                    build(placed);
                    changed = true;
                    break;
                }
            }
            if (!onPixel) {
                off_.push_back(checked);
            }
            previousEnd = std::int64_t{p.x} + p.width;
        }
    }
}

PlacedTextInserter::PlacedTextInserter(std::span<const PlacedCharacter> placed, RowSink& next,
                                       const RenderSettings& settings)
    : placed_(placed), next_(next), merger_(settings) {
    // Rows above the canvas are never rendered.
    while (nextPlaced_ < placed_.size() && placed_[nextPlaced_].row < 0) {
        if (!isBlankCode(placed_[nextPlaced_].cell.code)) {
            inexact_.push_back(placed_[nextPlaced_].piece);
            ++unshown_;
        }
        ++nextPlaced_;
    }
}

std::span<const PlacedCharacter> PlacedTextInserter::charactersOfRow(std::int32_t index) {
    const std::size_t first = nextPlaced_;
    while (nextPlaced_ < placed_.size() && placed_[nextPlaced_].row == index) {
        ++nextPlaced_;
    }
    return placed_.subspan(first, nextPlaced_ - first);
}

void PlacedTextInserter::takeRow(const TextRow& row) {
    const std::span<const PlacedCharacter> placed = charactersOfRow(rowIndex_++);
    if (placed.empty()) {
        next_.takeRow(row);
        return;
    }
    const TextRow& merged = merger_.merge(row.usedCells(), placed);
    unshown_ += merger_.unshownCount();
    for (const std::size_t off : merger_.offCharacters()) {
        inexact_.push_back(placed[off].piece);
    }
    next_.takeRow(merged);
}

std::vector<std::size_t> PlacedTextInserter::piecesOf(std::vector<std::size_t> pieces) {
    std::ranges::sort(pieces);
    const auto [first, last] = std::ranges::unique(pieces);
    pieces.erase(first, last);
    return pieces;
}

void PlacedTextInserter::finish() {
    const TextRow empty;
    while (nextPlaced_ < placed_.size()) {
        takeRow(empty);
    }
}

}  // namespace penmoji
