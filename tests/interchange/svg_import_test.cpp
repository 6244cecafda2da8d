// SPDX-License-Identifier: MIT
#include "interchange/svg_import.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

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
    return QByteArray::fromStdString("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                     "xmlns:xlink=\"http://www.w3.org/1999/xlink\"" +
                                     root + ">" + body + "</svg>");
}

// `levels` groups, each of ten uses of the one before side by side, over a single line.
QByteArray nestedUses(int levels) {
    std::string body = R"(<defs><line id="g0" y2="10" stroke="black"/>)";
    int step = 1;
    for (int level = 1; level <= levels; ++level, step *= 10) {
        body += "<g id=\"g" + std::to_string(level) + "\">";
        for (int i = 0; i < 10; ++i) {
            body += "<use xlink:href=\"#g" + std::to_string(level - 1) + "\" x=\"" +
                    std::to_string(i * step) + "\"/>";
        }
        body += "</g>";
    }
    return document(body + "</defs><use xlink:href=\"#g" + std::to_string(levels) + "\"/>");
}

constexpr const char* kVisibleLine = R"(<line x1="1" y1="2" x2="30" y2="40" stroke="black"/>)";

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

// Only what the picture shows comes in: each fixture holds one visible line beside shapes that
// a browser would not paint.
TEST(SvgImportTest, OnlyWhatThePictureShowsComesIn) {
    struct Case {
        const char* what;
        const char* hidden;
    };
    const Case cases[] = {
        {"opacity 0", R"(<path d="M0 0 L50 50" stroke="black" opacity="0"/>)"},
        {"opacity 0 in a style", R"(<path d="M0 0 L50 50" style="stroke:black;opacity:0"/>)"},
        {"group of opacity 0", R"(<g opacity="0"><path d="M0 0 L50 50" stroke="black"/></g>)"},
        {"area of fill-opacity 0", R"(<rect width="20" height="20" fill-opacity="0"/>)"},
        {"line of stroke-opacity 0",
         R"(<path d="M0 0 L50 50" stroke="black" stroke-opacity="0" fill="none"/>)"},
        {"transparent stroke", R"(<path d="M0 0 L50 50" stroke="transparent" fill="none"/>)"},
        {"polyline with neither stroke nor fill", R"(<polyline points="0,0 9,0" fill="none"/>)"},
        {"use of a display:none element in defs",
         R"(<defs><rect id="r" width="20" height="20" display="none"/></defs>)"
         R"(<use xlink:href="#r"/>)"},
        {"clip path outside defs", R"(<clipPath id="c"><rect width="20" height="20"/></clipPath>)"},
        {"mask outside defs", R"(<mask id="m"><rect width="20" height="20"/></mask>)"},
        {"symbol never used", R"(<symbol id="s"><rect width="20" height="20"/></symbol>)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SvgImport imported =
            importSvg(document(std::string(c.hidden) + kVisibleLine), SvgPlacement::Actual);
        ASSERT_TRUE(imported.status.ok()) << imported.status.reason();
        EXPECT_EQ(polylines(*imported.vectors), (std::vector<Polyline>{{{1, 2}, {30, 40}}}));
    }
    // A transparent area with a visible outline is its outline, once.
    const SvgImport outlined = importSvg(
        document(R"(<rect width="20" height="10" fill-opacity="0" stroke="red"/>)"),
        SvgPlacement::Actual);
    EXPECT_EQ(polylines(*outlined.vectors),
              (std::vector<Polyline>{{{0, 0}, {20, 0}, {20, 10}, {0, 10}, {0, 0}}}));
}

// What cannot come in as drawn is said: a clip that is not applied, a picture, a shape beyond
// any coordinate.
TEST(SvgImportTest, WhatIsLeftOutOrChangedIsReported) {
    const SvgImport clipped = importSvg(
        document(R"(<defs><clipPath id="c"><rect width="20" height="20"/></clipPath></defs>)"
                 R"svg(<line x2="90" y2="90" stroke="black" clip-path="url(#c)"/>)svg"),
        SvgPlacement::Actual);
    EXPECT_EQ(polylines(*clipped.vectors), (std::vector<Polyline>{{{0, 0}, {90, 90}}}));
    EXPECT_EQ(clipped.report.ignoredClips, 1);
    EXPECT_EQ(describeSvgImport(clipped.report),
              "1 outline: 1 vector; 1 clip path or mask not applied: the shapes come in whole");

    // A data URI that does not decode never reaches the painter; it is left out all the same.
    const SvgImport pictured = importSvg(
        document(std::string(R"(<image width="10" height="10" )"
                             R"(xlink:href="data:image/png;base64,iVBORw0KGgo="/>)") +
                 kVisibleLine),
        SvgPlacement::Actual);
    EXPECT_EQ(pictured.report.ignoredItems, 1);
    // Nothing but what is left out: refused, with the reason.
    const SvgImport onlyPicture = importSvg(
        document(R"(<image width="10" height="10" xlink:href="data:image/png;base64,iVBORw0KGgo="/>)"),
        SvgPlacement::Actual);
    EXPECT_EQ(onlyPicture.status.reason(), "nothing to import (0 outlines: 0 vectors; 1 image left out)");

    const SvgImport huge = importSvg(
        document(std::string(R"(<rect width="1e308" height="10" stroke="black"/>)"
                             R"(<circle r="1e308" stroke="black"/>)") +
                 kVisibleLine),
        SvgPlacement::FitCanvas, QSize(216, 216));
    ASSERT_TRUE(huge.status.ok());
    EXPECT_EQ(polylines(*huge.vectors).size(), 1u);
    EXPECT_GE(huge.report.vanishedShapes, 2);
    EXPECT_FALSE(huge.report.complete());
}

// A round or square cap paints a stroke of no length as a dot: it comes in as a level line as
// wide as the cap, which every mode draws.
TEST(SvgImportTest, ZeroLengthStrokesWithWideCapsBecomeDots) {
    struct Case {
        const char* what;
        const char* element;
        std::vector<Polyline> expected;
    };
    const Case cases[] = {
        {"round cap, v0",
         R"(<path d="M20 20v0" stroke="black" stroke-width="2" stroke-linecap="round"/>)",
         {{{19, 20}, {21, 20}}}},
        {"square cap, closed at once",
         R"(<path d="M20 20z" stroke="black" stroke-width="4" stroke-linecap="square" fill="none"/>)",
         {{{18, 20}, {22, 20}}}},
        {"beside a line in one path",
         R"(<path d="M0 0H10M20 20l0 0" stroke="black" stroke-width="2" stroke-linecap="round"/>)",
         {{{0, 0}, {10, 0}}, {{19, 20}, {21, 20}}}},
        {"cap widened by the transform",
         R"svg(<path d="M10 10h.01" stroke="black" stroke-linecap="round" transform="scale(2)"/>)svg",
         {{{19, 20}, {21, 20}}}},
        {"flat cap paints nothing", R"(<path d="M20 20v0" stroke="black" stroke-width="4"/>)", {}},
        {"a cap under 2 pixels stays a point",
         R"(<path d="M20 20v0" stroke="black" stroke-width="1" stroke-linecap="round"/>)",
         {{{20, 20}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SvgImport imported = importSvg(document(c.element), SvgPlacement::Actual);
        ASSERT_TRUE(imported.status.ok()) << imported.status.reason();
        EXPECT_EQ(polylines(*imported.vectors), c.expected);
    }
}

TEST(SvgImportTest, SymbolsComeInWhereTheyAreUsed) {
    const SvgImport imported = importSvg(
        document(R"(<defs><symbol id="s" viewBox="0 0 24 24">)"
                 R"(<line x1="0" y1="0" x2="12" y2="24" stroke="black"/></symbol></defs>)"
                 R"(<use xlink:href="#s" x="100" width="48" height="48"/>)"
                 R"(<use href="#s" x="200" y="10" width="96" height="48"/>)"),
        SvgPlacement::Actual);
    ASSERT_TRUE(imported.status.ok()) << imported.status.reason();
    // Twice the size at 100; then fitted, centred, into a frame twice as wide as high.
    EXPECT_EQ(polylines(*imported.vectors),
              (std::vector<Polyline>{{{100, 0}, {124, 48}}, {{224, 10}, {248, 58}}}));
}

// A document whose uses stand for more elements than an import paints is refused before the
// SVG module starts on it; below the limit, the shapes past the drawing's room are counted.
TEST(SvgImportTest, NestedUsesAreBoundedBeforePainting) {
    // An undeclared prefix ends an XML reader's work but not the SVG module's.
    QByteArray undeclaredPrefix = nestedUses(7);
    undeclaredPrefix.replace("<g id=\"g3\">", "<g id=\"g3\" un:declared=\"1\">");
    // Unused, they cost as much: the SVG module measures what <defs> holds.
    QByteArray unused = nestedUses(7);
    unused.replace("</defs><use xlink:href=\"#g7\"/>", "</defs>");
    for (const QByteArray& svg : {nestedUses(7), undeclaredPrefix, unused}) {
        const SvgImport refused = importSvg(svg, SvgPlacement::Actual);
        EXPECT_EQ(refused.status.error(), FileError::Damaged);
        EXPECT_EQ(refused.status.reason(),
                  "too complex: more than 2000000 elements, each <use> counted as the elements "
                  "it repeats");
    }

    const SvgImport taken = importSvg(nestedUses(3), SvgPlacement::Actual);
    ASSERT_TRUE(taken.status.ok()) << taken.status.reason();
    EXPECT_EQ(taken.report.outlines, 1000);
    EXPECT_EQ(taken.report.vectors, kSlotCount);
    EXPECT_EQ(taken.report.droppedOutlines, 1000 - kSlotCount);

    // A use that paints itself, at once or through further uses, is an error that paints
    // nothing; the SVG module would paint the loop once over, for minutes in deeper documents.
    QByteArray throughOthers = nestedUses(3);
    throughOthers.replace("<g id=\"g1\">", "<g id=\"g1\"><use xlink:href=\"#g3\"/>");
    const QByteArray itself = document(std::string(R"(<g id="a">)") + kVisibleLine +
                                       R"(<use xlink:href="#a"/></g>)");
    const SvgImport looped = importSvg(itself, SvgPlacement::Actual);
    ASSERT_TRUE(looped.status.ok()) << looped.status.reason();
    EXPECT_EQ(looped.report.outlines, 1);
    EXPECT_EQ(looped.report.circularUses, 1);
    // Every use of g1, g2 and g3 paints itself: nothing is left to import.
    EXPECT_EQ(importSvg(throughOthers, SvgPlacement::Actual).status.reason(),
              "nothing to import (0 outlines: 0 vectors; 21 circular <use> elements left out: "
              "each would repeat itself)");

    const SvgImport oversized =
        importSvg(QByteArray(kMaxSvgBytes + 1, ' '), SvgPlacement::Actual);
    EXPECT_EQ(oversized.status.reason(),
              "larger than 16 MB, more than an SVG drawing to import");
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
         document(R"(<polyline points="0,0 10,0 10,10" fill="none" stroke="black"/>)"),
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
        // Simplified within a pixel: a segment of about 16 pixels rather than 8.
        EXPECT_GE(lines[0].size(), 16u) << c.what;
        EXPECT_LE(lines[0].size(), 40u) << c.what;
        for (std::size_t i = 0; i < lines[0].size(); ++i) {
            const Point& p = lines[0][i];
            const double distance = std::hypot(p.x - 100.0, p.y - 100.0);
            EXPECT_NEAR(distance, 80.0, 0.71) << c.what << " at " << p.x << "," << p.y;
            if (i > 0) {
                const Point& q = lines[0][i - 1];
                const double middle = std::hypot((p.x + q.x) / 2.0 - 100, (p.y + q.y) / 2.0 - 100);
                EXPECT_NEAR(middle, 80.0, 1 + 0.71) << c.what << " after " << p.x << "," << p.y;
            }
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

// Files that would block the reader or fill the memory are refused before a byte is read.
TEST(SvgImportTest, FilesThatAreNoDrawingsAreRefusedUnread) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString fifo = folder.filePath(QStringLiteral("fifo.svg"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString large = folder.filePath(QStringLiteral("large.svg"));
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(kMaxSvgBytes + 1));  // sparse: nothing is written
    }
    struct Case {
        QString path;
        std::string reason;
    };
    const Case cases[] = {
        {fifo, "cannot open " + fifo.toStdString() + ": is not a regular file"},
        {folder.path(), "cannot open " + folder.path().toStdString() + ": is a directory"},
        {large, "cannot open " + large.toStdString() + ": too large (16 MB, more than 16 MB)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(importSvgFile(c.path, SvgPlacement::Actual).status.reason(), c.reason);
    }
}

}  // namespace
}  // namespace penmoji
