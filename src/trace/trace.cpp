// SPDX-License-Identifier: MIT
#include "trace/trace.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "trace/ink_preparation.h"
#include "trace/skeleton_paths.h"
#include "trace/zhang_suen.h"

namespace penmoji::trace {
namespace {

// Background spots up to this many pixels inside a stroke are noise: left open, the thinning
// would draw a ring round each.
constexpr int kLargestHole = 6;
// Ink wider than this everywhere across is a filled area, not a stroke: what a tracer of line art
// gives for it is its outline, not a skeleton in its middle. Two strokes meeting at a sharp angle
// make ink up to twice as wide as one near their corner, so strokes up to about 44 pixels wide
// stay strokes however they meet.
constexpr float kWidestStroke = 96;
// The band left along the edge of a filled area, which thins to its outline.
constexpr float kRim = 2;
// How far the inside of a filled area is taken out round the parts a widest stroke fits into,
// in that stroke's half widths: enough to reach into corners a little sharper than right angles.
constexpr float kCornerReach = 1.5f;

std::string checkImage(const GreyImage& image) {
    const int stride = image.stride == 0 ? image.width : image.stride;
    if (image.width <= 0 || image.height <= 0) {
        return "the image is empty";
    }
    // Pixels are counted in ints: the picture with its border of background must stay within.
    const auto padded = (static_cast<std::int64_t>(image.width) + 2) *
                        (static_cast<std::int64_t>(image.height) + 2);
    if (padded > std::numeric_limits<int>::max()) {
        return "the image is too large to trace (" + std::to_string(image.width) + " × " +
               std::to_string(image.height) + ")";
    }
    if (stride < image.width) {
        return "the image's rows are shorter than its width";
    }
    const auto needed =
        static_cast<std::size_t>(stride) * static_cast<std::size_t>(image.height - 1) +
        static_cast<std::size_t>(image.width);
    if (image.pixels.size() < needed) {
        return "the image holds fewer bytes than its size needs";
    }
    return {};
}

// The ink as 1 on a picture with one more row and column of background on every side, so that
// every ink pixel has eight neighbours to look at. Returns the threshold used.
int markInk(const GreyImage& image, std::optional<int> threshold, cv::Mat& padded, bool& oneGrey) {
    const cv::Mat grey(image.height, image.width, CV_8UC1,
                       const_cast<std::uint8_t*>(image.pixels.data()),
                       static_cast<std::size_t>(image.stride == 0 ? image.width : image.stride));
    padded = cv::Mat::zeros(image.height + 2, image.width + 2, CV_8UC1);
    cv::Mat inside = padded(cv::Rect(1, 1, image.width, image.height));
    if (threshold) {
        const int level = std::clamp(*threshold, 0, 255);
        cv::threshold(grey, inside, level, 1, cv::THRESH_BINARY_INV);
        return level;
    }
    double darkest = 0;
    double lightest = 0;
    cv::minMaxLoc(grey, &darkest, &lightest);
    if (darkest == lightest) {
        // One grey all over: no lines, whatever Otsu's split would say. The grey itself is
        // reported, never a level outside 0 to 255.
        oneGrey = true;
        return static_cast<int>(darkest);
    }
    return static_cast<int>(
        cv::threshold(grey, inside, 0, 1, cv::THRESH_BINARY_INV | cv::THRESH_OTSU));
}

std::vector<Point> simplify(const SkeletonPath& path, double tolerance) {
    std::vector<cv::Point> pixels;
    pixels.reserve(path.pixels.size());
    for (const Point& p : path.pixels) {
        // Back from the padded picture to the image's own pixels.
        pixels.emplace_back(p.x - 1, p.y - 1);
    }
    std::vector<cv::Point> kept;
    if (pixels.size() > 2) {
        cv::approxPolyDP(pixels, kept, std::max(tolerance, 0.0), path.closed);
    } else {
        kept = pixels;
    }
    std::vector<Point> line;
    line.reserve(kept.size() + 1);
    for (const cv::Point& p : kept) {
        line.push_back({p.x, p.y});
    }
    if (path.closed && !line.empty()) {
        line.push_back(line.front());
    }
    if (line.size() == 1) {
        line.push_back(line.front());
    }
    return line;
}

// Cuts lines of more points than a vector holds into pieces that share their joining point.
std::vector<std::vector<Point>> splitLongLines(std::vector<std::vector<Point>> lines, int maxPoints,
                                               int& split) {
    std::vector<std::vector<Point>> fitted;
    const std::size_t most = static_cast<std::size_t>(std::max(maxPoints, 2));
    for (std::vector<Point>& line : lines) {
        if (line.size() <= most) {
            fitted.push_back(std::move(line));
            continue;
        }
        ++split;
        for (std::size_t start = 0; start + 1 < line.size(); start += most - 1) {
            const std::size_t end = std::min(line.size(), start + most);
            fitted.emplace_back(line.begin() + static_cast<std::ptrdiff_t>(start),
                                line.begin() + static_cast<std::ptrdiff_t>(end));
        }
    }
    return fitted;
}

// Keeps the longest `maxVectors` lines, in the order they were found.
std::vector<std::vector<Point>> keepLongest(std::vector<std::vector<Point>> lines, int maxVectors,
                                            int& dropped) {
    const std::size_t most = static_cast<std::size_t>(std::max(maxVectors, 0));
    if (lines.size() <= most) {
        return lines;
    }
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> lengths;
    for (const auto& line : lines) {
        lengths.push_back(pathLength(line, false));
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lengths[a] > lengths[b]; });
    order.resize(most);
    std::sort(order.begin(), order.end());
    std::vector<std::vector<Point>> kept;
    for (const std::size_t index : order) {
        kept.push_back(std::move(lines[index]));
    }
    dropped = static_cast<int>(lines.size() - most);
    return kept;
}

TraceResult stoppedResult() {
    TraceResult result;
    result.stopped = true;
    result.error = "tracing stopped";
    return result;
}

TraceResult traceChecked(const GreyImage& image, const TraceOptions& options) {
    TraceResult result;
    const auto stop = [&] { return options.stopRequested && options.stopRequested(); };
    cv::Mat ink;
    result.report.threshold = markInk(image, options.threshold, ink, result.report.oneGrey);
    if (stop()) {
        return stoppedResult();
    }
    StopPoll poll(options.stopRequested);
    cv::Mat radius;
    if (!fillSmallHoles(ink, kLargestHole, poll) || !distanceFromBackground(ink, radius, poll) ||
        !hollowFilledAreas(ink, radius, kWidestStroke, kCornerReach, kRim, poll) ||
        !thinToSkeleton(std::span<std::uint8_t>(ink.data, ink.total()), ink.cols, ink.rows,
                        options.stopRequested) ||
        stop()) {
        return stoppedResult();
    }
    std::optional<SkeletonPaths> followed = followSkeleton(
        std::span<const std::uint8_t>(ink.data, ink.total()), ink.cols, ink.rows, options.minLength,
        std::span<const float>(radius.ptr<float>(), radius.total()), poll);
    if (!followed) {
        return stoppedResult();
    }
    const SkeletonPaths& skeleton = *followed;
    result.report.specks = skeleton.specks;

    std::vector<std::vector<Point>> lines;
    for (const SkeletonPath& path : skeleton.paths) {
        lines.push_back(simplify(path, options.tolerance));
    }
    result.report.found = static_cast<int>(lines.size());
    lines = splitLongLines(std::move(lines), options.maxPoints, result.report.splitLines);
    lines = keepLongest(std::move(lines), options.maxVectors, result.report.droppedLines);
    result.report.vectors = static_cast<int>(lines.size());
    for (const auto& line : lines) {
        result.report.points += static_cast<int>(line.size());
    }
    result.lines = std::move(lines);
    return result;
}

}  // namespace

TraceResult traceLines(const GreyImage& image, const TraceOptions& options) {
    TraceResult result;
    result.error = checkImage(image);
    if (!result.error.empty()) {
        return result;
    }
    try {
        return traceChecked(image, options);
    } catch (const std::exception& failure) {
        // Only running out of memory gets here; the caller gets a reason, not an exception.
        result.error = std::string("tracing failed: ") + failure.what();
        return result;
    }
}

}  // namespace penmoji::trace
