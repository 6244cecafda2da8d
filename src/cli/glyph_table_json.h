// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <span>

#include "render/glyph_table.h"

namespace penmoji::cli {

// The strokes a glyph uses: its slots up to the first all-zero one.
std::span<const GlyphSegment> usedSegments(const GlyphShape& glyph);

// A JSON array of the whole table in the renderer's order, one entry per line:
// {"code": …, "width": …, "priority": …, "segments": [[x0, y0, x1, y1], …]}. Codes are the
// Shift_JIS values as decimal numbers; widths and strokes are in 1/16 pixel.
void writeGlyphTableJson(std::ostream& out);

}  // namespace penmoji::cli
