// SPDX-License-Identifier: MIT
#include "render/glyph_box_list.h"

namespace penmoji {

void GlyphBoxList::addBox(std::int32_t x, std::int32_t top, std::int32_t width) {
    if (boxes_.size() >= kCapacity) {
        return;
    }
    const std::int32_t right = x + width;
    const std::int32_t bottom = top + 16;
    boxes_.push_back(
        {Point{x, top}, Point{right, top}, Point{right, bottom}, Point{x, bottom}, Point{x, top}});
}

}  // namespace penmoji
