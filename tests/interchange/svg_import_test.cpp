#include "interchange/svg_import.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "compose/vector_svg.h"

namespace penmoji {
namespace {

using Polyline = std::vector<Point>;

std::vector<Polyline> polylines(const VectorSet& vectors) {
    std::vector<Polyline> lines;
    for (const VectorLine& line : vectors.lines) {
        if (line.count > 0) {
            lines.emplace_back(line.points.begin(), line.points.begin() + line.count);
        }
    }
    return lines;
}

QByteArray document(const std::string& body, const std::string& root = "") {
    return QByteArray::fromStdString("<svg xmlns=\"http://www.w3.org/2000/svg\"" + root + ">" +
                                     body + "</svg>");
}

TEST(SvgImportTest, EachVisibleOutlineComesInOnce) {
    struct Case {
        const char* what;
        QByteArray svg;
        std::size_t expected;
    };
    const Case cases[] = {
        {"stroked and filled rect", document(R"(<rect width="20" height="10" stroke="black"/>)"), 1},
        {"stroked circle", document(R"(<circle cx="20" cy="20" r="10" stroke="black" fill="none"/>)"), 1},
        {"stroked open path", document(R"(<path d="M0 0 L10 5 L20 0" stroke="black" fill="none"/>)"), 1},
        {"closed stroked path", document(R"(<path d="M0 0 L10 5 L20 0 Z" stroke="black"/>)"), 1},
        {"neither stroke nor fill",
         document(R"(<path d="M0 0 H24 V24 H0 Z" stroke="none" fill="none"/>)"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SvgImport result = importSvg(c.svg, SvgPlacement::Actual);
        ASSERT_TRUE(result.vectors);
        EXPECT_EQ(polylines(*result.vectors).size(), c.expected);
    }
}

TEST(SvgImportTest, EachElementKindBecomesVectors) {
    struct Case {
        const char* what;
        QByteArray svg;
        std::vector<Polyline> expected;
    };
    const Case cases[] = {
        {"line",
         document(R"(<line x1="1" y1="2" x2="30" y2="40" stroke="black"/>)"),
         {{{1, 2}, {30, 40}}}},
        {"polyline",
         document(R"(<polyline points="0,0 10,0 10,10" fill="none"/>)"),
         {{{0, 0}, {10, 0}, {10, 10}}}},
        {"polygon closes",
         document(R"(<polygon points="0,0 10,0 10,10"/>)"),
         {{{0, 0}, {10, 0}, {10, 10}, {0, 0}}}},
        {"rect",
         document(R"(<rect x="5" y="6" width="20" height="10"/>)"),
         {{{5, 6}, {25, 6}, {25, 16}, {5, 16}, {5, 6}}}},
        {"path with two subpaths",
         document(R"(<path d="M0 0 L10 0 M20 20 L30 25 Z"/>)"),
         {{{0, 0}, {10, 0}}, {{20, 20}, {30, 25}, {20, 20}}}},
        {"nested transforms",
         document("<g transform='translate(100,50)'><line x1='0' y1='0' x2='10' y2='0' "
                  "transform='scale(2) rotate(90)'/></g>"),
         {{{100, 50}, {100, 70}}}},
        {"viewBox maps onto the size in pixels",
         document(R"(<line x1="10" y1="10" x2="20" y2="10"/>)",
                  R"( width="200" height="200" viewBox="10 10 100 100")"),
         {{{0, 0}, {20, 0}}}},
        {"a filled polyline comes in once, open",
         document(R"(<polyline points="0,0 10,0 10,10" fill="red" stroke="black"/>)"),
         {{{0, 0}, {10, 0}, {10, 10}}}},
    };
    for (const Case& c : cases) {
        const SvgImport imported = importSvg(c.svg, SvgPlacement::Actual);
        ASSERT_TRUE(imported.status.ok()) << c.what << ": " << imported.status.reason();
        EXPECT_EQ(polylines(*imported.vectors), c.expected) << c.what;
    }
}

// Every point of the flattened outline lies on the true shape to within the tolerance and the
// rounding to pixels.
TEST(SvgImportTest, CurvesAreFlattenedCloseToTheShape) {
    struct Case {
        const char* what;
        const char* element;
    };
    const Case cases[] = {
        {"circle", R"(<circle cx="100" cy="100" r="80"/>)"},
        {"ellipse", R"(<ellipse cx="100" cy="100" rx="80" ry="80"/>)"},
        {"arc path", R"(<path d="M20 100 A80 80 0 0 1 180 100 A80 80 0 0 1 20 100"/>)"},
    };
    for (const Case& c : cases) {
        const SvgImport imported = importSvg(document(c.element), SvgPlacement::Actual);
        ASSERT_TRUE(imported.status.ok()) << c.what;
        const std::vector<Polyline> lines = polylines(*imported.vectors);
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_GE(lines[0].size(), 16u) << c.what;
        for (const Point& p : lines[0]) {
            const double distance = std::hypot(p.x - 100.0, p.y - 100.0);
            EXPECT_NEAR(distance, 80.0, 0.5 + 0.71) << c.what << " at " << p.x << "," << p.y;
        }
        EXPECT_EQ(lines[0].front(), lines[0].back()) << c.what;
    }
}

TEST(SvgImportTest, OverTheLimitsIsSplitAndDroppedWithAReport) {
    // One polyline of 450 points, then 205 lines: the polyline takes three slots, the lines fill
    // the other 197 and 8 of them are dropped.
    std::string body = R"(<polyline points=")";
    for (int i = 0; i < 450; ++i) {
        body += std::to_string(i) + "," + std::to_string(i % 2) + " ";
    }
    body += R"("/>)";
    for (int i = 0; i < 205; ++i) {
        body += "<line x1=\"0\" y1=\"" + std::to_string(10 + i) + "\" x2=\"5\" y2=\"" +
                std::to_string(10 + i) + "\"/>";
    }
    const SvgImport imported = importSvg(document(body), SvgPlacement::Actual);
    ASSERT_TRUE(imported.status.ok());
    const SvgImportReport& r = imported.report;
    EXPECT_EQ(r.outlines, 206);
    EXPECT_EQ(r.vectors, kSlotCount);
    EXPECT_EQ(r.splitOutlines, 1);
    EXPECT_EQ(r.droppedOutlines, 8);
    EXPECT_EQ(r.droppedVectors, 8);
    EXPECT_FALSE(r.complete());
    // The pieces share their ends, so the line runs on unbroken.
    const VectorSet& v = *imported.vectors;
    EXPECT_EQ(v.lines[0].count, kMaxPoints);
    EXPECT_EQ(v.lines[1].points[0], v.lines[0].points[kMaxPoints - 1]);
    EXPECT_EQ(v.lines[0].count + v.lines[1].count + v.lines[2].count, 450 + 2);
    EXPECT_EQ(describeSvgImport(r),
              "206 outlines: 200 vectors; 1 outline of more than 200 points split into several "
              "vectors; 8 outlines (8 vectors) dropped: the document holds 200 vectors");
}

TEST(SvgImportTest, FitScalesIntoTheCanvasKeepingProportions) {
    const QByteArray svg = document(R"(<line x1="10" y1="10" x2="30" y2="20"/>)");
    const SvgImport imported = importSvg(svg, SvgPlacement::FitCanvas, QSize(216, 400));
    ASSERT_TRUE(imported.status.ok());
    // 20 units wide onto 200 pixels: ten times, from the 8-pixel margin.
    EXPECT_EQ(polylines(*imported.vectors), (std::vector<Polyline>{{{8, 8}, {208, 108}}}));
}

TEST(SvgImportTest, ExportThenImportGivesTheSameVectors) {
    auto original = std::make_unique<VectorSet>();
    original->lines[0] = {3, {{{5, 7}, {300, 12}, {40, 250}}}};
    original->lines[1] = {2, {{{0, 0}, {1, 1}}}};
    original->lines[2] = {1, {{{77, 9}}}};
    VectorLine& full = original->lines[3];
    full.count = kMaxPoints;
    for (int i = 0; i < kMaxPoints; ++i) {
        full.points[i] = {i * 3 % 101, 400 + i};
    }
    std::ostringstream svg;
    ASSERT_TRUE(writeVectorSvg(svg, *original).ok());
    const SvgImport imported =
        importSvg(QByteArray::fromStdString(svg.str()), SvgPlacement::Actual);
    ASSERT_TRUE(imported.status.ok());
    EXPECT_TRUE(imported.report.complete());
    EXPECT_EQ(polylines(*imported.vectors), polylines(*original));
}

TEST(SvgImportTest, NotAnSvgDocumentIsRefused) {
    const SvgImport imported = importSvg("<html>no</html>", SvgPlacement::Actual);
    EXPECT_EQ(imported.status.error(), FileError::Damaged);
    EXPECT_EQ(importSvgFile("/nonexistent/a.svg", SvgPlacement::Actual).status.error(),
              FileError::CannotOpen);
}

}  // namespace
}  // namespace penmoji
