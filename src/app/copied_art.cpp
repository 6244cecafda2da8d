// SPDX-License-Identifier: MIT
#include "app/copied_art.h"

#include "canvas/editor_document.h"
#include "compose/trimmed_drawing.h"

namespace penmoji {

std::shared_ptr<const VectorSet> copiedDrawing(const EditorDocument& document) {
    if (!document.trimMargins()) {
        return std::make_shared<const VectorSet>(document.vectors());
    }
    return std::make_shared<const VectorSet>(
        trimmedDrawing(document.vectors(), document.renderSettings()));
}

std::string copiedText(std::string text, bool trimmed) {
    if (trimmed) {
        dropEmptyRows(text);
    }
    return text;
}

}  // namespace penmoji
