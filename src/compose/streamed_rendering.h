// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/render_settings.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"
#include "render/progress_receiver.h"

namespace penmoji {

// How a rendering ended.
enum class RenderEnd {
    Complete,
    // The ProgressReceiver asked to stop.
    Stopped,
    // An allocation failed; whatever the rendering held has been given back.
    OutOfMemory,
    // The stream the text went to failed.
    WriteFailed,
    // The art has more characters than the caller's limit allows.
    TooLarge,
};

// A one-line English description of how a rendering ended, for messages.
std::string_view describeRenderEnd(RenderEnd end);

// Renders as renderText does, byte for byte, but hands each row's bytes (underscores applied)
// to `out` as soon as the row is made, so that the memory used does not grow with the text:
// a drawing may make gigabytes of it. Placed text goes in as renderText puts it, and
// `inexactPieces`, when given, is set as RenderResult's once complete. `boxes` receives
// the placed cells. `random` is advanced only when the rendering is complete; otherwise what
// reached `out` is a part of the text. A failing `out` ends the rendering at the next cursor
// position. A rendering whose art has more than `maxCharacters` characters (the cells that are
// not blank, placed text included; 0 for no limit) ends as TooLarge within a row of passing
// it; what reached `out` then holds no more than that many.
RenderEnd renderTextTo(const VectorSet& vectors, const RenderSettings& settings,
                       RandomGenerator& random, ProgressReceiver& progress, std::ostream& out,
                       GlyphBoxList& boxes, const PlacedText& placed = {},
                       std::vector<std::size_t>* inexactPieces = nullptr,
                       std::int64_t maxCharacters = 0);

// renderText with an allocation failure reported as RenderEnd::OutOfMemory instead of thrown:
// the whole text lies in memory, so a drawing of very long rows can exhaust it. `result` is
// set only when the rendering is complete. `maxCharacters` bounds the art as renderTextTo's.
struct CheckedRendering {
    RenderEnd end = RenderEnd::Complete;
    std::optional<RenderResult> result;
};
CheckedRendering renderTextChecked(const VectorSet& vectors, const RenderSettings& settings,
                                   RandomGenerator& random, ProgressReceiver& progress,
                                   const PlacedText& placed = {}, std::int64_t maxCharacters = 0);

// What the editor keeps of a rendering's text for showing it (the preview and the overlay):
// the text is not cut short, but a display needs no more than its start.
inline constexpr std::size_t kDisplayTextBudget = std::size_t{16} << 20;

struct DisplayText {
    std::string text;
    // True when `text` is only the start of the rendering; the display says so.
    bool cut = false;
};

// The whole rows of `text` that fit in `budget` bytes: a row is never cut in two, so no
// character is split. A first row longer than the budget (no row comes near 16 MB) is cut at
// the last whole character.
DisplayText displayTextOf(std::string_view text, std::size_t budget = kDisplayTextBudget);

}  // namespace penmoji
