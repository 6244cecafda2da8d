// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compose/random_generator.h"
#include "compose/render_settings.h"
#include "document/placed_text.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"
#include "render/render_pass.h"

namespace penmoji {

// A character the rendering placed: its Shift_JIS code at its cell's left edge and row top.
struct PlacedGlyph {
    std::int32_t x = 0;
    std::int32_t top = 0;
    std::int32_t code = 0;

    friend bool operator==(const PlacedGlyph&, const PlacedGlyph&) = default;
};

// What a rendering makes: the text art, the cells of the glyphs it placed, and the placed
// characters themselves (the first kMaxPlacedGlyphs), for drawing the art over the drawing.
struct RenderResult {
    static constexpr std::size_t kMaxPlacedGlyphs = 1'000'000;

    std::string text;
    GlyphBoxList boxes;
    std::vector<PlacedGlyph> glyphs;
    // The pieces of the placed text (their indices, ascending) with a character that is not
    // written on its own pixel: a gap before it no blank run makes exactly, or a place no row
    // can show (left of the canvas, above it, beyond a full row).
    std::vector<std::size_t> inexactPieces;
};

// Renders the whole drawing into Shift_JIS text art: every row with its leading full-width
// space and CR LF, underscores applied when the settings ask for them. The text is never cut
// short. `random` places the dots of blank runs and is advanced only by a rendering that
// completes: when `progress` asks to stop, the result is nothing and nothing has changed.
// The characters of `placed` land on their own cells, no rendered character overlaps them, and
// rows below the drawing follow while placed characters remain.
std::optional<RenderResult> renderText(const VectorSet& vectors, const RenderSettings& settings,
                                       RandomGenerator& random, ProgressReceiver& progress,
                                       const PlacedText& placed = {});

// renderText, ended once the art holds more than `maxCharacters` characters (the cells that
// are not blank, placed text included; 0 for no limit): the result is then nothing, nothing
// has changed and `tooLarge` is true.
std::optional<RenderResult> renderTextWithin(const VectorSet& vectors,
                                             const RenderSettings& settings,
                                             RandomGenerator& random, ProgressReceiver& progress,
                                             const PlacedText& placed, std::int64_t maxCharacters,
                                             bool& tooLarge);

// The rows of renderText, handed to `sink` with the placed text in them, in either mode; false
// when `progress` asked to stop. `inexactPieces` is set as RenderResult's when complete.
bool renderRowsWithPlacedText(TextRow& row, const VectorSet& vectors,
                              const RenderSettings& settings, GlyphBoxList& boxes,
                              ProgressReceiver& progress, RowSink& sink, const PlacedText& placed,
                              std::vector<std::size_t>& inexactPieces);

// Appends `row` to `text` as renderText writes it, underscores applied when the settings ask
// for them; `random` places the dots. A row's text depends on nothing outside it but `random`.
void appendRowText(std::string& text, const TextRow& row, const RenderSettings& settings,
                   RandomGenerator& random);

// A receiver for callers that show no progress.
class NoProgress final : public ProgressReceiver {
public:
    void reportProgress(std::int64_t, std::int64_t) override {}
};

}  // namespace penmoji
