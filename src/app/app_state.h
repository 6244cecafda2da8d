#pragma once

#include "canvas/preview/char_width_table.h"
#include "edit/grid_settings.h"
#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"

namespace penmoji {

// The program's records that live for the whole run. CMainApp owns the one instance and hands
// it down; nothing else in the program is global.
struct AppState {
    VectorSet vectors;
    RenderSettings renderSettings;
    GridSettings grid;
    GlyphBoxList boxes;
    CharWidthTable charWidths;
    // Scatters the dots of blank runs; one sequence for the whole run, never reseeded.
    RandomGenerator random;
};

}  // namespace penmoji
