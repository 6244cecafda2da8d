// SPDX-License-Identifier: MIT
#include "trace/trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "line_drawings.h"
#include "trace/skeleton_paths.h"

namespace penmoji::trace {
namespace {

using fixtures::Stroke;

const cv::Scalar kInkColour(fixtures::kInk);

double distanceToSegment(cv::Point2d p, cv::Point2d a, cv::Point2d b) {
    const cv::Point2d ab = b - a;
    const double squared = ab.dot(ab);
    const double t = squared > 0 ? std::clamp((p - a).dot(ab) / squared, 0.0, 1.0) : 0.0;
    return cv::norm(p - (a + t * ab));
}

// Points every half pixel along a polyline.
std::vector<cv::Point2d> samplesAlong(const std::vector<cv::Point2d>& points, bool closed) {
    std::vector<cv::Point2d> samples;
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const cv::Point2d a = points[i];
        const cv::Point2d b = points[(i + 1) % points.size()];
        const int steps = std::max(1, static_cast<int>(std::ceil(cv::norm(b - a) * 2)));
        for (int s = 0; s < steps; ++s) {
            samples.push_back(a + (b - a) * (static_cast<double>(s) / steps));
        }
    }
    samples.push_back(points.back());
    return samples;
}

std::vector<cv::Point2d> outline(const Stroke& stroke) {
    std::vector<cv::Point2d> points;
    if (stroke.radius > 0) {
        // Within a hundredth of a pixel of the circle.
        const int corners = 720;
        for (int i = 0; i < corners; ++i) {
            const double angle = 2 * std::numbers::pi * i / corners;
            points.push_back(cv::Point2d(stroke.points[0]) +
                             stroke.radius * cv::Point2d(std::cos(angle), std::sin(angle)));
        }
    } else {
        points.assign(stroke.points.begin(), stroke.points.end());
    }
    return points;
}

double distanceToPolyline(cv::Point2d p, const std::vector<cv::Point2d>& points, bool closed) {
    double best = points.size() == 1 ? cv::norm(p - points[0]) : std::numeric_limits<double>::max();
    const std::size_t segments = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        best = std::min(best, distanceToSegment(p, points[i], points[(i + 1) % points.size()]));
    }
    return best;
}

std::vector<cv::Point2d> asPoints(const std::vector<Point>& line) {
    std::vector<cv::Point2d> points;
    for (const Point& p : line) {
        points.emplace_back(p.x, p.y);
    }
    return points;
}

// Thinning cuts a corner sharper than a right angle: the centre lines of two strokes `width`
// wide meeting at an angle θ part only (width / 2) / sin(θ / 2) from the corner, and the
// skeleton joins them there. These are the circles that leaves out of the measure, widened by
// the distance allowed.
constexpr double kMostDistance = 1.5;

struct Zone {
    cv::Point2d centre;
    double radius;
};

std::vector<Zone> sharpCorners(const std::vector<Stroke>& strokes, int width) {
    std::vector<Zone> zones;
    for (const Stroke& stroke : strokes) {
        const auto& p = stroke.points;
        const std::size_t n = p.size();
        if (stroke.radius > 0 || n < 3) {
            continue;
        }
        for (std::size_t i = stroke.closed ? 0 : 1; i < (stroke.closed ? n : n - 1); ++i) {
            const cv::Point2d a = p[(i + n - 1) % n] - p[i];
            const cv::Point2d b = p[(i + 1) % n] - p[i];
            const double angle = std::acos(a.dot(b) / (cv::norm(a) * cv::norm(b)));
            if (angle < std::numbers::pi / 2) {
                zones.push_back(
                    {cv::Point2d(p[i]), width / 2.0 / std::sin(angle / 2) + kMostDistance});
            }
        }
    }
    return zones;
}

bool inZone(cv::Point2d p, const std::vector<Zone>& zones) {
    return std::any_of(zones.begin(), zones.end(),
                       [&](const Zone& z) { return cv::norm(p - z.centre) < z.radius; });
}

// How far the traced lines stray from the drawing, and how far the drawing is left uncovered.
struct Fit {
    double farthestTraced = 0;  // the traced point farthest from every drawn line
    double farthestDrawn = 0;   // the drawn point farthest from every traced line
};

