// SPDX-License-Identifier: MIT
#pragma once

#include <opencv2/core.hpp>

#include "trace/stop_poll.h"

namespace penmoji::trace {

// The steps that ready the ink for thinning, each one pass or two over the picture that asks
// `poll` as it goes and returns false, leaving its work half done, when told to stop. `ink` is
// 8-bit, 1 for ink and 0 for background, with a row and column of background on every side.

// Fills the background spots of at most `largest` pixels (4-connected) inside the ink: left open,
// the thinning would draw a ring round each.
bool fillSmallHoles(cv::Mat& ink, int largest, StopPoll& poll);

// Each pixel's distance from the background (0 there) as 32-bit floats, by a chamfer of steps 1
// and √2: never shorter than the straight distance, and at most 8 % longer.
bool distanceFromBackground(const cv::Mat& ink, cv::Mat& distance, StopPoll& poll);

// Takes the inside out of every filled area, the ink that a disk `widest` pixels across fits
// into, and its corners up to `cornerReach` such disks' radii from them, leaving a band `rim`
// pixels wide along the area's edge; `radius` is distanceFromBackground of `ink`.
bool hollowFilledAreas(cv::Mat& ink, const cv::Mat& radius, float widest, float cornerReach,
                       float rim, StopPoll& poll);

}  // namespace penmoji::trace
