// SPDX-License-Identifier: MIT
#include "trace/ink_preparation.h"

#include <gtest/gtest.h>

#include <functional>
#include <opencv2/imgproc.hpp>
#include <random>

namespace penmoji::trace {
namespace {

// Ink of every density from sparse specks to nearly solid, on a background border.
cv::Mat randomInk(std::uint32_t seed, double density) {
    std::mt19937 random(seed);
    std::bernoulli_distribution inked(density);
    cv::Mat ink = cv::Mat::zeros(90, 110, CV_8UC1);
    for (int y = 1; y + 1 < ink.rows; ++y) {
        for (int x = 1; x + 1 < ink.cols; ++x) {
            ink.at<std::uint8_t>(y, x) = inked(random) ? 1 : 0;
        }
    }
    return ink;
}

// What the holes are by OpenCV's labelling of the background's 4-connected spots.
cv::Mat holesFilledByLabels(const cv::Mat& ink, int largest) {
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centroids;
    cv::connectedComponentsWithStats(ink == 0, labels, stats, centroids, 4, CV_32S);
    cv::Mat filled = ink.clone();
    for (int y = 0; y < ink.rows; ++y) {
        for (int x = 0; x < ink.cols; ++x) {
            const int label = labels.at<int>(y, x);
            if (label > 0 && ink.at<std::uint8_t>(y, x) == 0 &&
                stats.at<int>(label, cv::CC_STAT_AREA) <= largest) {
                filled.at<std::uint8_t>(y, x) = 1;
            }
        }
    }
    return filled;
}

TEST(InkPreparation, FillsTheSameHolesAsLabellingTheBackground) {
    const std::function<bool()> never;
    for (const double density : {0.2, 0.5, 0.7, 0.85, 0.95}) {
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            SCOPED_TRACE(testing::Message() << "density " << density << ", seed " << seed);
            cv::Mat ink = randomInk(seed, density);
            const cv::Mat expected = holesFilledByLabels(ink, 6);
            StopPoll poll(never);
            ASSERT_TRUE(fillSmallHoles(ink, 6, poll));
            EXPECT_EQ(cv::countNonZero(ink != expected), 0);
        }
    }
}

// Never shorter than the straight distance to the background, and at most 8 % longer.
TEST(InkPreparation, DistanceFromBackgroundIsCloseToTheStraightDistance) {
    const std::function<bool()> never;
    cv::Mat ink = cv::Mat::zeros(200, 240, CV_8UC1);
    cv::circle(ink, {90, 100}, 70, 1, cv::FILLED);
    cv::line(ink, {20, 20}, {210, 170}, 1, 25);
    cv::rectangle(ink, cv::Rect(150, 10, 80, 50), 1, cv::FILLED);
    cv::Mat exact;
    cv::distanceTransform(ink, exact, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    cv::Mat chamfered;
    StopPoll poll(never);
    ASSERT_TRUE(distanceFromBackground(ink, chamfered, poll));
    for (int y = 0; y < ink.rows; ++y) {
        for (int x = 0; x < ink.cols; ++x) {
            const float straight = exact.at<float>(y, x);
            const float found = chamfered.at<float>(y, x);
            ASSERT_GE(found, straight - 1e-3f) << x << "," << y;
            ASSERT_LE(found, straight * 1.085f + 1e-3f) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace penmoji::trace
