// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/user_interaction.h"

namespace penmoji {

// "終了" after a save, an open or a render: the box the program always showed, or, for a user
// who turned it off, the status bar.
inline void reportFinished(const AppState& state, UserInteraction& interaction, QWidget* window) {
    const QString finished = QString::fromUtf8(text::kFinished);
    if (state.finishedBoxes) {
        interaction.showMessage(window, finished);
    } else {
        interaction.showStatus(window, finished);
    }
}

}  // namespace penmoji
