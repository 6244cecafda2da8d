// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/vector_set.h"

namespace penmoji::trace {

// An 8-bit grey picture, row after row from the top; dark is ink. `stride` is the bytes from one
// row to the next (0: the width), so a scan line padded by an image library can be passed as is.
struct GreyImage {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::span<const std::uint8_t> pixels;
};

struct TraceOptions {
    // Pixels at or below this grey level are ink; nothing chooses one by Otsu's method, which
    // splits the picture's histogram into the two classes of least spread.
    std::optional<int> threshold;
    // Most distance, in pixels, of the traced centre line from the simplified polyline.
    double tolerance = 1.0;
    // Loose strokes, and branches with a loose end, shorter than this are dropped as specks.
    double minLength = 5.0;
    // The room the traced lines must fit into: vectors, and points in one vector.
    int maxVectors = kSlotCount;
    int maxPoints = kMaxPoints;
    // Asked every few milliseconds while the tracing runs (from the tracing's own thread); when
    // it answers true the tracing ends with no lines and `stopped` set. Empty: never stops.
    std::function<bool()> stopRequested;
};

// What the tracing did, for the user to judge the result.
struct TraceReport {
    int threshold = 0;     // the grey level used
    bool oneGrey = false;  // the picture is one grey all over, so nothing in it is a line
    int found = 0;         // lines found, before the limits
    int specks = 0;        // loose strokes and short branches dropped
    int splitLines = 0;    // lines longer than a vector holds, cut into several
    int droppedLines = 0;  // the shortest lines left out to stay within the vectors' number
    int vectors = 0;       // lines kept
    int points = 0;        // their points
};

struct TraceResult {
    // Polylines in image pixels, each of 2 to maxPoints points; a closed line repeats its first
    // point at its end.
    std::vector<std::vector<Point>> lines;
    TraceReport report;
    // Empty unless the image was malformed, memory ran out or the tracing was stopped (then
    // there are no lines).
    std::string error;
    bool stopped = false;
};

// Turns the dark lines of `image` into polylines along their centres.
TraceResult traceLines(const GreyImage& image, const TraceOptions& options);

}  // namespace penmoji::trace
