// SPDX-License-Identifier: MIT
#include "app/copied_art.h"

#include "canvas/editor_document.h"
#include "compose/trimmed_drawing.h"

namespace penmoji {

CopiedDrawing copiedDrawing(const EditorDocument& document) {
    const PlacedText& placed = document.placedText();
    std::shared_ptr<const PlacedText> copiedPlaced;
    if (!document.trimMargins()) {
        if (!placed.empty()) {
            copiedPlaced = std::make_shared<const PlacedText>(placed);
        }
        return {std::make_shared<const VectorSet>(document.vectors()), std::move(copiedPlaced)};
    }
    const RenderSettings& settings = document.renderSettings();
    if (!placed.empty()) {
        copiedPlaced = std::make_shared<const PlacedText>(
            trimmedPlacedText(document.vectors(), settings, placed));
    }
    return {std::make_shared<const VectorSet>(trimmedDrawing(document.vectors(), settings, placed)),
            std::move(copiedPlaced)};
}

std::string copiedText(std::string text, bool trimmed) {
    if (trimmed) {
        dropEmptyRows(text);
    }
    return text;
}

}  // namespace penmoji
