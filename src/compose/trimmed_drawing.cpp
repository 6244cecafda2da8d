// SPDX-License-Identifier: MIT
#include "compose/trimmed_drawing.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

namespace penmoji {
namespace {

constexpr std::int64_t kRowHeight = 16;
// Wider than any glyph cell, so nothing in the margin changes what is matched beyond it.
constexpr std::int64_t kMargin = 32;

// The largest multiple of `step` that is at most `value`, and never below 0.
std::int64_t wholeSteps(std::int64_t value, std::int64_t step) {
    return value <= 0 ? 0 : value / step * step;
}

// How far the trimmed copy lies left of and above the drawing.
struct Move {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
};

Move trimMoveOf(const VectorSet& vectors, const MatchSettings& settings, const PlacedText& placed) {
    std::int64_t minX = std::numeric_limits<std::int64_t>::max();
    std::int64_t minY = minX;
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i < line.count; ++i) {
            minX = std::min<std::int64_t>(minX, line.points[i].x);
            minY = std::min<std::int64_t>(minY, line.points[i].y);
        }
    }
    for (const PlacedPiece& piece : placed) {
        minX = std::min<std::int64_t>(minX, std::max(piece.x, 0));
        minY = std::min<std::int64_t>(minY, std::max(piece.y, 0));
    }
    if (minX == std::numeric_limits<std::int64_t>::max()) {
        return {};
    }
    const std::int64_t step = clampMatchSettings(settings).scanStep;
    return {static_cast<std::int32_t>(wholeSteps(minX - kMargin, step)),
            static_cast<std::int32_t>(wholeSteps(minY - kMargin, kRowHeight))};
}

VectorSet movedDrawing(const VectorSet& vectors, Move move) {
    VectorSet moved = vectors;
    for (VectorLine& line : moved.lines) {
        for (int i = 0; i < line.count; ++i) {
            line.points[i].x -= move.dx;
            line.points[i].y -= move.dy;
        }
    }
    return moved;
}

}  // namespace

VectorSet trimmedDrawing(const VectorSet& vectors, const MatchSettings& settings,
                         const PlacedText& placed) {
    return movedDrawing(vectors, trimMoveOf(vectors, settings, placed));
}

PlacedText trimmedPlacedText(const VectorSet& vectors, const MatchSettings& settings,
                             const PlacedText& placed) {
    const Move move = trimMoveOf(vectors, settings, placed);
    PlacedText moved = placed;
    for (PlacedPiece& piece : moved) {
        piece.x -= move.dx;
        piece.y -= move.dy;
    }
    return moved;
}

constexpr std::string_view kEmptyRow = "\x81\x40\r\n";

int dropLeadingEmptyRows(std::string& text) {
    std::size_t start = 0;
    // The last row stays even when empty: an empty drawing is one empty row.
    while (text.size() - start > kEmptyRow.size() &&
           std::string_view(text).substr(start).starts_with(kEmptyRow)) {
        start += kEmptyRow.size();
    }
    text.erase(0, start);
    return static_cast<int>(start / kEmptyRow.size());
}

int dropEmptyRows(std::string& text) {
    const bool terminated = !text.empty() && text.back() == '\0';
    if (terminated) {
        text.pop_back();
    }
    const int leading = dropLeadingEmptyRows(text);
    // A row ends with its line break, so an empty last row follows one: "...\r\n　\r\n".
    constexpr std::string_view kAfterRow = "\r\n\x81\x40\r\n";
    while (text.size() > kEmptyRow.size() && std::string_view(text).ends_with(kAfterRow)) {
        text.resize(text.size() - kEmptyRow.size());
    }
    if (terminated) {
        text.push_back('\0');
    }
    return leading;
}

VectorSet drawingUnderTrimmedArt(const VectorSet& vectors, const MatchSettings& settings,
                                 int droppedRows, const PlacedText& placed) {
    VectorSet moved = trimmedDrawing(vectors, settings, placed);
    const auto dy = static_cast<std::int32_t>(droppedRows * kRowHeight);
    for (VectorLine& line : moved.lines) {
        for (int i = 0; i < line.count; ++i) {
            line.points[i].y -= dy;
        }
    }
    return moved;
}

}  // namespace penmoji
