// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "compose/placed_text_layout.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/render_settings.h"
#include "compose/streamed_rendering.h"
#include "document/placed_text.h"
#include "document/vector_set.h"
#include "render/fine_matcher.h"
#include "render/progress_receiver.h"

namespace penmoji {

// One row of a rendering with what the rows below it depend on (incremental_rendering.cpp).
struct RenderedRow;

// Renders a drawing again and again as it is edited, matching only the rows an edit can change
// and taking the others from the last rendering. It keeps the last drawing and finds the
// changed rows itself by comparing it with the new one, so callers need no record of the edits.
//
// Every result is exactly what renderText makes of the same drawing, settings and dot
// generator. What ties a row to the rows above it is kept row by row: the dot generator's state
// where the row's text starts, and in the fine mode the characters the row above placed and how
// many boxes the rows above took. A change of a matching setting, or of the canvas width,
// renders every row afresh; a change of how blanks are written only writes the rows again,
// unless in the fine mode it changes which gaps the writer makes exactly.
class IncrementalRendering {
public:
    IncrementalRendering();
    ~IncrementalRendering();
    IncrementalRendering(const IncrementalRendering&) = delete;
    IncrementalRendering& operator=(const IncrementalRendering&) = delete;

    // As renderTextChecked: `random` is advanced only by a rendering that completes. When
    // `progress` asks to stop, the last rendering is still the one kept; when memory runs out,
    // nothing is kept and the next rendering matches every row.
    //
    // A change of the placed text matches again the rows whose placed characters changed (in
    // the fine mode, the row below them too, whose lines they may cover) and what those rows
    // reach, as an edit of the drawing does.
    CheckedRendering render(const VectorSet& vectors, const RenderSettings& settings,
                            RandomGenerator& random, ProgressReceiver& progress,
                            const PlacedText& placed = {});

    // Drops what was kept: the next rendering matches every row.
    void forget();

    // How many rows the last completed rendering matched.
    std::size_t rowsMatched() const { return rowsMatched_; }

private:
    std::optional<RenderResult> renderKept(const VectorSet& vectors, const RenderSettings& settings,
                                           RandomGenerator& random, ProgressReceiver& progress,
                                           const PlacedText& placed);

    std::unique_ptr<VectorSet> drawing_;  // null until a rendering completed
    RenderSettings settings_;
    ExactGaps gaps_;
    std::vector<RenderedRow> rows_;
    std::vector<PlacedCharacter> placed_;  // the placed text laid out, as rows_ hold it
    std::size_t rowsMatched_ = 0;
};

}  // namespace penmoji
