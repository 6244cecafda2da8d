// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace penmoji {

// One placed character or blank stretch of a row, in canvas pixels.
struct RowCell {
    bool used = false;
    std::int32_t x = 0;
    std::int32_t width = 0;
    std::int32_t code = 0;  // Shift_JIS code, or a blank code

    friend bool operator==(const RowCell&, const RowCell&) = default;
};

inline constexpr std::int32_t kHalfWidthSpaceCode = 0x20;
inline constexpr std::int32_t kFullWidthSpaceCode = 0x8140;
// Blank codes that only rows use; GapCode marks the stretches fillGaps inserts.
inline constexpr std::int32_t kFirstRowBlankCode = 0xFFF0;
inline constexpr std::int32_t GapCode = 0xFFF4;

bool isBlankCode(std::int32_t code);
// A used cell holding a blank code: horizontal space of the cell's exact width.
bool isBlankCell(const RowCell& cell);

// The characters of one 16-pixel row with their pixel positions. Fixed storage; a full row drops
// characters silently. After every operation but shiftRight the used cells form a prefix.
class TextRow {
public:
    static constexpr std::size_t kCellCount = 800;

    // Every cell empty.
    void reset();
    // Puts a character at its pixel position, removing every character it overlaps.
    // A non-positive width or a negative x is ignored.
    void placeGlyph(std::int32_t code, std::int32_t x, std::int32_t width);
    // Inserts a GapCode cell for every gap between pixel 0 and the end of the last cell.
    void fillGaps();
    // Joins every run of neighbouring blank cells into one cell.
    void mergeBlanks();
    // Moves the used cells to the front, keeping their order.
    void compact();
    // Opens index i by moving cells i to 798 one place right; cell 799's contents are lost.
    void shiftRight(std::size_t i);

    std::span<const RowCell, kCellCount> cells() const { return cells_; }
    // The used prefix.
    std::span<const RowCell> usedCells() const;

private:
    // compact and shiftRight limited to the first `count` (`used`) cells, past which every cell
    // is unused.
    void compactPrefix(std::size_t count);
    void shiftPrefixRight(std::size_t i, std::size_t used);
    std::size_t countUsedPrefix() const;

    std::array<RowCell, kCellCount> cells_{};
    // The length of the used prefix.
    std::size_t used_ = 0;
    // No used cell ends right of this: a character placed at or beyond it overlaps none and
    // goes last, which is how the render passes place nearly all of theirs.
    std::int64_t reach_ = 0;
};

}  // namespace penmoji
