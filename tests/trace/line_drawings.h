// SPDX-License-Identifier: MIT
#pragma once

// Line drawings made for the tracing tests and benchmarks: dark strokes of a known width on a
// light picture, with the geometry they were drawn from.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <vector>

#include "trace/trace.h"

namespace penmoji::trace::fixtures {

inline constexpr int kPaper = 230;
inline constexpr int kInk = 30;

// A drawn centre line: a polyline, closed or not, or a circle round its one point.
struct Stroke {
    std::vector<cv::Point> points;
    bool closed = false;
    int radius = 0;
};

inline Stroke segment(cv::Point a, cv::Point b) {
    return {{a, b}, false};
}

inline Stroke circle(cv::Point centre, int radius) {
    return {{centre}, true, radius};
}

// Capital letters of straight strokes, 40 wide and 60 high, their top left at `at`.
inline std::vector<Stroke> letterA(cv::Point at) {
    return {{{at + cv::Point(0, 60), at + cv::Point(20, 0), at + cv::Point(40, 60)}},
            segment(at + cv::Point(8, 36), at + cv::Point(32, 36))};
}
inline std::vector<Stroke> letterE(cv::Point at) {
    return {{{at + cv::Point(36, 0), at, at + cv::Point(0, 60), at + cv::Point(36, 60)}},
            segment(at + cv::Point(0, 30), at + cv::Point(28, 30))};
}
inline std::vector<Stroke> letterZ(cv::Point at) {
    return {{{at, at + cv::Point(40, 0), at + cv::Point(0, 60), at + cv::Point(40, 60)}}};
}
inline std::vector<Stroke> letterX(cv::Point at) {
    return {segment(at, at + cv::Point(40, 60)),
            segment(at + cv::Point(40, 0), at + cv::Point(0, 60))};
}

// An arrowhead: two arms of `arm` pixels from `tip`, spread `spread` degrees apart round the
// heading of `heading` degrees (clockwise from east, y down).
inline Stroke arrowhead(cv::Point tip, double heading, double spread, double arm) {
    const auto armEnd = [&](double degrees) {
        const double angle = degrees * std::numbers::pi / 180;
        return tip + cv::Point(static_cast<int>(std::lround(arm * std::cos(angle))),
                               static_cast<int>(std::lround(arm * std::sin(angle))));
    };
    return {{armEnd(heading + 180 - spread / 2), tip, armEnd(heading + 180 + spread / 2)}};
}

// `lineType` cv::LINE_AA draws the edges in greys, as a drawing program smooths them.
inline cv::Mat drawStrokes(cv::Size size, const std::vector<Stroke>& strokes, int width,
                           int lineType = cv::LINE_8) {
    cv::Mat picture(size, CV_8UC1, cv::Scalar(kPaper));
    for (const Stroke& stroke : strokes) {
        if (stroke.radius > 0) {
            cv::circle(picture, stroke.points[0], stroke.radius, cv::Scalar(kInk), width, lineType);
        } else {
            cv::polylines(picture, stroke.points, stroke.closed, cv::Scalar(kInk), width, lineType);
        }
    }
    return picture;
}

// A straight line `width` pixels across as a paint program's square pen leaves it: each column
// (of a line nearer level than steep, else each row) holds exactly `width` ink pixels round the
// line's centre, so a 45-degree line 2 wide is a staircase of pixel pairs touching at corners.
inline void drawPixelLine(cv::Mat& picture, cv::Point2d a, cv::Point2d b, int width) {
    const bool level = std::abs(b.x - a.x) >= std::abs(b.y - a.y);
    const cv::Point2d from = level ? a : cv::Point2d(a.y, a.x);
    const cv::Point2d to = level ? b : cv::Point2d(b.y, b.x);
    const double slope = to.x == from.x ? 0 : (to.y - from.y) / (to.x - from.x);
    const int first = static_cast<int>(std::lround(std::min(from.x, to.x)));
    const int last = static_cast<int>(std::lround(std::max(from.x, to.x)));
    for (int along = first; along <= last; ++along) {
        const double centre = from.y + (along - from.x) * slope;
        const int top = static_cast<int>(std::floor(centre - (width - 1) / 2.0 + 0.5));
        for (int across = top; across < top + width; ++across) {
            const cv::Point at = level ? cv::Point(along, across) : cv::Point(across, along);
            picture.at<std::uint8_t>(at) = kInk;
        }
    }
}

// Grey noise over the whole picture, dark specks of one to four pixels on the paper (apart from
// the strokes: one touching a stroke is part of its ink) and light pixels dropped out of the
// strokes, as a scan or a photograph of a drawing has them.
inline void addNoise(cv::Mat& picture, std::uint32_t seed, int specks) {
    cv::Mat nearInk;
    cv::dilate(picture < 128, nearInk, cv::Mat::ones(7, 7, CV_8UC1));
    // Drop-outs inside strokes: a gap across a line one pixel wide breaks it, and is traced so.
    cv::Mat inside;
    cv::erode(picture < 128, inside, cv::getStructuringElement(cv::MORPH_CROSS, {3, 3}));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> grain(-35, 35);
    for (int y = 0; y < picture.rows; ++y) {
        for (int x = 0; x < picture.cols; ++x) {
            auto& pixel = picture.at<std::uint8_t>(y, x);
            pixel = cv::saturate_cast<std::uint8_t>(pixel + grain(random));
        }
    }
    std::uniform_int_distribution<int> column(0, picture.cols - 2);
    std::uniform_int_distribution<int> row(0, picture.rows - 2);
    std::uniform_int_distribution<int> size(1, 2);
    for (int i = 0; i < specks; ++i) {
        const cv::Point at(column(random), row(random));
        if (inside.at<std::uint8_t>(at)) {
            picture.at<std::uint8_t>(at) = kPaper;
        } else if (!nearInk.at<std::uint8_t>(at)) {
            const int side = size(random);
            cv::rectangle(picture, cv::Rect(at.x, at.y, side, side), cv::Scalar(kInk), cv::FILLED);
        }
    }
}

inline GreyImage view(const cv::Mat& picture) {
    return {picture.cols,
            picture.rows,
            static_cast<int>(picture.step[0]),
            {picture.data, picture.step[0] * static_cast<std::size_t>(picture.rows)}};
}

// A page of line art the size of a screen: letters in rows, circles and long lines across.
inline std::vector<Stroke> screenOfLineArt(cv::Size size) {
    std::vector<Stroke> strokes;
    for (int y = 40; y + 60 < size.height / 2; y += 90) {
        for (int x = 40; x + 40 < size.width - 40; x += 60) {
            const int which = (x / 60 + y / 90) % 4;
            const auto letter = which == 0   ? letterA({x, y})
                                : which == 1 ? letterE({x, y})
                                : which == 2 ? letterZ({x, y})
                                             : letterX({x, y});
            strokes.insert(strokes.end(), letter.begin(), letter.end());
        }
    }
    for (int x = 100; x + 100 < size.width; x += 220) {
        strokes.push_back(circle({x, size.height * 3 / 4}, 90));
    }
    strokes.push_back(segment({20, size.height / 2 + 20}, {size.width - 20, size.height - 20}));
    strokes.push_back(segment({20, size.height - 20}, {size.width - 20, size.height / 2 + 20}));
    return strokes;
}

}  // namespace penmoji::trace::fixtures
