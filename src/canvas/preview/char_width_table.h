// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

class QFont;

namespace penmoji {

// Advance widths of the 16-pixel preview font for every code the rendered text can hold, so the
// preview can place each character on its pixel. Measured once, on the canvas's first paint.
class CharWidthTable {
public:
    // The single-byte codes 0x20 to 0xFE, then every integer from 0x8140 to 0xFCFE.
    static constexpr int kCodeCount = (0xFE - 0x20 + 1) + (0xFCFE - 0x8140 + 1);

    bool filled() const { return filled_; }
    // Measures `font` on the first call; later calls do nothing, even with another font.
    void FillFromFont(const QFont& font);
    // Advance width in pixels of a single-byte code or lead * 256 + trail; 0 when the table is
    // not filled yet or the code is not in it.
    std::int32_t WidthOf(std::int32_t code) const;
    // The line pitch of the preview: the font's text height plus 2.
    std::int32_t lineHeight() const { return lineHeight_; }

private:
    std::array<std::int32_t, kCodeCount> codes_{};
    std::array<std::int32_t, kCodeCount> advances_{};
    int count_ = 0;
    bool filled_ = false;
    std::int32_t lineHeight_ = 0;
};

}  // namespace penmoji
