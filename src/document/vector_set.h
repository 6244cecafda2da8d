// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>

#include "document/file_status.h"

namespace penmoji {

inline constexpr int kSlotCount = 200;
inline constexpr int kMaxPoints = 200;

// Canvas pixels, origin at the top left, y growing downwards.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// One slot of the document: a polyline of points[0] to points[count - 1]. The points beyond the
// count mean nothing.
struct VectorLine {
    // 0 means the slot is free; editing keeps it within 0 to kMaxPoints.
    std::int32_t count = 0;
    std::array<Point, kMaxPoints> points{};

    void clear() { count = 0; }
};

// The drawing: a fixed table of slots whose index is the order of painting, hit testing,
// rendering and of the records in the file. About 320 KB, so keep it off the stack.
struct VectorSet {
    std::array<VectorLine, kSlotCount> lines{};

    void clearAll();
    // The lowest free slot, or nothing when every slot is in use.
    std::optional<int> firstFree() const;

    // Writes the vector file (layout in vector_file.h) and flushes. A document the reader would
    // refuse (a count outside 0 to kMaxPoints, a coordinate beyond the bound) is refused before
    // any byte is written, so a saved file can always be opened again.
    FileStatus writeTo(std::ostream& out) const;
    // Replaces the whole document from a vector file. On failure the document is exactly as it
    // was.
    FileStatus readFrom(std::istream& in);
};

}  // namespace penmoji
