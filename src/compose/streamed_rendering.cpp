// SPDX-License-Identifier: MIT
#include "compose/streamed_rendering.h"

#include <memory>
#include <new>
#include <ostream>
#include <span>
#include <stdexcept>
#include <vector>

#include "compose/blank_run.h"
#include "compose/character_limit.h"
#include "compose/exact_gaps.h"
#include "compose/placed_text_rows.h"
#include "compose/row_emission.h"
#include "render/fine_matcher.h"
#include "render/render_pass.h"

namespace penmoji {
namespace {

// The most bytes one row can take: the leading full-width space, a full run of "&thinsp;" in
// every cell, CR LF, and the byte emitRow keeps free.
constexpr std::size_t kRowBytesBound = 2 + TextRow::kCellCount * kBlankRunCapacity * 8 + 2 + 1;

// Makes each row's bytes and writes them to the stream at once. Underscores can be applied row
// by row: a row starts with a full-width space and ends in CR LF, so no run of half-width
// spaces reaches from one row into the next.
class StreamingRows final : public RowSink {
public:
    StreamingRows(const RenderSettings& settings, RandomGenerator& random, std::ostream& out)
        : settings_(settings),
          random_(random),
          out_(out),
          // Left unfilled: a row takes a few hundred bytes of the bound, and only the pages it
          // writes are ever touched.
          buffer_(std::make_unique_for_overwrite<char[]>(kRowBytesBound)) {}

    void takeRow(const TextRow& row) override {
        if (!out_) {
            return;
        }
        std::size_t cursor = 0;
        emitRow(row, std::span(buffer_.get(), kRowBytesBound), cursor, settings_, random_);
        const std::span<char> bytes = std::span(buffer_.get(), cursor);
        if (settings_.underscoreRuns) {
            applyUnderscoreRuns(bytes);
        }
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    const RenderSettings& settings_;
    RandomGenerator& random_;
    std::ostream& out_;
    std::unique_ptr<char[]> buffer_;
};

// Passes everything on, and asks the rendering to stop once the output has failed: the rest
// would be made for nothing.
class StopOnFailedOutput final : public ProgressReceiver {
public:
    StopOnFailedOutput(ProgressReceiver& inner, const std::ostream& out)
        : inner_(inner), out_(out) {}

    void reportProgress(std::int64_t position, std::int64_t total) override {
        inner_.reportProgress(position, total);
    }
    bool stopRequested() override { return !out_ || inner_.stopRequested(); }

private:
    ProgressReceiver& inner_;
    const std::ostream& out_;
};

// A Shift_JIS lead byte: the first of a two-byte character.
bool isLeadByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The length of the longest prefix of `text`, at most `limit` bytes, that ends between two
// characters.
std::size_t wholeCharactersWithin(std::string_view text, std::size_t limit) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + (isLeadByte(text[at]) ? 2 : 1);
        if (next > limit) {
            break;
        }
        at = next;
    }
    return at;
}

}  // namespace

std::string_view describeRenderEnd(RenderEnd end) {
    switch (end) {
        case RenderEnd::Complete:
            return "the rendering is complete";
        case RenderEnd::Stopped:
            return "the rendering was stopped";
        case RenderEnd::OutOfMemory:
            return "out of memory";
        case RenderEnd::WriteFailed:
            return "write error";
        case RenderEnd::TooLarge:
            return "the art has too many characters";
    }
    return "the rendering failed";
}

RenderEnd renderTextTo(const VectorSet& vectors, const RenderSettings& settings,
                       RandomGenerator& random, ProgressReceiver& progress, std::ostream& out,
                       GlyphBoxList& boxes, const PlacedText& placed,
                       std::vector<std::size_t>* inexactPieces, std::int64_t maxCharacters) {
    try {
        RandomGenerator advanced = random;
        // About 40 KB, and this may run on a thread with a small stack.
        auto row = std::make_unique<TextRow>();
        StreamingRows rows(settings, advanced, out);
        StopOnFailedOutput watched(progress, out);
        CharacterLimit limit(maxCharacters, rows, watched);
        std::vector<std::size_t> inexact;
        const bool complete =
            renderRowsWithPlacedText(*row, vectors, settings, boxes, limit, limit, placed, inexact);
        if (!out) {
            return RenderEnd::WriteFailed;
        }
        if (limit.exceeded()) {
            return RenderEnd::TooLarge;
        }
        if (complete && inexactPieces != nullptr) {
            *inexactPieces = std::move(inexact);
        }
        if (!complete) {
            return RenderEnd::Stopped;
        }
        random = advanced;
        return RenderEnd::Complete;
    } catch (const std::bad_alloc&) {
        return RenderEnd::OutOfMemory;
    } catch (const std::length_error&) {
        return RenderEnd::OutOfMemory;
    }
}

CheckedRendering renderTextChecked(const VectorSet& vectors, const RenderSettings& settings,
                                   RandomGenerator& random, ProgressReceiver& progress,
                                   const PlacedText& placed, std::int64_t maxCharacters) {
    try {
        bool tooLarge = false;
        std::optional<RenderResult> result =
            renderTextWithin(vectors, settings, random, progress, placed, maxCharacters, tooLarge);
        if (tooLarge) {
            return {RenderEnd::TooLarge, std::nullopt};
        }
        if (!result) {
            return {RenderEnd::Stopped, std::nullopt};
        }
        return {RenderEnd::Complete, std::move(result)};
    } catch (const std::bad_alloc&) {
        return {RenderEnd::OutOfMemory, std::nullopt};
    } catch (const std::length_error&) {
        return {RenderEnd::OutOfMemory, std::nullopt};
    }
}

DisplayText displayTextOf(std::string_view text, std::size_t budget) {
    if (text.size() <= budget) {
        return {std::string(text), false};
    }
    constexpr std::string_view kLineEnd = "\r\n";
    const std::size_t lastEnd = text.substr(0, budget).rfind(kLineEnd);
    const std::size_t kept = lastEnd != std::string_view::npos
                                 ? lastEnd + kLineEnd.size()
                                 : wholeCharactersWithin(text, budget);
    return {std::string(text.substr(0, kept)), true};
}

}  // namespace penmoji
