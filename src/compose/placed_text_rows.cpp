// SPDX-License-Identifier: MIT
#include "compose/placed_text_rows.h"

#include <algorithm>

namespace penmoji {
namespace {

bool overlapsAny(const RowCell& cell, std::span<const PlacedCharacter> placed) {
    return std::any_of(placed.begin(), placed.end(), [&](const PlacedCharacter& p) {
        return cell.x < p.cell.x + p.cell.width && p.cell.x < cell.x + cell.width;
    });
}

}  // namespace

PlacedTextInserter::PlacedTextInserter(std::span<const PlacedCharacter> placed, RowSink& next)
    : placed_(placed), next_(next) {
    // Rows above the canvas are never rendered.
    while (nextPlaced_ < placed_.size() && placed_[nextPlaced_].row < 0) {
        ++nextPlaced_;
        ++unshown_;
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
    // Rebuilt left to right from the rendered characters that keep their place and the placed
    // ones, so every placement appends and the gaps come out as fillGaps makes them.
    merged_.reset();
    std::span<const PlacedCharacter> rest = placed;
    std::size_t count = 0;
    auto place = [&](const RowCell& cell) {
        if (cell.x < 0 || count == TextRow::kCellCount) {
            return false;
        }
        merged_.placeGlyph(cell.code, cell.x, cell.width);
        ++count;
        return true;
    };
    for (const RowCell& cell : row.usedCells()) {
        if (isBlankCell(cell) || overlapsAny(cell, placed)) {
            continue;
        }
        for (; !rest.empty() && rest.front().cell.x < cell.x; rest = rest.subspan(1)) {
            unshown_ += place(rest.front().cell) ? 0 : 1;
        }
        place(cell);
    }
    for (const PlacedCharacter& p : rest) {
        unshown_ += place(p.cell) ? 0 : 1;
    }
    merged_.fillGaps();
    merged_.mergeBlanks();
    next_.takeRow(merged_);
}

void PlacedTextInserter::finish() {
    const TextRow empty;
    while (nextPlaced_ < placed_.size()) {
        takeRow(empty);
    }
}

}  // namespace penmoji
