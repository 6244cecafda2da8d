// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "document/vector_set.h"

namespace penmoji {

// The cells of the glyphs the last rendering placed, for the canvas to draw over the drawing.
// Each box is kept as the five points of its closed outline; boxes beyond the capacity are
// dropped silently.
class GlyphBoxList {
public:
    static constexpr std::size_t kCapacity = 4096;
    using Outline = std::array<Point, 5>;

    void clearBoxes() { boxes_.clear(); }
    // Appends the 16-pixel-high box at (x, top) of the given width; ignored when full.
    void addBox(std::int32_t x, std::int32_t top, std::int32_t width);

    std::size_t boxCount() const { return boxes_.size(); }
    std::span<const Outline> outlines() const { return boxes_; }

private:
    std::vector<Outline> boxes_;
};

}  // namespace penmoji
