// SPDX-License-Identifier: MIT
#include "app/copied_art.h"

#include "canvas/editor_document.h"
#include "compose/trimmed_drawing.h"

namespace penmoji {

std::shared_ptr<const VectorSet> copiedDrawing(const EditorDocument& document) {
    // MERGE: trimming moves the drawing but not yet the pieces placed on it; until it does, a
    // drawing with pieces keeps its place and only its empty rows are trimmed.
    if (!document.trimMargins() || !document.placedText().empty()) {
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
