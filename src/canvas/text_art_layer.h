#pragma once

#include <span>

#include <QImage>
#include <QPoint>

#include "compose/render_driver.h"

class QPainter;

namespace penmoji {

// The rendered characters as they will stand over the drawing, each at its cell's left edge
// and row top, in the 16-pixel font and a soft colour. Drawn once into an image when the
// rendering changes, so a repaint costs one blit.
class TextArtLayer {
public:
    // Pictures larger than this on either side are cut at its edge.
    static constexpr int kMaxSide = 4096;

    void setGlyphs(std::span<const PlacedGlyph> glyphs);
    void paint(QPainter& painter) const;
    bool isEmpty() const { return image_.isNull(); }

private:
    QImage image_;
    // Canvas position of the image's top left.
    QPoint origin_;
};

}  // namespace penmoji
