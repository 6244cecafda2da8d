#pragma once

#include <string>

#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"
#include "render/render_pass.h"

namespace penmoji {

// Renders the whole drawing into Shift_JIS text art: every row with its leading full-width
// space and CR LF, underscores applied when the settings ask for them. The text is never cut
// short. `boxes` receives the placed glyphs' cells; `random` places the dots of blank runs.
std::string renderText(const VectorSet& vectors, const RenderSettings& settings,
                       GlyphBoxList& boxes, ProgressReceiver& progress, RandomGenerator& random);

// A receiver for callers that show no progress.
class NoProgress final : public ProgressReceiver {
public:
    void reportProgress(std::int64_t, std::int64_t) override {}
};

}  // namespace penmoji
