// SPDX-License-Identifier: MIT
#pragma once

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "document/vector_set.h"

namespace penmoji::fixtures {

static_assert(sizeof(Point) == 2 * sizeof(std::int32_t), "sameState compares points bytewise");

inline std::unique_ptr<VectorSet> newDocument() {
    return std::make_unique<VectorSet>();
}

// A document in a state no file produces (stale points beyond the counts), to show whether a
// refused read touched anything.
inline std::unique_ptr<VectorSet> busyDocument() {
    auto document = newDocument();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        VectorLine& line = document->lines[slot];
        line.count = 1 + slot % kMaxPoints;
        for (int i = 0; i < kMaxPoints; ++i) {
            line.points[i] = {slot - i, i * 3};
        }
    }
    return document;
}

// Compares everything, stale points included: for checking that a document was left alone. The
// point arrays go through memcmp (they hold no padding) because the fuzz target calls this for
// every input, and an element-wise loop there would cost most of its speed.
inline bool sameState(const VectorSet& a, const VectorSet& b) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const VectorLine& x = a.lines[slot];
        const VectorLine& y = b.lines[slot];
        if (x.count != y.count ||
            std::memcmp(x.points.data(), y.points.data(), sizeof x.points) != 0) {
            return false;
        }
    }
    return true;
}

inline std::string fileBytes(const VectorSet& document) {
    std::ostringstream out(std::ios::binary);
    if (!document.writeTo(out).ok()) {
        return "<refused>";
    }
    return std::move(out).str();
}

}  // namespace penmoji::fixtures