Fit measureFit(const std::vector<Stroke>& strokes, const TraceResult& traced, int width) {
    Fit fit;
    const std::vector<Zone> corners = sharpCorners(strokes, width);
    std::vector<std::vector<cv::Point2d>> outlines;
    for (const Stroke& stroke : strokes) {
        outlines.push_back(outline(stroke));
    }
    for (const auto& line : traced.lines) {
        for (const cv::Point2d& p : samplesAlong(asPoints(line), false)) {
            if (inZone(p, corners)) {
                continue;
            }
            double nearest = std::numeric_limits<double>::max();
            for (std::size_t s = 0; s < strokes.size(); ++s) {
                nearest = std::min(nearest, distanceToPolyline(p, outlines[s], strokes[s].closed));
                // A centre line may run on into the round cap at a stroke's end.
                if (!strokes[s].closed) {
                    for (const cv::Point2d& end : {outlines[s].front(), outlines[s].back()}) {
                        nearest = std::min(nearest, std::max(0.0, cv::norm(p - end) - width / 2.0));
                    }
                }
            }
            fit.farthestTraced = std::max(fit.farthestTraced, nearest);
        }
    }
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        const auto& points = outlines[s];
        for (const cv::Point2d& p : samplesAlong(points, strokes[s].closed)) {
            // A thick stroke's centre line ends half its width short of its rounded end.
            const double endZone = width / 2.0 + 1;
            if (inZone(p, corners) ||
                (!strokes[s].closed && (cv::norm(p - points.front()) < endZone ||
                                        cv::norm(p - points.back()) < endZone))) {
                continue;
            }
            double nearest = std::numeric_limits<double>::max();
            for (const auto& line : traced.lines) {
                nearest = std::min(nearest, distanceToPolyline(p, asPoints(line), false));
            }
            fit.farthestDrawn = std::max(fit.farthestDrawn, nearest);
        }
    }
    return fit;
}

struct DrawingCase {
    std::string name;
    cv::Size size;
    std::vector<Stroke> strokes;
};

std::vector<DrawingCase> drawingCases() {
    using fixtures::segment;
    std::vector<DrawingCase> cases;
    cases.push_back({"lines",
                     {320, 320},
                     {segment({20, 20}, {290, 20}), segment({20, 50}, {20, 290}),
                      segment({50, 60}, {290, 200}), segment({50, 110}, {230, 290}),
                      segment({300, 60}, {250, 300}), segment({60, 300}, {200, 260})}});
    cases.push_back({"circles",
                     {260, 140},
                     {fixtures::circle({60, 65}, 45), fixtures::circle({150, 65}, 14),
                      fixtures::circle({210, 65}, 28)}});
    DrawingCase letters{"letters", {300, 100}, {}};
    for (const auto& letter : {fixtures::letterA({15, 20}), fixtures::letterE({85, 20}),
                               fixtures::letterZ({155, 20}), fixtures::letterX({225, 20})}) {
        letters.strokes.insert(letters.strokes.end(), letter.begin(), letter.end());
    }
    cases.push_back(letters);
    return cases;
}

// Every traced line lies on a drawn one along its whole length, and every drawn line has a
// traced one on it, at every width, through grain, specks and drop-outs.
TEST(TraceLines, FollowsDrawnLinesOfEveryWidthThroughNoise) {
    const TraceOptions options;
    for (const DrawingCase& drawing : drawingCases()) {
        for (int width = 1; width <= 4; ++width) {
            SCOPED_TRACE(drawing.name + ", " + std::to_string(width) + " px wide");
            cv::Mat picture = fixtures::drawStrokes(drawing.size, drawing.strokes, width);
            fixtures::addNoise(picture, static_cast<std::uint32_t>(width * 7919), 80);
            const TraceResult traced = traceLines(fixtures::view(picture), options);
            ASSERT_TRUE(traced.error.empty()) << traced.error;
            ASSERT_FALSE(traced.lines.empty());

            const Fit fit = measureFit(drawing.strokes, traced, width);
            EXPECT_LE(fit.farthestTraced, kMostDistance);
            EXPECT_LE(fit.farthestDrawn, kMostDistance);
            // No line found apart from the drawn ones, and none lost to the limits.
            EXPECT_LE(traced.report.vectors, static_cast<int>(drawing.strokes.size()) * 2);
            EXPECT_EQ(traced.report.droppedLines, 0);
            EXPECT_EQ(traced.report.splitLines, 0);
        }
    }
}

