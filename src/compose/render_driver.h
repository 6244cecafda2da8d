#pragma once

#include <optional>
#include <string>

#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"
#include "render/render_pass.h"

namespace penmoji {

// What a rendering makes: the text art and the cells of the glyphs it placed.
struct RenderResult {
    std::string text;
    GlyphBoxList boxes;
};

// Renders the whole drawing into Shift_JIS text art: every row with its leading full-width
// space and CR LF, underscores applied when the settings ask for them. The text is never cut
// short. `random` places the dots of blank runs and is advanced only by a rendering that
// completes: when `progress` asks to stop, the result is nothing and nothing has changed.
std::optional<RenderResult> renderText(const VectorSet& vectors, const RenderSettings& settings,
                                       RandomGenerator& random, ProgressReceiver& progress);

// A receiver for callers that show no progress.
class NoProgress final : public ProgressReceiver {
public:
    void reportProgress(std::int64_t, std::int64_t) override {}
};

}  // namespace penmoji
