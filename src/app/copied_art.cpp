// SPDX-License-Identifier: MIT
#include "app/copied_art.h"

#include "app/app_state.h"
#include "compose/trimmed_drawing.h"

namespace penmoji {

std::shared_ptr<const VectorSet> copiedDrawing(const AppState& state) {
    if (!state.trimMargins) {
        return std::make_shared<const VectorSet>(state.document.vectors());
    }
    return std::make_shared<const VectorSet>(
        trimmedDrawing(state.document.vectors(), state.renderSettings));
}

std::string copiedText(std::string text, bool trimmed) {
    if (trimmed) {
        dropEmptyRows(text);
    }
    return text;
}

}  // namespace penmoji
