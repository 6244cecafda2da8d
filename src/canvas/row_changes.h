// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <iterator>
#include <map>
#include <span>
#include <vector>

#include <QRect>
#include <QRegion>

namespace penmoji {

// Items of a rendering (placed characters, glyph boxes) by the top of the row they stand in,
// each row in the order of `less`.
template <typename Item, typename RowOf, typename Less>
std::map<int, std::vector<Item>> groupByRow(std::span<const Item> items, RowOf rowOf, Less less) {
    std::map<int, std::vector<Item>> rows;
    for (const Item& item : items) {
        rows[rowOf(item)].push_back(item);
    }
    for (auto& [top, row] : rows) {
        std::sort(row.begin(), row.end(), less);
    }
    return rows;
}

// Where two renderings differ, row by row: the rows whose items are not the same, each with the
// cells of the items only one of the renderings has. A small edit changes a few cells of a
// large drawing, and only those need painting again.
template <typename Item, typename CellOf, typename Less>
std::map<int, QRect> changedCells(const std::map<int, std::vector<Item>>& before,
                                  const std::map<int, std::vector<Item>>& after, CellOf cellOf,
                                  Less less) {
    static const std::vector<Item> kNone;
    auto rowOf = [](const std::map<int, std::vector<Item>>& rows, int top) -> const auto& {
        const auto row = rows.find(top);
        return row == rows.end() ? kNone : row->second;
    };
    std::map<int, QRect> changed;
    auto compareRow = [&](int top) {
        const std::vector<Item>& old = rowOf(before, top);
        const std::vector<Item>& now = rowOf(after, top);
        if (old == now) {
            return;
        }
        std::vector<Item> differing;
        std::set_symmetric_difference(old.begin(), old.end(), now.begin(), now.end(),
                                      std::back_inserter(differing), less);
        QRect& cells = changed[top];
        for (const Item& item : differing) {
            cells |= cellOf(item);
        }
    };
    for (const auto& [top, items] : before) {
        compareRow(top);
    }
    for (const auto& [top, items] : after) {
        if (!before.contains(top)) {
            compareRow(top);
        }
    }
    return changed;
}

// The area of the changed cells.
inline QRegion areaOf(const std::map<int, QRect>& changedRows) {
    QRegion area;
    for (const auto& [top, cells] : changedRows) {
        area += cells;
    }
    return area;
}

}  // namespace penmoji
