// SPDX-License-Identifier: MIT
#include "compose/render_driver.h"

#include "compose/blank_run.h"
#include "compose/character_limit.h"
#include "compose/exact_gaps.h"
#include "compose/placed_text_rows.h"
#include "compose/row_emission.h"

namespace penmoji {
namespace {

// The most bytes one blank element can take: "&thinsp;".
constexpr std::size_t kMaxElementBytes = 8;

// Bytes emitRow can write for `row`: the leading full-width space, two bytes per character, a
// full run of the widest element per blank cell, and CR LF.
std::size_t rowByteBound(const TextRow& row) {
    std::size_t bound = 4;
    for (const RowCell& cell : row.usedCells()) {
        bound += isBlankCell(cell) ? kBlankRunCapacity * kMaxElementBytes : 2;
    }
    return bound;
}

// Appends rows to a text that grows as needed, so the emission bound never cuts anything off.
class TextAppender final : public RowSink {
public:
    TextAppender(const RenderSettings& settings, RandomGenerator& random)
        : settings_(settings), random_(random) {}

    void takeRow(const TextRow& row) override {
        // emitRow keeps one byte free behind what it writes.
        const std::size_t needed = cursor_ + rowByteBound(row) + 1;
        if (buffer_.size() < needed) {
            buffer_.resize(std::max(needed, buffer_.size() * 2));
        }
        emitRow(row, buffer_, cursor_, settings_, random_);
    }

    std::string finish() {
        buffer_.resize(cursor_);
        return std::move(buffer_);
    }

private:
    const RenderSettings& settings_;
    RandomGenerator& random_;
    std::string buffer_;
    std::size_t cursor_ = 0;
};

// Notes every placed character of the rows going by, then passes the rows on.
class GlyphCollector final : public RowSink {
public:
    GlyphCollector(std::vector<PlacedGlyph>& glyphs, RowSink& next)
        : glyphs_(glyphs), next_(next) {}

    void takeRow(const TextRow& row) override {
        for (const RowCell& cell : row.usedCells()) {
            if (!isBlankCell(cell) && glyphs_.size() < RenderResult::kMaxPlacedGlyphs) {
                glyphs_.push_back({cell.x, top_, cell.code});
            }
        }
        top_ += 16;
        next_.takeRow(row);
    }

private:
    std::vector<PlacedGlyph>& glyphs_;
    RowSink& next_;
    std::int32_t top_ = 1;
};

}  // namespace

void appendRowText(std::string& text, const TextRow& row, const RenderSettings& settings,
                   RandomGenerator& random) {
    const std::size_t start = text.size();
    // emitRow keeps one byte free behind what it writes.
    text.resize(start + rowByteBound(row) + 1);
    std::size_t cursor = start;
    emitRow(row, text, cursor, settings, random);
    text.resize(cursor);
    if (settings.underscoreRuns) {
        // A row ends with CR LF and the next starts with a full-width space, so no stretch of
        // half-width spaces runs from one row into the next.
        applyUnderscoreRuns(std::span(text).subspan(start));
    }
}

bool renderRowsWithPlacedText(TextRow& row, const VectorSet& vectors,
                              const RenderSettings& settings, GlyphBoxList& boxes,
                              ProgressReceiver& progress, RowSink& sink, const PlacedText& placed,
                              std::vector<std::size_t>& inexactPieces) {
    const std::vector<PlacedCharacter> characters = layOutPlacedText(placed);
    const std::vector<FixedCell> fixed = fixedCellsOf(characters);
    PlacedTextInserter inserter(characters, sink, settings);
    const bool complete =
        settings.fine ? renderVectorsFine(row, vectors, exactGapsFor(settings), boxes, progress,
                                          inserter, fixed)
                      : renderVectors(row, vectors, settings, boxes, progress, inserter, fixed);
    if (!complete) {
        return false;
    }
    inserter.finish();
    inexactPieces = inserter.inexactPieces();
    return true;
}

std::optional<RenderResult> renderText(const VectorSet& vectors, const RenderSettings& settings,
                                       RandomGenerator& random, ProgressReceiver& progress,
                                       const PlacedText& placed) {
    bool tooLarge = false;
    return renderTextWithin(vectors, settings, random, progress, placed, 0, tooLarge);
}

std::optional<RenderResult> renderTextWithin(const VectorSet& vectors,
                                             const RenderSettings& settings,
                                             RandomGenerator& random, ProgressReceiver& progress,
                                             const PlacedText& placed, std::int64_t maxCharacters,
                                             bool& tooLarge) {
    RandomGenerator advanced = random;
    RenderResult result;
    TextRow row;
    TextAppender appender(settings, advanced);
    GlyphCollector collector(result.glyphs, appender);
    CharacterLimit limit(maxCharacters, collector, progress);
    const bool complete = renderRowsWithPlacedText(row, vectors, settings, result.boxes, limit,
                                                   limit, placed, result.inexactPieces);
    tooLarge = limit.exceeded();
    if (!complete || tooLarge) {
        return std::nullopt;
    }
    result.text = appender.finish();
    if (settings.underscoreRuns) {
        applyUnderscoreRuns(result.text);
    }
    random = advanced;
    return result;
}

}  // namespace penmoji
