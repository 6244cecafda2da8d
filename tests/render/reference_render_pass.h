// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compose/render_settings.h"
#include "document/vector_set.h"
#include "render/glyph_box_list.h"
#include "render/text_row.h"

namespace penmoji::reference {

struct Progress {
    std::int64_t position;
    std::int64_t total;

    friend bool operator==(const Progress&, const Progress&) = default;
};

struct Rendering {
    std::vector<std::vector<RowCell>> rows;  // every row's used cells after fillGaps + mergeBlanks
    std::vector<GlyphBoxList::Outline> boxes;
    std::vector<Progress> progress;
};

// The render pass exactly as the rules read, step by step: every glyph against every segment at
// every cursor position, and a gap filler that probes one window after the other. Slow on
// purpose; the real pass must agree with it exactly.
Rendering renderVectors(const VectorSet& vectors, const RenderSettings& settings);

// The gap filler as the rules read.
std::int64_t skipGap(std::int64_t x, std::int64_t top, const VectorSet& vectors, std::int32_t step,
                     std::int64_t canvasRight);

// The real pass with everything it hands out recorded in the same form, for comparing.
Rendering recordRealPass(const VectorSet& vectors, const RenderSettings& settings);

// The text a rendering's rows make, emitted as the driver does.
std::string textOfRows(const Rendering& rendering, const RenderSettings& settings);

}  // namespace penmoji::reference
