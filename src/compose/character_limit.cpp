// SPDX-License-Identifier: MIT
#include "compose/character_limit.h"

#include "render/text_row.h"

namespace penmoji {

void CharacterLimit::takeRow(const TextRow& row) {
    if (exceeded_) {
        return;
    }
    if (limit_ > 0) {
        for (const RowCell& cell : row.usedCells()) {
            count_ += isBlankCell(cell) ? 0 : 1;
        }
        if (count_ > limit_) {
            exceeded_ = true;
            return;
        }
    }
    next_.takeRow(row);
}

}  // namespace penmoji
