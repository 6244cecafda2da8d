// SPDX-License-Identifier: MIT
#include "trace/zhang_suen.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <string>

namespace penmoji::trace {
namespace {

int components(const cv::Mat& ink) {
    cv::Mat labels;
    return cv::connectedComponents(ink, labels, 8) - 1;
}

bool hasTwoByTwoInk(const cv::Mat& ink) {
    for (int y = 0; y + 1 < ink.rows; ++y) {
        for (int x = 0; x + 1 < ink.cols; ++x) {
            if (ink.at<std::uint8_t>(y, x) && ink.at<std::uint8_t>(y, x + 1) &&
                ink.at<std::uint8_t>(y + 1, x) && ink.at<std::uint8_t>(y + 1, x + 1)) {
                return true;
            }
        }
    }
    return false;
}

struct Shape {
    std::string name;
    void (*draw)(cv::Mat&);
    int leastLine;  // pixels the lines must keep: most of the shape's length
};

// Thinning leaves lines one pixel wide, along most of the shape, in one piece where the shape was
// in one piece, inside the shape, and centred: on the middle row of a bar.
TEST(ThinToSkeleton, LeavesConnectedCentreLinesOnePixelWide) {
    const Shape shapes[] = {
        {"bar 5 high", [](cv::Mat& m) { cv::rectangle(m, cv::Rect(10, 20, 40, 5), 1, cv::FILLED); },
         30},
        {"diagonal 2 wide",
         [](cv::Mat& m) {
             cv::line(m, {5, 5}, {50, 40}, 1, 2);
         },
         35},
        {"staircase 2 wide",
         [](cv::Mat& m) {
             // Pixel pairs meeting at corners, as a square pen two wide draws at 45 degrees.
             for (int i = 0; i < 40; ++i) {
                 m.at<std::uint8_t>(10 + i, 10 + i) = 1;
                 m.at<std::uint8_t>(10 + i, 11 + i) = 1;
             }
         },
         35},
        {"steep 3 wide",
         [](cv::Mat& m) {
             cv::line(m, {20, 5}, {30, 55}, 1, 3);
         },
         40},
        {"ring 4 wide",
         [](cv::Mat& m) {
             cv::circle(m, {30, 30}, 20, 1, 4);
         },
         100},
        {"plus 4 wide",
         [](cv::Mat& m) {
             cv::line(m, {5, 30}, {55, 30}, 1, 4);
             cv::line(m, {30, 5}, {30, 55}, 1, 4);
         },
         80},
        {"two blobs",
         [](cv::Mat& m) {
             cv::circle(m, {15, 15}, 6, 1, cv::FILLED);
             cv::rectangle(m, cv::Rect(30, 30, 20, 12), 1, cv::FILLED);
         },
         8},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.name);
        cv::Mat ink = cv::Mat::zeros(60, 60, CV_8UC1);
        shape.draw(ink);
        const cv::Mat before = ink.clone();
        thinToSkeleton({ink.data, ink.total()}, ink.cols, ink.rows);
        EXPECT_GE(cv::countNonZero(ink), shape.leastLine);
        EXPECT_FALSE(hasTwoByTwoInk(ink));
        EXPECT_EQ(components(ink), components(before));
        EXPECT_EQ(cv::countNonZero(ink & ~before), 0) << "a pixel off the shape";
    }
    cv::Mat bar = cv::Mat::zeros(30, 60, CV_8UC1);
    cv::rectangle(bar, cv::Rect(10, 10, 40, 5), 1, cv::FILLED);
    thinToSkeleton({bar.data, bar.total()}, bar.cols, bar.rows);
    for (int x = 15; x < 45; ++x) {
        EXPECT_EQ(bar.at<std::uint8_t>(12, x), 1) << "column " << x;
    }
}

// A picture whose thinning takes many passes asks whether to stop as it goes, and ends at the
// first yes.
TEST(ThinToSkeleton, StopsWhenAsked) {
    cv::Mat ink = cv::Mat::zeros(1200, 1200, CV_8UC1);
    cv::rectangle(ink, cv::Rect(10, 10, 1180, 1180), 1, cv::FILLED);
    int asked = 0;
    const auto stopOnSecond = [&] { return ++asked == 2; };
    EXPECT_FALSE(thinToSkeleton({ink.data, ink.total()}, ink.cols, ink.rows, stopOnSecond));
    EXPECT_EQ(asked, 2);
    EXPECT_GT(cv::countNonZero(ink), 1000 * 1000) << "it went on after the stop";
}

}  // namespace
}  // namespace penmoji::trace
