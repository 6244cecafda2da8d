#pragma once

#include <cstddef>
#include <string_view>

namespace penmoji {

// The sizes a board checks before it takes a post, for a rendered Shift_JIS text.
struct TextFigures {
    std::size_t bytes = 0;        // the whole text, CR LF included
    std::size_t lines = 0;        // rows ended by CR LF
    std::size_t longestLine = 0;  // bytes of the longest row, without its CR LF
};

TextFigures measureText(std::string_view text);

}  // namespace penmoji
