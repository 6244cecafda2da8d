// SPDX-License-Identifier: MIT
#include "compose/placed_text_layout.h"

#include <algorithm>
#include <map>

#include "compose/text_art_reading.h"

namespace penmoji {
namespace {

using CellsByRow = std::map<std::int32_t, std::vector<PlacedCharacter>>;

bool overlaps(const RowCell& a, const RowCell& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width;
}

void layOutPiece(const PlacedPiece& piece, std::size_t index, CellsByRow& rows) {
    std::int32_t row = rowHolding(piece.y);
    for (const std::vector<std::int32_t>& codes : piece.rows) {
        std::vector<PlacedCharacter>& cells = rows[row];
        std::int32_t x = piece.x;
        for (std::int32_t code : codes) {
            const std::int32_t width = placedElementWidth(code);
            if (width > 0) {
                const RowCell placed{true, x, width, code};
                std::erase_if(cells,
                              [&](const PlacedCharacter& c) { return overlaps(c.cell, placed); });
                cells.push_back({row, placed, index});
            }
            x += width;
        }
        ++row;
    }
}

}  // namespace

std::int32_t rowHolding(std::int32_t y) {
    if (y > 0) {
        return (y - 1) / 16;
    }
    return y == 0 ? 0 : -((16 - y) / 16);
}

std::vector<PlacedCharacter> layOutPlacedText(const PlacedText& text) {
    CellsByRow rows;
    for (std::size_t i = 0; i < text.size(); ++i) {
        layOutPiece(text[i], i, rows);
    }
    std::vector<PlacedCharacter> out;
    for (auto& [row, cells] : rows) {
        std::ranges::sort(cells, {}, [](const PlacedCharacter& c) { return c.cell.x; });
        out.insert(out.end(), cells.begin(), cells.end());
    }
    return out;
}

std::vector<FixedCell> fixedCellsOf(std::span<const PlacedCharacter> placed) {
    std::vector<FixedCell> cells;
    cells.reserve(placed.size());
    for (const PlacedCharacter& p : placed) {
        cells.push_back({p.row, p.cell});
    }
    return cells;
}

}  // namespace penmoji
