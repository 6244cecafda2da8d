// SPDX-License-Identifier: MIT
// The quality benchmark's measure on small cases with known answers, and the fine mode against
// the default mode on the benchmark's drawings.

#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "compose/render_driver.h"
#include "document/vector_file.h"
#include "quality_measure.h"
#include "text_pixels.h"

namespace penmoji {
namespace {

class Quality : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "quality_test";
        static char* argv[] = {name, nullptr};
        app_ = new QGuiApplication(argc, argv);
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(PENMOJI_MONA_FONT));
        font_ = new QFont(QFontDatabase::applicationFontFamilies(id).value(0));
        font_->setPixelSize(16);
        font_->setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    }

    // The application goes before the process ends, so the font libraries release what they hold.
    static void TearDownTestSuite() {
        delete font_;
        delete app_;
    }

    static QualityScores scoresOf(const VectorSet& vectors,
                                  const std::vector<PlacedCharacter>& text) {
        const LinePixels lines = paintLines(vectors, canvasSize(vectors));
        return measureQuality(lines, paintText(text, *font_, lines.mask.size()));
    }

    static QualityScores scoresOf(const VectorSet& vectors, const RenderSettings& settings) {
        NoProgress quiet;
        RandomGenerator random;
        std::vector<PlacedCharacter> text;
        std::string error;
        EXPECT_TRUE(layOutText(renderText(vectors, settings, random, quiet)->text, text, error))
            << error;
        return scoresOf(vectors, text);
    }

    static inline QGuiApplication* app_ = nullptr;
    static inline QFont* font_ = nullptr;
};

std::unique_ptr<VectorSet> drawingOf(std::initializer_list<std::pair<Point, Point>> segments) {
    auto vectors = std::make_unique<VectorSet>();
    int slot = 0;
    for (const auto& [a, b] : segments) {
        VectorLine& line = vectors->lines[slot++];
        line.count = 2;
        line.points[0] = a;
        line.points[1] = b;
    }
    return vectors;
}

// "｜" (0x8162) at pen 20 of the row at 17 sets one column of ink, column 27, rows 17 to 32;
// "―" (0x815C) sets one row, row 24 of that row.
TEST_F(Quality, KnownAnswers) {
    struct Case {
        const char* what;
        std::unique_ptr<VectorSet> drawing;
        std::vector<PlacedCharacter> text;
        double recall;
        double precision;
        double orientedRecall;
    };
    const PlacedCharacter bar{0x8162, 20, 17};
    Case cases[] = {
        {"a line exactly under the stroke", drawingOf({{{27, 18}, {27, 31}}}), {bar}, 100, -1, 100},
        {"two pixels beside it", drawingOf({{{29, 18}, {29, 31}}}), {bar}, 100, -1, 100},
        {"three pixels beside it", drawingOf({{{30, 17}, {30, 32}}}), {bar}, 0, 0, 0},
        {"nothing written", drawingOf({{{30, 17}, {30, 32}}}), {}, 0, 0, 0},
        {"a crossing line: near but across", drawingOf({{{10, 24}, {44, 24}}}), {bar}, -1, -1, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QualityScores s = scoresOf(*c.drawing, c.text);
        if (c.recall >= 0) {
            EXPECT_DOUBLE_EQ(s.recall, c.recall);
        }
        if (c.precision >= 0) {
            EXPECT_DOUBLE_EQ(s.precision, c.precision);
        }
        EXPECT_DOUBLE_EQ(s.orientedRecall, c.orientedRecall);
        EXPECT_GE(s.recall, s.orientedRecall);
        EXPECT_GE(s.precision, s.orientedPrecision);
    }
    // The horizontal stroke's row, found from the font: a line along it is covered and agrees.
    const QualityScores along = scoresOf(*drawingOf({{{22, 24}, {34, 24}}}),
                                         std::vector<PlacedCharacter>{{0x815C, 20, 17}});
    EXPECT_DOUBLE_EQ(along.recall, 100);
    EXPECT_DOUBLE_EQ(along.orientedRecall, 100);
}

TEST_F(Quality, FineModeNeverScoresBelowTheDefaultOnTheDrawingSet) {
    int drawings = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PENMOJI_QUALITY_DRAWINGS)) {
        auto vectors = std::make_unique<VectorSet>();
        ASSERT_TRUE(loadVectorFile(entry.path(), *vectors).ok()) << entry.path();
        ++drawings;
        for (const bool textOnly : {false, true}) {
            SCOPED_TRACE(entry.path().filename().string() + (textOnly ? " text-only" : ""));
            RenderSettings settings;
            settings.noEntities = textOnly;
            const QualityScores plain = scoresOf(*vectors, settings);
            settings.fine = true;
            const QualityScores fine = scoresOf(*vectors, settings);
            EXPECT_GT(fine.f, plain.f);
            EXPECT_GT(fine.orientedF, plain.orientedF);
        }
    }
    EXPECT_GE(drawings, 10);
}

}  // namespace
}  // namespace penmoji
