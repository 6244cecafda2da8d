// SPDX-License-Identifier: MIT
#include "trace/ink_preparation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace penmoji::trace {
namespace {

constexpr float kFar = std::numeric_limits<float>::max() / 2;
constexpr float kDiagonal = std::numbers::sqrt2_v<float>;

// Replaces each far pixel (not 0) of `distance` by its chamfer distance from the nearest 0,
// in one pass down and one up. The outermost rows and columns keep what they hold.
bool chamfer(cv::Mat& distance, StopPoll& poll) {
    const int width = distance.cols;
    for (int y = 1; y + 1 < distance.rows; ++y) {
        const float* above = distance.ptr<float>(y - 1);
        float* row = distance.ptr<float>(y);
        for (int x = 1; x + 1 < width; ++x) {
            if (row[x] != 0) {
                row[x] = std::min({row[x], row[x - 1] + 1, above[x] + 1, above[x - 1] + kDiagonal,
                                   above[x + 1] + kDiagonal});
            }
        }
        if (poll.spend(static_cast<std::size_t>(width))) {
            return false;
        }
    }
    for (int y = distance.rows - 2; y >= 1; --y) {
        const float* below = distance.ptr<float>(y + 1);
        float* row = distance.ptr<float>(y);
        for (int x = width - 2; x >= 1; --x) {
            if (row[x] != 0) {
                row[x] = std::min({row[x], row[x + 1] + 1, below[x] + 1, below[x + 1] + kDiagonal,
                                   below[x - 1] + kDiagonal});
            }
        }
        if (poll.spend(static_cast<std::size_t>(width))) {
            return false;
        }
    }
    return true;
}

enum Spot : std::uint8_t { kUnseen = 0, kLarge = 1 };

}  // namespace

bool fillSmallHoles(cv::Mat& ink, int largest, StopPoll& poll) {
    const int width = ink.cols;
    const int height = ink.rows;
    // Background spots known to be larger than a hole; the outermost ring is the outside.
    cv::Mat large(ink.size(), CV_8UC1, cv::Scalar(kUnseen));
    large.row(0).setTo(kLarge);
    large.row(height - 1).setTo(kLarge);
    large.col(0).setTo(kLarge);
    large.col(width - 1).setTo(kLarge);
    std::uint8_t* spots = large.data;
    std::uint8_t* pixels = ink.data;
    const std::array<int, 4> offsets{-width, 1, width, -1};
    // A spot is followed for one pixel more than a hole can have: reaching it, or a spot
    // already known to be large, it is large, and each pixel is so followed only once.
    std::vector<int> spot;
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const int start = y * width + x;
            if (pixels[start] != 0 || spots[start] == kLarge) {
                continue;
            }
            spot.assign(1, start);
            bool isLarge = false;
            for (std::size_t i = 0; i < spot.size() && !isLarge; ++i) {
                for (const int offset : offsets) {
                    const int next = spot[i] + offset;
                    if (pixels[next] != 0 ||
                        std::find(spot.begin(), spot.end(), next) != spot.end()) {
                        continue;
                    }
                    if (spots[next] == kLarge || static_cast<int>(spot.size()) == largest) {
                        isLarge = true;
                        break;
                    }
                    spot.push_back(next);
                }
            }
            for (const int at : spot) {
                if (isLarge) {
                    spots[at] = kLarge;
                } else {
                    pixels[at] = 1;
                }
            }
        }
        if (poll.spend(static_cast<std::size_t>(width))) {
            return false;
        }
    }
    return true;
}

bool distanceFromBackground(const cv::Mat& ink, cv::Mat& distance, StopPoll& poll) {
    distance.create(ink.size(), CV_32FC1);
    for (int y = 0; y < ink.rows; ++y) {
        const std::uint8_t* in = ink.ptr<std::uint8_t>(y);
        float* out = distance.ptr<float>(y);
        for (int x = 0; x < ink.cols; ++x) {
            out[x] = in[x] != 0 ? kFar : 0;
        }
        if (poll.spend(static_cast<std::size_t>(ink.cols))) {
            return false;
        }
    }
    return chamfer(distance, poll);
}

bool hollowFilledAreas(cv::Mat& ink, const cv::Mat& radius, float widest, float cornerReach,
                       float rim, StopPoll& poll) {
    // Most line art has no filled area: then nothing more is made.
    double thickest = 0;
    cv::minMaxLoc(radius, nullptr, &thickest);
    if (thickest <= widest / 2 || poll.spend(radius.total())) {
        return thickest <= widest / 2;
    }
    // The deep pixels, the centres of the disks as wide as the widest stroke, are the sources
    // whose distance the area is measured by.
    cv::Mat fromDeep(ink.size(), CV_32FC1);
    for (int y = 0; y < ink.rows; ++y) {
        const float* r = radius.ptr<float>(y);
        float* out = fromDeep.ptr<float>(y);
        for (int x = 0; x < ink.cols; ++x) {
            out[x] = r[x] > widest / 2 ? 0 : kFar;
        }
        if (poll.spend(static_cast<std::size_t>(ink.cols))) {
            return false;
        }
    }
    if (!chamfer(fromDeep, poll)) {
        return false;
    }
    const float reach = cornerReach * widest / 2;
    for (int y = 0; y < ink.rows; ++y) {
        const float* r = radius.ptr<float>(y);
        const float* d = fromDeep.ptr<float>(y);
        std::uint8_t* out = ink.ptr<std::uint8_t>(y);
        for (int x = 0; x < ink.cols; ++x) {
            if (r[x] > rim && d[x] <= reach) {
                out[x] = 0;
            }
        }
        if (poll.spend(static_cast<std::size_t>(ink.cols))) {
            return false;
        }
    }
    return true;
}

}  // namespace penmoji::trace
