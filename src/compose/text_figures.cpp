#include "compose/text_figures.h"

#include <algorithm>

namespace penmoji {

TextFigures measureText(std::string_view text) {
    TextFigures figures;
    figures.bytes = text.size();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        const bool ended = end != std::string_view::npos;
        if (!ended) {
            end = text.size();
        }
        figures.longestLine = std::max(figures.longestLine, end - start);
        ++figures.lines;
        start = ended ? end + 2 : end;
    }
    return figures;
}

}  // namespace penmoji
