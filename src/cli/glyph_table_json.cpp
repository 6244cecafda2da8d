// SPDX-License-Identifier: MIT
#include "cli/glyph_table_json.h"

#include <algorithm>
#include <ostream>

namespace penmoji::cli {
namespace {

bool isUnused(const GlyphSegment& s) {
    return s.x0 == 0 && s.y0 == 0 && s.x1 == 0 && s.y1 == 0;
}

void writeEntry(std::ostream& out, const GlyphShape& glyph) {
    out << "{\"code\": " << glyph.code << ", \"width\": " << glyph.width
        << ", \"priority\": " << glyph.priority << ", \"segments\": [";
    const char* separator = "";
    for (const GlyphSegment& s : usedSegments(glyph)) {
        out << separator << '[' << s.x0 << ", " << s.y0 << ", " << s.x1 << ", " << s.y1 << ']';
        separator = ", ";
    }
    out << "]}";
}

}  // namespace

std::span<const GlyphSegment> usedSegments(const GlyphShape& glyph) {
    const auto firstUnused = std::find_if(glyph.segments.begin(), glyph.segments.end(), isUnused);
    return {glyph.segments.begin(), firstUnused};
}

void writeGlyphTableJson(std::ostream& out) {
    out << "[\n";
    const auto table = glyphTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        out << "  ";
        writeEntry(out, table[i]);
        out << (i + 1 < table.size() ? ",\n" : "\n");
    }
    out << "]\n";
}

}  // namespace penmoji::cli
