// SPDX-License-Identifier: MIT
#include "canvas/canvas_cursors.h"

#include <QBitmap>
#include <QImage>

namespace penmoji {
namespace {

constexpr int kCursorSize = 32;

// A shape given by its white pixels, outlined in black by every pixel that touches it.
class CursorPicture {
public:
    void setWhite(int x, int y) {
        if (x >= 0 && x < kCursorSize && y >= 0 && y < kCursorSize) {
            white_[y][x] = true;
        }
    }

    QCursor toCursor(int hotX, int hotY) const {
        // In a monochrome cursor a set bitmap bit is black and a set mask bit is opaque, so a
        // pixel in the mask alone shows white.
        QImage black(kCursorSize, kCursorSize, QImage::Format_MonoLSB);
        QImage mask(kCursorSize, kCursorSize, QImage::Format_MonoLSB);
        // Index 1 must be black: a bitmap takes black pixels as its set bits.
        const QList<QRgb> colours{qRgb(255, 255, 255), qRgb(0, 0, 0)};
        black.setColorTable(colours);
        mask.setColorTable(colours);
        black.fill(0);
        mask.fill(0);
        for (int y = 0; y < kCursorSize; ++y) {
            for (int x = 0; x < kCursorSize; ++x) {
                if (white_[y][x]) {
                    mask.setPixel(x, y, 1);
                } else if (touchesWhite(x, y)) {
                    mask.setPixel(x, y, 1);
                    black.setPixel(x, y, 1);
                }
            }
        }
        return QCursor(QBitmap::fromImage(black), QBitmap::fromImage(mask), hotX, hotY);
    }

private:
    bool touchesWhite(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && nx < kCursorSize && ny >= 0 && ny < kCursorSize && white_[ny][nx]) {
                    return true;
                }
            }
        }
        return false;
    }

    bool white_[kCursorSize][kCursorSize] = {};
};

}  // namespace

QCursor makeDrawCursor() {
    constexpr int cx = 6, cy = 5;
    CursorPicture picture;
    for (int d = -4; d <= 4; ++d) {
        picture.setWhite(cx + d, cy);
        picture.setWhite(cx, cy + d);
    }
    return picture.toCursor(cx, cy);
}

QCursor makeDragCursor() {
    constexpr int tipX = 16, tipY = 15;
    CursorPicture picture;
    // The needle runs down to the right from just behind the tip, which stays black so the
    // exact point shows.
    for (int t = 1; t <= 7; ++t) {
        picture.setWhite(tipX + t, tipY + t);
        picture.setWhite(tipX + t + 1, tipY + t);
    }
    constexpr int headX = tipX + 10, headY = tipY + 10, radius = 4;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if (dx * dx + dy * dy <= radius * radius + 1) {
                picture.setWhite(headX + dx, headY + dy);
            }
        }
    }
    return picture.toCursor(tipX, tipY);
}

}  // namespace penmoji
