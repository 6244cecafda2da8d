// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QSettings>

#include "app/document_history.h"
#include "app/recent_files.h"
#include "canvas/document_model.h"
#include "canvas/preview/char_width_table.h"
#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "edit/grid_settings.h"

namespace penmoji {

// The program's records that live for the whole run. CMainApp owns the one instance and hands
// it down; nothing else in the program is global.
struct AppState {
    DocumentModel document;
    // Every change of the document since the start, as undo steps; clean when saved.
    DocumentHistory history{document};
    RenderSettings renderSettings;
    GridSettings grid;
    CharWidthTable charWidths;
    // The board the art is checked against, an index into boardProfiles() (0: no limits). Kept
    // beside the render settings rather than in them: it changes no rendering.
    int boardProfile = 0;
    // "余白を詰める": the art copied, exported and counted starts at the top left.
    bool trimMargins = true;
    // "完了メッセージを表示": "終了" in a box that must be clicked away, or in the status bar.
    bool finishedBoxes = true;
    // Scatters the dots of blank runs in the files written; one sequence for the whole run,
    // never reseeded, advanced only by the renderings that are written.
    RandomGenerator random;
    // What is remembered between runs; made once the application has its names.
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<RecentFiles> recentFiles;
};

}  // namespace penmoji
