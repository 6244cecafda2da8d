// SPDX-License-Identifier: MIT
// Renders a drawing and settings made from arbitrary bytes twice, through the real pass and the
// plain reference pass of the tests, and aborts on any difference: rows, boxes, progress
// reports, the text, and the HTML page around it. Built as a libFuzzer target when fuzzing is
// enabled, and in every build linked with corpus_runner.cpp to replay the checked-in corpus.
//
// The drawings stay small (a few rows, a few dozen segments), because the reference pass tries
// every glyph against every segment at every cursor position; but their points may lie far
// outside, up to the file format's bound, where the clipping's arithmetic is widest.
//
// Input layout: four bytes of settings (threshold, scan step, priority scale, flags), then
// polylines, each a point count byte followed by two bytes per point; whatever is missing at
// the end is left out.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "../render/reference_render_pass.h"
#include "compose/output_writers.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/row_emission.h"
#include "render/render_pass.h"

namespace {

using namespace penmoji;

constexpr int kMaxLines = 4;
constexpr int kMaxPointsPerLine = 6;
// The canvas stays within x < 112 and y < 64 (four rows).
constexpr std::int32_t kFar = -1'000'000;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "render fuzz target: %s\n", what);
        std::abort();
    }
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return next_ >= size_; }
    std::uint8_t byte() { return next_ < size_ ? data_[next_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t next_ = 0;
};

RenderSettings settingsFrom(Input& in) {
    RenderSettings settings;
    settings.innerProductThreshold = static_cast<float>(in.byte()) / 255.0f;
    settings.scanStep = kMinScanStep + in.byte() % (kMaxScanStep - kMinScanStep + 1);
    settings.priorityScale = static_cast<float>(in.byte() % 201) / 100.0f;
    const std::uint8_t flags = in.byte();
    settings.useDots = (flags & 1) != 0;
    settings.noEntities = (flags & 2) != 0;
    settings.underscoreRuns = (flags & 4) != 0;
    settings.strictHalfSpaces = (flags & 8) != 0;
    return settings;
}

// Byte 255 is a point far off to the left or top; the others spread over the small canvas and
// a little beyond its left and top edges.
std::int32_t coordinate(std::uint8_t value, std::int32_t span) {
    return value == 255 ? kFar : value % span - 16;
}

void drawingFrom(Input& in, VectorSet& vectors) {
    for (int slot = 0; slot < kMaxLines && !in.empty(); ++slot) {
        VectorLine& line = vectors.lines[slot];
        line.count = in.byte() % (kMaxPointsPerLine + 1);
        for (int i = 0; i < line.count; ++i) {
            const std::uint8_t x = in.byte();
            const std::uint8_t y = in.byte();
            line.points[i] = {coordinate(x, 112), coordinate(y, 64)};
        }
    }
}

std::string pageOf(const std::string& text) {
    std::ostringstream out;
    require(writeRenderedText(out, text, OutputFormat::HtmlPage).ok(), "page not written");
    return std::move(out).str();
}

// The page as its rules read: the frame of an empty page, with the text inside after the font
// line, every CR LF as "<br>" and the angle brackets as entities.
std::string expectedPage(const std::string& text) {
    const std::string frame = pageOf("");
    constexpr std::string_view kFontLineEnd = "style=\"font-size:16;\">\n";
    const std::size_t body = frame.find(kFontLineEnd);
    require(body != std::string::npos, "page has no font line");
    std::string page = frame.substr(0, body + kFontLineEnd.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            page += "<br>";
            ++i;
        } else if (text[i] == '<') {
            page += "&lt;";
        } else if (text[i] == '>') {
            page += "&gt;";
        } else {
            page += text[i];
        }
    }
    return page + frame.substr(body + kFontLineEnd.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const RenderSettings settings = settingsFrom(in);
    // About 640 KB: too much for the stack.
    const auto vectors = std::make_unique<VectorSet>();
    drawingFrom(in, *vectors);

    const reference::Rendering expected = reference::renderVectors(*vectors, settings);
    const reference::Rendering actual = reference::recordRealPass(*vectors, settings);
    require(actual.rows == expected.rows, "rows differ from the reference");
    require(actual.boxes == expected.boxes, "boxes differ from the reference");
    require(actual.progress == expected.progress, "progress differs from the reference");

    NoProgress quiet;
    RandomGenerator random;
    const std::string text = renderText(*vectors, settings, random, quiet)->text;
    require(text == reference::textOfRows(expected, settings), "text differs from the reference");
    require(pageOf(text) == expectedPage(text), "page differs from its rules");
    return 0;
}
