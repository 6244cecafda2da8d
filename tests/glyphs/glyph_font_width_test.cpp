// SPDX-License-Identifier: MIT
// The table's widths must agree with the 16-pixel bitmap font installed for development,
// which draws the output font's characters at the same advances with few exceptions.

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <map>

#include "render/glyph_table.h"

namespace penmoji {
namespace {

// Characters this font draws at another advance than the output font. The table keeps
// the output font's width; listing the font's value here makes a change of either show.
const std::map<int, int> kKnownFontWidths = {
    {0x00B0, 8},   // ｰ, 10 in the table
    {0x00A8, 8},   // ｨ, 7 in the table
    {0x826B, 11},  // Ｌ, 10 in the table
};

QString characterOf(int code, QStringDecoder& decoder) {
    QByteArray bytes;
    if (code > 0xFF) {
        bytes.append(static_cast<char>(code >> 8));
    }
    bytes.append(static_cast<char>(code & 0xFF));
    return decoder.decode(bytes);
}

TEST(GlyphFontWidth, EveryWidthMatchesTheFontExceptTheKnownDifferences) {
    int argc = 1;
    char name[] = "glyph_font_width_test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    const int id = QFontDatabase::addApplicationFont(QStringLiteral(PENMOJI_MONA_FONT));
    ASSERT_GE(id, 0) << "cannot load " << PENMOJI_MONA_FONT << " (run tools/install-deps.sh)";
    QFont font(QFontDatabase::applicationFontFamilies(id).value(0));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    const QFontMetrics metrics(font);
    QStringDecoder decoder("windows-31j");
    ASSERT_TRUE(decoder.isValid());

    for (const GlyphShape& glyph : glyphTable()) {
        const QString text = characterOf(glyph.code, decoder);
        SCOPED_TRACE(testing::Message() << std::hex << glyph.code << " " << text.toStdString());
        ASSERT_EQ(text.size(), 1);
        ASSERT_TRUE(metrics.inFont(text.front()));

        const int fontPixels = metrics.horizontalAdvance(text);
        const auto known = kKnownFontWidths.find(glyph.code);
        if (known != kKnownFontWidths.end()) {
            EXPECT_NE(glyph.width, fontPixels * 16);
            EXPECT_EQ(fontPixels, known->second);
        } else {
            EXPECT_EQ(glyph.width, fontPixels * 16);
        }
    }
}

}  // namespace
}  // namespace penmoji