// A line drawn with a square pen of every width from 1 to 8 pixels, level, steep and at the
// angles between, traces to one line along it of about its length. Thinning in parallel passes
// alone takes both sides of a staircase 2 or 4 pixels wide at once and loses the line.
TEST(TraceLines, TracesPenLinesOfEveryWidthAndAngle) {
    constexpr double kLength = 80;
    const cv::Point2d centre(60, 60);
    for (int width = 1; width <= 8; ++width) {
        for (const double degrees : {0.0, 22.5, 45.0, 67.5, 90.0, 112.5, 135.0, 157.5}) {
            SCOPED_TRACE(testing::Message() << width << " px wide at " << degrees << " degrees");
            const double angle = degrees * std::numbers::pi / 180;
            const cv::Point2d half(kLength / 2 * std::cos(angle), kLength / 2 * std::sin(angle));
            cv::Mat picture(120, 120, CV_8UC1, cv::Scalar(fixtures::kPaper));
            fixtures::drawPixelLine(picture, centre - half, centre + half, width);

            const TraceResult traced = traceLines(fixtures::view(picture), {});
            EXPECT_EQ(traced.lines.size(), 1u);
            if (traced.lines.empty()) {
                continue;
            }
            const std::vector<cv::Point2d> line = asPoints(traced.lines[0]);
            EXPECT_NEAR(cv::norm(line.back() - line.front()), kLength, width + 2);
            // On the centre line, and so along it, apart from where the pen's square ends pull
            // the ends aside.
            for (const cv::Point2d& p : line) {
                if (cv::norm(p - centre) < kLength / 2 - width) {
                    EXPECT_LE(distanceToSegment(p, centre - half, centre + half), kMostDistance);
                }
            }
        }
    }
}

// Thick strokes keep one centre line through their stair-stepped or rough edges: both 130-pixel
// arms of an arrowhead drawn 27 to 40 pixels wide, smoothed or hard-edged with grain, at several
// headings, are traced along their whole length, without spurs to the corners of the edge. The
// ink where narrow arms overlap, wider than either, is not taken for a filled area.
TEST(TraceLines, FollowsBothArmsOfThickArrowheads) {
    constexpr double kThickDistance = 2;
    const struct {
        double heading;
        double spread;
    } heads[] = {{0, 60}, {20, 40}, {45, 60}, {70, 40}, {135, 60}, {250, 40}};
    for (const bool smooth : {true, false}) {
        for (const int width : {27, 33, 40}) {
            for (const auto& [heading, spread] : heads) {
                SCOPED_TRACE(testing::Message()
                             << (smooth ? "smoothed, " : "hard-edged, ") << width
                             << " px wide, heading " << heading << ", spread " << spread);
                const Stroke head = fixtures::arrowhead({150, 150}, heading, spread, 130);
                cv::Mat picture = fixtures::drawStrokes({300, 300}, {head}, width,
                                                        smooth ? cv::LINE_AA : cv::LINE_8);
                if (smooth) {
                    cv::GaussianBlur(picture, picture, {5, 5}, 1.2);
                } else {
                    fixtures::addNoise(picture, static_cast<std::uint32_t>(width), 0);
                }
                const TraceResult traced = traceLines(fixtures::view(picture), {});
                ASSERT_FALSE(traced.lines.empty());
                const Fit fit = measureFit({head}, traced, width);
                EXPECT_LE(fit.farthestTraced, kThickDistance);
                EXPECT_LE(fit.farthestDrawn, kThickDistance);
                EXPECT_LE(traced.report.vectors, 2);
            }
        }
    }
}

