// SPDX-License-Identifier: MIT
#include "document/vector_set.h"

namespace penmoji {

void VectorSet::clearAll() {
    for (VectorLine& line : lines) {
        line.clear();
    }
}

std::optional<int> VectorSet::firstFree() const {
    for (int i = 0; i < kSlotCount; ++i) {
        if (lines[i].count == 0) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace penmoji
