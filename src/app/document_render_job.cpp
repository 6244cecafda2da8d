// SPDX-License-Identifier: MIT
#include "app/document_render_job.h"

#include "canvas/editor_document.h"

namespace penmoji {

RenderJob renderJobOf(const EditorDocument& document, std::shared_ptr<const VectorSet> drawing) {
    std::shared_ptr<const PlacedText> placed;
    if (!document.placedText().empty()) {
        placed = std::make_shared<const PlacedText>(document.placedText());
    }
    return {std::move(drawing), document.renderSettings(), document.random(), std::move(placed)};
}

RenderJob renderJobOf(const EditorDocument& document, CopiedDrawing drawing) {
    return {std::move(drawing.vectors), document.renderSettings(), document.random(),
            std::move(drawing.placed)};
}

RenderJob renderJobOf(const EditorDocument& document) {
    return renderJobOf(document, std::make_shared<const VectorSet>(document.vectors()));
}

}  // namespace penmoji
