#pragma once

#include <cstdint>

#include "compose/render_settings.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"
#include "render/text_row.h"

namespace penmoji {

// Told before every cursor position of a rendering how far it has come.
class ProgressReceiver {
public:
    virtual ~ProgressReceiver() = default;
    virtual void reportProgress(std::int64_t position, std::int64_t total) = 0;
};

// Receives every finished row (gaps filled, blanks merged), top to bottom.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void takeRow(const TextRow& row) = 0;
};

// Walks the drawing in rows 16 pixels high and places into `row`, at every cursor position,
// the glyph whose strokes best follow the drawn segments crossing its cell; empty stretches are
// skipped by the gap filler. Every placed glyph's cell is added to `boxes` (emptied first).
// The row is reused for every row of the canvas and handed to `sink` when complete.
void renderVectors(TextRow& row, const VectorSet& vectors, const RenderSettings& settings,
                   GlyphBoxList& boxes, ProgressReceiver& progress, RowSink& sink);

}  // namespace penmoji
