// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <span>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRegion>

#include "compose/render_driver.h"

class QPainter;

namespace penmoji {

// The rendered characters as they will stand over the drawing, each at its cell's left edge
// and row top, in the 16-pixel font and a soft colour. Drawn into an image when the rendering
// changes, only the rows that changed when the picture keeps its place and size, so a repaint
// costs one blit and a new rendering of a small edit costs a row or two.
class TextArtLayer {
public:
    // Pictures larger than this on either side are cut at its edge.
    static constexpr int kMaxSide = 4096;

    // Returns the canvas area whose look changed.
    QRegion setGlyphs(std::span<const PlacedGlyph> glyphs);
    void paint(QPainter& painter) const;
    // Draws the characters in `ink` from now on, or in the soft colour for an invalid one;
    // returns the canvas area whose look changed.
    QRegion setInk(const QColor& ink);
    bool isEmpty() const { return image_.isNull(); }

private:
    using Rows = std::map<int, std::vector<PlacedGlyph>>;

    QRect canvasRect() const { return image_.isNull() ? QRect() : QRect(origin_, image_.size()); }
    void drawRow(QPainter& painter, int top, const std::vector<PlacedGlyph>& glyphs) const;
    // Draws the rows at `tops` again, each over a cleared band.
    void redraw(const std::vector<int>& tops);

    QImage image_;
    // Canvas position of the image's top left.
    QPoint origin_;
    Rows rows_;
    QColor ink_;
};

}  // namespace penmoji
