#pragma once

#include <cstdint>

class QFont;

namespace penmoji {

// Advance widths of the 16-pixel preview font, measured once.
// (Placeholder interface; the preview work fills it in.)
class CharWidthTable {
public:
    bool filled() const { return filled_; }
    void FillFromFont(const QFont& font);
    // Advance width in pixels of a single-byte code or lead * 256 + trail; 0 when unknown.
    std::int32_t WidthOf(std::int32_t code) const;
    std::int32_t lineHeight() const { return lineHeight_; }

private:
    bool filled_ = false;
    std::int32_t lineHeight_ = 0;
};

}  // namespace penmoji
