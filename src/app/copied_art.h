// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "document/placed_text.h"
#include "document/vector_set.h"

namespace penmoji {

class EditorDocument;

// The art as the copy commands give it and the exports write it. With "余白を詰める" on, it is
// the rendering of the drawing moved to the top left, without empty rows at either end; the
// status bar counts the same art, so what it says is what is pasted.

// The drawing whose rendering is the art, and the text placed on it: both moved together when
// margins are trimmed, as they are otherwise.
struct CopiedDrawing {
    std::shared_ptr<const VectorSet> vectors;
    std::shared_ptr<const PlacedText> placed;  // null when nothing is placed
};
CopiedDrawing copiedDrawing(const EditorDocument& document);
// The rendering's text as the art: trimmed of empty rows when `trimmed`.
std::string copiedText(std::string text, bool trimmed);

}  // namespace penmoji
