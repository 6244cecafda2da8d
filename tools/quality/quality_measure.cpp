// SPDX-License-Identifier: MIT
#include "quality_measure.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace {

// The neighbourhood that gives ink its direction, whatever reach pairs the pixels.
constexpr int kReach = 2;
constexpr double kMaxAngle = 30.0 * std::numbers::pi / 180.0;
// Below this ratio of the smaller to the larger spread, ink has a direction.
constexpr double kDirectedRatio = 0.35;

bool isSet(const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           image.constScanLine(y)[x] != 0;
}

// The direction of the stroke through ink pixel (x, y): the main axis of the ink within two
// pixels of it, or nothing when the ink there spreads about evenly.
std::optional<double> inkDirection(const QImage& ink, int x, int y) {
    double sxx = 0;
    double syy = 0;
    double sxy = 0;
    for (int dy = -kReach; dy <= kReach; ++dy) {
        for (int dx = -kReach; dx <= kReach; ++dx) {
            if (dx * dx + dy * dy <= kReach * kReach && isSet(ink, x + dx, y + dy)) {
                sxx += dx * dx;
                syy += dy * dy;
                sxy += dx * dy;
            }
        }
    }
    const double mean = (sxx + syy) / 2;
    const double spread = std::sqrt((sxx - syy) * (sxx - syy) / 4 + sxy * sxy);
    const double large = mean + spread;
    const double small = mean - spread;
    if (large <= 0 || small / large > kDirectedRatio) {
        return std::nullopt;
    }
    double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    if (angle < 0) {
        angle += std::numbers::pi;
    }
    return angle;
}

bool alike(double a, double b) {
    double d = std::fabs(a - b);
    if (d > std::numbers::pi / 2) {
        d = std::numbers::pi - d;
    }
    return d <= kMaxAngle;
}

bool agrees(const std::optional<double>& inkAngle, const std::vector<float>& lineAngles) {
    if (!inkAngle) {
        return true;
    }
    for (float a : lineAngles) {
        if (alike(*inkAngle, a)) {
            return true;
        }
    }
    return false;
}

double percent(int part, int whole, bool otherEmpty) {
    if (whole == 0) {
        return otherEmpty ? 100.0 : 0.0;
    }
    return 100.0 * part / whole;
}

}  // namespace

double harmonicMean(double a, double b) {
    return a + b > 0 ? 2 * a * b / (a + b) : 0.0;
}

QualityScores measureQuality(const LinePixels& lines, const QImage& ink, int reach) {
    const int width = lines.mask.width();
    const int height = lines.mask.height();
    std::vector<std::optional<double>> inkAngles(static_cast<std::size_t>(width) * height);
    QualityScores s;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (isSet(ink, x, y)) {
                ++s.inkPixels;
                inkAngles[static_cast<std::size_t>(y) * width + x] = inkDirection(ink, x, y);
            }
        }
    }
    // For each pixel of one kind, whether a pixel of the other kind lies within reach, and
    // whether one does whose direction agrees.
    const auto pairs = [&](int x, int y, const QImage& other, bool fromLine) {
        const auto here = static_cast<std::size_t>(y) * width + x;
        std::pair<bool, bool> found{false, false};
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                if (dx * dx + dy * dy > reach * reach || !isSet(other, x + dx, y + dy)) {
                    continue;
                }
                const auto there = static_cast<std::size_t>(y + dy) * width + x + dx;
                found.first = true;
                found.second =
                    found.second || (fromLine ? agrees(inkAngles[there], lines.directions[here])
                                              : agrees(inkAngles[here], lines.directions[there]));
            }
        }
        return found;
    };
    int covered = 0;
    int coveredOriented = 0;
    int near = 0;
    int nearOriented = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (isSet(lines.mask, x, y)) {
                ++s.linePixels;
                const auto [any, oriented] = pairs(x, y, ink, true);
                covered += any ? 1 : 0;
                coveredOriented += oriented ? 1 : 0;
            }
            if (isSet(ink, x, y)) {
                const auto [any, oriented] = pairs(x, y, lines.mask, false);
                near += any ? 1 : 0;
                nearOriented += oriented ? 1 : 0;
            }
        }
    }
    s.recall = percent(covered, s.linePixels, s.inkPixels == 0);
    s.precision = percent(near, s.inkPixels, s.linePixels == 0);
    s.orientedRecall = percent(coveredOriented, s.linePixels, s.inkPixels == 0);
    s.orientedPrecision = percent(nearOriented, s.inkPixels, s.linePixels == 0);
    s.f = harmonicMean(s.recall, s.precision);
    s.orientedF = harmonicMean(s.orientedRecall, s.orientedPrecision);
    return s;
}