// A filled area, far wider than any stroke, traces to its outline, as does a patch of pixels
// too finely dithered to hold lines; a stroke drawn into it from outside stays a line.
TEST(TraceLines, TracesFilledAreasAsTheirOutline) {
    const struct {
        const char* name;
        void (*draw)(cv::Mat&);
        std::vector<Stroke> edges;
        int vectors;
        // A thinned band along the edge cuts its corners a little; a dithered edge is ragged,
        // and a stroke thicker than the band leaves a small ring where it joins.
        double distance;
    } cases[] = {
        {"square",
         [](cv::Mat& m) { cv::rectangle(m, cv::Rect(60, 60, 200, 180), kInkColour, cv::FILLED); },
         {{{{60, 60}, {259, 60}, {259, 239}, {60, 239}}, true}},
         1,
         2.5},
        {"disk",
         [](cv::Mat& m) {
             cv::circle(m, {160, 150}, 110, kInkColour, cv::FILLED);
         },
         {fixtures::circle({160, 150}, 110)},
         1,
         2.5},
        {"dithered patch",
         [](cv::Mat& m) {
             for (int y = 60; y < 240; ++y) {
                 for (int x = 60 + y % 2; x < 260; x += 2) {
                     m.at<std::uint8_t>(y, x) = fixtures::kInk;
                 }
             }
         },
         {{{{60, 60}, {259, 60}, {259, 239}, {60, 239}}, true}},
         2,
         4},
        {"square with a stroke",
         [](cv::Mat& m) {
             cv::rectangle(m, cv::Rect(60, 60, 200, 180), kInkColour, cv::FILLED);
             cv::line(m, {260, 150}, {310, 150}, kInkColour, 3);
         },
         {{{{60, 60}, {259, 60}, {259, 239}, {60, 239}}, true},
          fixtures::segment({260, 150}, {310, 150})},
         2,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat picture(300, 320, CV_8UC1, cv::Scalar(fixtures::kPaper));
        c.draw(picture);
        const TraceResult traced = traceLines(fixtures::view(picture), {});
        ASSERT_FALSE(traced.lines.empty());
        EXPECT_LE(traced.report.vectors, c.vectors);
        const Fit fit = measureFit(c.edges, traced, 3);
        EXPECT_LE(fit.farthestTraced, c.distance);
        EXPECT_LE(fit.farthestDrawn, c.distance);
    }
}

TEST(TraceLines, KeepsEachLineWithinTheVectorLimits) {
    // One, two and three points per stroke at most, each line within a vector.
    for (const auto& line :
         traceLines(
             fixtures::view(fixtures::drawStrokes({300, 100}, fixtures::letterE({20, 20}), 2)), {})
             .lines) {
        EXPECT_GE(line.size(), 2u);
        EXPECT_LE(line.size(), static_cast<std::size_t>(kMaxPoints));
    }
}

TEST(TraceLines, KeepsTheLongestLinesWhenThereAreTooMany) {
    // Eight strokes of 20 to 90 pixels, room for five.
    std::vector<Stroke> strokes;
    for (int i = 0; i < 8; ++i) {
        const int length = 20 + 10 * ((i * 3) % 8);
        strokes.push_back(fixtures::segment({10, 10 + 12 * i}, {10 + length, 10 + 12 * i}));
    }
    TraceOptions options;
    options.maxVectors = 5;
    const TraceResult traced =
        traceLines(fixtures::view(fixtures::drawStrokes({120, 110}, strokes, 2)), options);
    EXPECT_EQ(traced.report.found, 8);
    EXPECT_EQ(traced.report.droppedLines, 3);
    ASSERT_EQ(traced.lines.size(), 5u);
    for (const auto& line : traced.lines) {
        EXPECT_GE(pathLength(line, false), 45) << "a shorter line was kept";
    }
    // Kept in the order found: top to bottom here.
    EXPECT_TRUE(std::is_sorted(traced.lines.begin(), traced.lines.end(),
                               [](const auto& a, const auto& b) { return a[0].y < b[0].y; }));
}

TEST(TraceLines, SplitsLinesOfMorePointsThanAVectorHolds) {
    // A wave that simplifies to dozens of points, traced into vectors of at most ten.
    std::vector<cv::Point> wave;
    for (int x = 10; x <= 390; ++x) {
        wave.emplace_back(x, 60 + static_cast<int>(std::lround(40 * std::sin(x / 12.0))));
    }
    const cv::Mat picture = fixtures::drawStrokes({400, 120}, {{wave}}, 2);
    TraceOptions options;
    options.maxPoints = 10;
    const TraceResult whole = traceLines(fixtures::view(picture), {});
    const TraceResult split = traceLines(fixtures::view(picture), options);
    ASSERT_EQ(whole.lines.size(), 1u);
    ASSERT_GT(whole.lines[0].size(), 10u);
    EXPECT_EQ(split.report.splitLines, 1);
    ASSERT_GT(split.lines.size(), 1u);
    std::vector<Point> joined;
    for (std::size_t i = 0; i < split.lines.size(); ++i) {
        EXPECT_LE(split.lines[i].size(), 10u);
        if (i > 0) {
            EXPECT_EQ(split.lines[i].front(), split.lines[i - 1].back()) << "pieces must meet";
        }
        joined.insert(joined.end(), split.lines[i].begin() + (i > 0 ? 1 : 0), split.lines[i].end());
    }
    EXPECT_EQ(joined, whole.lines[0]);
}

TEST(TraceLines, ThresholdIsOtsusOrTheOneGiven) {
    // Mid-grey lines on light paper: Otsu's level falls between the two greys.
    cv::Mat picture(80, 120, CV_8UC1, cv::Scalar(200));
    cv::line(picture, {10, 40}, {110, 40}, cv::Scalar(100), 3);
    const TraceResult automatic = traceLines(fixtures::view(picture), {});
    EXPECT_GE(automatic.report.threshold, 100);
    EXPECT_LT(automatic.report.threshold, 200);
    EXPECT_EQ(automatic.lines.size(), 1u);

    TraceOptions darker;
    darker.threshold = 60;
    const TraceResult none = traceLines(fixtures::view(picture), darker);
    EXPECT_EQ(none.report.threshold, 60);
    EXPECT_TRUE(none.lines.empty());
}

TEST(TraceLines, BlankAndMalformedPictures) {
    // One grey all over, black included: no lines, and the report says why with a real level.
    for (const int grey : {0, 128, 255}) {
        const cv::Mat blank(50, 50, CV_8UC1, cv::Scalar(grey));
        const TraceResult nothing = traceLines(fixtures::view(blank), {});
        EXPECT_TRUE(nothing.error.empty());
        EXPECT_TRUE(nothing.lines.empty());
        EXPECT_TRUE(nothing.report.oneGrey) << grey;
        EXPECT_EQ(nothing.report.threshold, grey);
    }

    const std::vector<std::uint8_t> bytes(99, 0);
    const struct {
        GreyImage image;
        const char* why;
    } malformed[] = {
        {{0, 10, 0, bytes}, "no width"},
        {{10, 10, 0, bytes}, "a byte short"},
        {{10, 5, 9, bytes}, "rows shorter than the width"},
    };
    for (const auto& c : malformed) {
        const TraceResult traced = traceLines(c.image, {});
        EXPECT_FALSE(traced.error.empty()) << c.why;
        EXPECT_TRUE(traced.lines.empty()) << c.why;
    }
    // More pixels than an int counts is refused before a byte is read, whatever the bytes claim.
    const GreyImage huge{50000, 50000, 0, {bytes.data(), std::size_t{50000} * 50000}};
    EXPECT_EQ(traceLines(huge, {}).error, "the image is too large to trace (50000 × 50000)");
}

TEST(TraceLines, DropsSpecksShorterThanTheLeastLength) {
    // Strokes of 3, 8 and 30 pixels: a least length of 10 keeps the last only.
    const std::vector<Stroke> strokes{fixtures::segment({10, 10}, {13, 10}),
                                      fixtures::segment({10, 30}, {18, 30}),
                                      fixtures::segment({10, 50}, {40, 50})};
    TraceOptions options;
    options.minLength = 10;
    const TraceResult traced =
        traceLines(fixtures::view(fixtures::drawStrokes({60, 60}, strokes, 1)), options);
    ASSERT_EQ(traced.lines.size(), 1u);
    EXPECT_EQ(traced.lines[0].front().y, 50);
    EXPECT_EQ(traced.report.specks, 2);
}

TEST(TraceLines, AStoppedTracingGivesNoLinesAndSaysSo) {
    const cv::Mat picture = fixtures::drawStrokes({300, 100}, fixtures::letterE({20, 20}), 2);
    TraceOptions options;
    options.stopRequested = [] { return true; };
    const TraceResult traced = traceLines(fixtures::view(picture), options);
    EXPECT_TRUE(traced.stopped);
    EXPECT_FALSE(traced.error.empty());
    EXPECT_TRUE(traced.lines.empty());
}

}  // namespace
}  // namespace penmoji::trace
