// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "document/vector_set.h"
#include "trace/stop_poll.h"

namespace penmoji::trace {

// A centre line followed pixel by pixel.
struct SkeletonPath {
    std::vector<Point> pixels;
    // The line comes back to where it starts (its first pixel is not repeated at the end).
    bool closed = false;
};

struct SkeletonPaths {
    std::vector<SkeletonPath> paths;
    int specks = 0;  // loose strokes and loose-ended branches shorter than the least length
};

// Follows the lines of a skeleton one pixel wide (non-zero bytes; the outermost rows and columns
// zero) into paths. Junctions (pixels of three neighbours or more, and their neighbours of the
// same kind) end the branches that meet there; the branches that go on nearly straight through a
// junction, or the two left at it, are joined into one path. Loose strokes and branches with a
// loose end shorter than `minLength` are dropped first, which takes away the spurs thinning leaves
// at the corners and ends of thick strokes.
//
// `radius`, when not empty, holds for each pixel its distance from the background of the picture
// that was thinned. A branch with a loose end that reaches little farther from its junction than
// the stroke is thick there is a spur, left by a bump or a corner of the stroke's edge, and is
// dropped as well, so that thick strokes with stair-stepped or rough edges keep one centre line.
// `poll` is told of the work as it goes; when it says to stop there are no paths.
std::optional<SkeletonPaths> followSkeleton(std::span<const std::uint8_t> skeleton, int width,
                                            int height, double minLength,
                                            std::span<const float> radius, StopPoll& poll);

// The length of a path through the centres of `pixels`.
double pathLength(std::span<const Point> pixels, bool closed);

}  // namespace penmoji::trace
