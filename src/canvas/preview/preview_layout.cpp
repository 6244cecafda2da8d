// SPDX-License-Identifier: MIT
#include "canvas/preview/preview_layout.h"

#include <algorithm>
#include <limits>

#include "canvas/preview/char_width_table.h"

namespace penmoji {
namespace {

constexpr std::int32_t kHalfSpace = 0x20;
constexpr std::int32_t kFullSpace = 0x8140;

struct Entity {
    std::string_view text;
    int width;
};
// Tested in this order; the widths are those of the 16-pixel font.
constexpr Entity kEntities[] = {{"&ensp;", 8}, {"&nbsp;", 5}, {"&thinsp;", 2}};

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFB);
}

}  // namespace

void forEachPreviewItem(std::string_view row, std::size_t rowOffset, const CharWidthTable& widths,
                        const std::function<void(const PreviewItem&)>& visit) {
    int x = 0;
    std::size_t i = 0;
    while (i < row.size()) {
        if (row[i] == '&') {
            const auto entity =
                std::find_if(std::begin(kEntities), std::end(kEntities),
                             [&](const Entity& e) { return row.substr(i).starts_with(e.text); });
            if (entity != std::end(kEntities)) {
                visit({PreviewItem::Kind::Entity, x, entity->width, rowOffset + i,
                       entity->text.size()});
                x += entity->width;
                i += entity->text.size();
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(row[i]);
        std::int32_t code = byte;
        std::size_t length = 1;
        if (isLeadByte(byte)) {
            // A lead byte cut off by the end of the text stands alone as lead * 256.
            code = byte * 256;
            if (i + 1 < row.size()) {
                code += static_cast<unsigned char>(row[i + 1]);
                length = 2;
            }
        }
        const int width = widths.WidthOf(code);
        const PreviewItem::Kind kind = code == kHalfSpace   ? PreviewItem::Kind::HalfSpace
                                       : code == kFullSpace ? PreviewItem::Kind::FullSpace
                                                            : PreviewItem::Kind::Character;
        visit({kind, x, width, rowOffset + i, length});
        x += width;
        i += length;
    }
}

PreviewLayout layOutPreview(std::string_view text, const CharWidthTable& widths) {
    PreviewLayout layout;
    int artX = std::numeric_limits<int>::max();
    int artRow = -1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\r', start);
        const std::size_t next =
            end == std::string_view::npos
                ? text.size()
                : end + (end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        PreviewLayout::Row row{start, end - start, 0};
        forEachPreviewItem(text.substr(start, end - start), start, widths,
                           [&](const PreviewItem& item) {
                               row.width = item.x + item.width;
                               if (item.kind == PreviewItem::Kind::Character) {
                                   artX = std::min(artX, item.x);
                                   if (artRow < 0) {
                                       artRow = static_cast<int>(layout.rows.size());
                                   }
                               }
                           });
        layout.width = std::max(layout.width, row.width);
        layout.rows.push_back(row);
        start = next;
    }
    layout.firstArtRow = std::max(artRow, 0);
    layout.firstArtX = artRow < 0 ? 0 : artX;
    return layout;
}

}  // namespace penmoji
