// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "app/copied_art.h"
#include "app/render_service.h"

namespace penmoji {

class EditorDocument;

// The rendering of `drawing` as the document renders: with its settings, and the dots where
// the last file written left them.
RenderJob renderJobOf(const EditorDocument& document, std::shared_ptr<const VectorSet> drawing);
// The rendering of the art as it is copied (copiedDrawing()).
RenderJob renderJobOf(const EditorDocument& document, CopiedDrawing drawing);
// The same of the drawing as it is now.
RenderJob renderJobOf(const EditorDocument& document);

}  // namespace penmoji
