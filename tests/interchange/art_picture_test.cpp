// SPDX-License-Identifier: MIT
#include "interchange/art_picture.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <memory>

#include "interchange/art_font.h"

namespace penmoji {
namespace {

// The box of the pixels darker than mid grey (and opaque), or an empty box.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 128 && qGray(pixel) < 128) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// A vertical bar: in the first row after an en space, in the second after a no-break space
// and a thin space; each row starts with the full-width space boards need.
const std::string kText = "\x81\x40&ensp;|\r\n\x81\x40&nbsp;&thinsp;|\r\n";

TEST(ArtPictureTest, EachCharacterStandsAtItsCell) {
    const int bar = QFontMetrics(artFont()).horizontalAdvance(QLatin1Char('|'));
    struct Case {
        int pitch;
        int rowOffset;  // the row's 16 pixels start this far into its pitch
    };
    for (const Case c : {Case{18, 1}, Case{16, 0}}) {
        ArtPictureOptions options;
        options.linePitch = c.pitch;
        const QImage picture = paintArtPicture(kText, options);
        EXPECT_EQ(picture.height(), 2 * c.pitch);
        const QRect first = inkBox(picture.copy(0, 0, picture.width(), c.pitch));
        const QRect second = inkBox(picture.copy(0, c.pitch, picture.width(), c.pitch));
        ASSERT_FALSE(first.isEmpty());
        ASSERT_FALSE(second.isEmpty());
        EXPECT_GE(first.left(), 8);
        EXPECT_LT(first.right(), 8 + bar);
        EXPECT_GE(second.left(), 7);
        EXPECT_LT(second.right(), 7 + bar);
        // The same glyph in both rows, one pitch apart, inside the row's 16 pixels.
        EXPECT_EQ(second.translated(1, 0), first);
        EXPECT_GE(first.top(), c.rowOffset);
        EXPECT_LT(first.bottom(), c.rowOffset + 16);
        EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    }
}

TEST(ArtPictureTest, TransparencyScaleAndTheDrawingUnderneath) {
    ArtPictureOptions plain;
    const QImage one = paintArtPicture(kText, plain);

    ArtPictureOptions doubled;
    doubled.scale = 2;
    doubled.transparent = true;
    const QImage two = paintArtPicture(kText, doubled);
    ASSERT_EQ(two.size(), one.size() * 2);
    EXPECT_EQ(qAlpha(two.pixel(0, 0)), 0);
    const QRect ink = inkBox(one);
    EXPECT_EQ(inkBox(two), QRect(ink.topLeft() * 2, ink.size() * 2));

    // A line along y = 20 of the drawing is in its second row, 4 pixels down: one pitch and
    // the row's offset further down in the picture.
    auto drawing = std::make_unique<VectorSet>();
    drawing->lines[0] = {2, {{{0, 20}, {5, 20}}}};
    ArtPictureOptions underlay;
    underlay.drawing = drawing.get();
    const QImage faint = paintArtPicture(kText, underlay);
    EXPECT_EQ(qGray(faint.pixel(2, 18 + 1 + 4)), qGray(qRgb(190, 205, 255)));
    EXPECT_EQ(faint.pixel(2, 20), qRgb(255, 255, 255));
}

// A picture that cannot be painted whole is refused with its true size, never painted without
// the drawing that was asked for underneath.
TEST(ArtPictureTest, APictureTooLargeToPaintIsRefusedWithItsSize) {
    struct Case {
        const char* name;
        Point farthest;  // of the drawing underneath
        int scale;
        const char* refusal;
    };
    const Case cases[] = {
        {"too wide", {40000, 5}, 1,
         "too large: the picture would be 40001 × 36 pixels with the drawing underneath, more "
         "than 32767 pixels a side"},
        {"too wide once doubled", {20000, 5}, 2,
         "too large: the picture would be 40002 × 72 pixels with the drawing underneath, more "
         "than 32767 pixels a side"},
        {"too much memory", {12000, 12000}, 1,
         "too large: the picture would be 12001 × 13518 pixels with the drawing underneath, "
         "1168 MB to paint, more than 1024 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto drawing = std::make_unique<VectorSet>();
        drawing->lines[0] = {2, {{{0, 0}, c.farthest}}};
        ArtPictureOptions options;
        options.drawing = drawing.get();
        options.scale = c.scale;
        const PaintedArt painted = paintArt(kText, options);
        EXPECT_TRUE(painted.image.isNull());
        EXPECT_EQ(painted.refusal, c.refusal);
    }
}

}  // namespace
}  // namespace penmoji
