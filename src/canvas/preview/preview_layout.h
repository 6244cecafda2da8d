// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace penmoji {

class CharWidthTable;

// One thing the preview shows on a row: a character, or a blank drawn as a tinted block.
struct PreviewItem {
    enum class Kind { Character, Entity, HalfSpace, FullSpace };
    Kind kind;
    int x;
    int width;
    std::size_t offset;  // of its bytes in the text
    std::size_t length;
};

// Walks the items of one row of Shift_JIS text (without its CR LF), left to right.
void forEachPreviewItem(std::string_view row, std::size_t rowOffset, const CharWidthTable& widths,
                        const std::function<void(const PreviewItem&)>& visit);

// Where the rows of a text start and how wide they are, and where its art begins.
struct PreviewLayout {
    struct Row {
        std::size_t offset;
        std::size_t length;  // without CR LF
        int width;
    };
    std::vector<Row> rows;
    int width = 0;
    // The first row with a character and the leftmost pixel of any character, or 0.
    int firstArtRow = 0;
    int firstArtX = 0;
};

PreviewLayout layOutPreview(std::string_view text, const CharWidthTable& widths);

}  // namespace penmoji
