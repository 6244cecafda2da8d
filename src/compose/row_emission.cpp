// SPDX-License-Identifier: MIT
#include "compose/row_emission.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "compose/blank_run.h"

namespace penmoji {
namespace {

constexpr std::string_view kFullSpaceBytes = "\x81\x40";
constexpr std::string_view kLineEnd = "\r\n";

// Writes into the caller's buffer, always keeping one byte free for the terminating NUL.
class TextWriter {
public:
    TextWriter(std::span<char> text, std::size_t& cursor) : text_(text), cursor_(cursor) {}

    void put(std::string_view bytes) {
        if (cursor_ + bytes.size() < text_.size()) {
            std::copy(bytes.begin(), bytes.end(),
                      text_.begin() + static_cast<std::ptrdiff_t>(cursor_));
            cursor_ += bytes.size();
        }
    }

private:
    std::span<char> text_;
    std::size_t& cursor_;
};

// Pixel bookkeeping of one row: where the written text has reached, and whether the element
// written last was a half-width space (a second one in a row needs "&nbsp;" to survive HTML).
struct RowState {
    std::int64_t position = 0;
    bool prevHalf = false;
};

void putBlank(TextWriter& out, std::int32_t element, RowState& state, bool noEntities) {
    switch (element) {
        case kFullSpace:
            out.put(kFullSpaceBytes);
            state.prevHalf = false;
            break;
        case kEnSpace:
            out.put("&ensp;");
            state.prevHalf = false;
            break;
        case kHalfSpace:
            out.put(state.prevHalf && !noEntities ? "&nbsp;" : " ");
            state.prevHalf = true;
            break;
        case kDot:
            out.put(".");  // a dot leaves prevHalf as it was
            break;
        case kThinSpace:
            out.put("&thinsp;");
            state.prevHalf = false;
            break;
        default:
            break;
    }
}

// Widths that a run of full-width spaces, or 11 + 5 pairs, or one half-width space makes exactly
// are written at their own width; the error so far waits for a gap that can absorb it.
bool keepsOwnWidth(std::int32_t width) {
    return width % 11 == 0 || width % 16 == 0 || width == 5;
}

// The elements of the blank run for `cell`, the text so far reaching `position`.
std::span<std::int32_t> blankRunFor(BlankRun& run, const RowCell& cell, std::int64_t position,
                                    const RenderSettings& settings) {
    const auto lag = keepsOwnWidth(cell.width) ? 0 : static_cast<std::int32_t>(cell.x - position);
    return std::span(run).first(composeBlankRun(run, cell.width, lag, settings));
}

void emitBlank(TextWriter& out, const RowCell& cell, RowState& state,
               const RenderSettings& settings, RandomGenerator& random) {
    BlankRun run;
    const auto elements = blankRunFor(run, cell, state.position, settings);
    scatterDots(elements, random);
    for (std::int32_t element : elements) {
        state.position += element;
        putBlank(out, element, state, settings.noEntities);
    }
}

void emitCharacter(TextWriter& out, const RowCell& cell, RowState& state) {
    state.prevHalf = false;
    if (cell.code >= 0x100) {
        const char bytes[] = {static_cast<char>((cell.code >> 8) & 0xFF),
                              static_cast<char>(cell.code & 0xFF)};
        out.put({bytes, 2});
    } else {
        const char byte = static_cast<char>(cell.code & 0xFF);
        out.put({&byte, 1});
    }
    state.position += cell.width;
}

}  // namespace

void emitRow(const TextRow& row, std::span<char> text, std::size_t& cursor,
             const RenderSettings& settings, RandomGenerator& random) {
    TextWriter out(text, cursor);
    // The leading full-width space keeps a row that starts with blanks from being trimmed; its
    // width is not counted.
    out.put(kFullSpaceBytes);
    RowState state;
    for (const RowCell& cell : row.usedCells()) {
        if (isBlankCell(cell)) {
            emitBlank(out, cell, state, settings, random);
        } else {
            emitCharacter(out, cell, state);
        }
    }
    out.put(kLineEnd);
}

void writtenPositions(const TextRow& row, const RenderSettings& settings,
                      std::vector<std::int64_t>& positions) {
    positions.clear();
    std::int64_t position = 0;
    BlankRun run;
    for (const RowCell& cell : row.usedCells()) {
        positions.push_back(position);
        if (isBlankCell(cell)) {
            for (const std::int32_t element : blankRunFor(run, cell, position, settings)) {
                position += element;
            }
        } else {
            position += cell.width;
        }
    }
}

void applyUnderscoreRuns(std::span<char> text) {
    for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') {
            text[i + 1] = '_';
            ++i;
        }
    }
}

}  // namespace penmoji
