// SPDX-License-Identifier: MIT
#include "render/text_row.h"

#include <algorithm>

namespace penmoji {

bool isBlankCode(std::int32_t code) {
    return code == kHalfWidthSpaceCode || code == kFullWidthSpaceCode ||
           (code >= kFirstRowBlankCode && code <= GapCode);
}

bool isBlankCell(const RowCell& cell) {
    return cell.used && isBlankCode(cell.code);
}

void TextRow::reset() {
    cells_.fill(RowCell{});
    used_ = 0;
    reach_ = 0;
}

// Every operation starts and ends with the used cells as a prefix, so the scans below stop at
// the first unused cell: nothing after it can change anything.

void TextRow::placeGlyph(std::int32_t code, std::int32_t x, std::int32_t width) {
    if (width <= 0 || x < 0) {
        return;
    }
    const std::size_t used = used_;
    const std::int64_t end = std::int64_t{x} + width;
    if (x >= reach_) {
        // Every used cell ends at or before x, so none is removed and each starts left of x.
        reach_ = end;
        if (used < kCellCount) {
            cells_[used] = RowCell{true, x, width, code};
            ++used_;
        }
        return;
    }
    reach_ = std::max(reach_, end);
    for (RowCell& cell : std::span(cells_).first(used)) {
        const std::int64_t cellEnd = std::int64_t{cell.x} + cell.width;
        const bool startInCell = cell.x <= x && x < cellEnd;
        const bool endInCell = cell.x < end && end <= cellEnd;
        const bool cellStartInside = x <= cell.x && cell.x < end;
        const bool cellEndInside = x < cellEnd && cellEnd <= end;
        if (cell.used && (startInCell || endInCell || cellStartInside || cellEndInside)) {
            cell.used = false;
        }
    }

    // Removed cells leave holes until the compact below; the new cell goes after the last
    // remaining cell that starts left of it.
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < used; ++i) {
        if (cells_[i].used && cells_[i].x < x) {
            insertAt = i + 1;
        }
    }
    if (insertAt < kCellCount) {
        shiftPrefixRight(insertAt, used);
        cells_[insertAt] = RowCell{true, x, width, code};
    }
    compactPrefix(std::min(used + 1, kCellCount));
}

void TextRow::fillGaps() {
    // The last cell is never examined, so a gap before it is not filled: a full row has no room.
    std::int64_t end = 0;
    std::size_t used = usedCells().size();
    for (std::size_t i = 0; i + 1 < kCellCount && i < used; ++i) {
        const RowCell& cell = cells_[i];
        if (cell.x > end) {
            const auto gapStart = static_cast<std::int32_t>(end);
            shiftPrefixRight(i, used);
            used = std::min(used + 1, kCellCount);
            used_ = used;
            cells_[i] = RowCell{true, gapStart, cell.x - gapStart, GapCode};
        }
        // The gap cell ends exactly where the shifted cell starts, so the scan simply goes on.
        end = std::int64_t{cells_[i].x} + cells_[i].width;
    }
}

void TextRow::mergeBlanks() {
    std::size_t used = usedCells().size();
    std::size_t i = 0;
    while (i + 1 < used) {
        RowCell& left = cells_[i];
        const RowCell& right = cells_[i + 1];
        if (isBlankCell(left) && isBlankCell(right)) {
            // The merged cell may absorb a third blank: look at the same index again.
            left.width = right.x + right.width - left.x;
            cells_[i + 1].used = false;
            compactPrefix(used);
            --used;
        } else {
            ++i;
        }
    }
}

void TextRow::compact() {
    compactPrefix(kCellCount);
}

void TextRow::compactPrefix(std::size_t count) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (cells_[i].used) {
            cells_[next++] = cells_[i];
        }
    }
    const std::size_t kept = next;
    for (; next < count; ++next) {
        cells_[next].used = false;
    }
    // The cells from `count` on are unused unless `count` cut into the used prefix.
    used_ = count >= used_ ? kept : countUsedPrefix();
}

std::size_t TextRow::countUsedPrefix() const {
    const auto firstFree =
        std::find_if(cells_.begin(), cells_.end(), [](const RowCell& cell) { return !cell.used; });
    return static_cast<std::size_t>(firstFree - cells_.begin());
}

void TextRow::shiftPrefixRight(std::size_t i, std::size_t used) {
    // Cells from `used` on are unused; the cell pushed past 799 is lost.
    const std::size_t stop = std::min(used + 1, kCellCount);
    if (i + 1 >= stop) {
        return;
    }
    std::copy_backward(cells_.begin() + static_cast<std::ptrdiff_t>(i),
                       cells_.begin() + static_cast<std::ptrdiff_t>(stop - 1),
                       cells_.begin() + static_cast<std::ptrdiff_t>(stop));
}

void TextRow::shiftRight(std::size_t i) {
    if (i >= kCellCount - 1) {
        return;
    }
    std::copy_backward(cells_.begin() + static_cast<std::ptrdiff_t>(i), cells_.end() - 1,
                       cells_.end());
    used_ = countUsedPrefix();
}

std::span<const RowCell> TextRow::usedCells() const {
    return std::span(cells_).first(used_);
}

}  // namespace penmoji
