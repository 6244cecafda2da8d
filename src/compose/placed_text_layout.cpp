// SPDX-License-Identifier: MIT
#include "compose/placed_text_layout.h"

#include <algorithm>
#include <map>

#include "compose/text_art_reading.h"

namespace penmoji {
namespace {

using CellsByRow = std::map<std::int32_t, std::vector<RowCell>>;

bool overlaps(const RowCell& a, const RowCell& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width;
}

void layOutPiece(const PlacedPiece& piece, CellsByRow& rows) {
    std::int32_t row = rowHolding(piece.y);
    for (const std::vector<std::int32_t>& codes : piece.rows) {
        std::vector<RowCell>& cells = rows[row];
        std::int32_t x = piece.x;
        for (std::int32_t code : codes) {
            const std::int32_t width = placedElementWidth(code);
            if (width > 0 && !isBlankCode(code)) {
                const RowCell placed{true, x, width, code};
                std::erase_if(cells, [&](const RowCell& c) { return overlaps(c, placed); });
                cells.push_back(placed);
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
    for (const PlacedPiece& piece : text) {
        layOutPiece(piece, rows);
    }
    std::vector<PlacedCharacter> out;
    for (auto& [row, cells] : rows) {
        std::sort(cells.begin(), cells.end(),
                  [](const RowCell& a, const RowCell& b) { return a.x < b.x; });
        for (const RowCell& cell : cells) {
            out.push_back({row, cell});
        }
    }
    return out;
}

}  // namespace penmoji
