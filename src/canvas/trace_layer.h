// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <utility>

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

class QPainter;

namespace penmoji {

// Where the picture to draw over (下絵) lies on the canvas: its top left in canvas pixels, its
// size as a factor of its own pixels, and how strongly it shows under the drawing.
struct TracePlacement {
    QPointF offset;
    double scale = 1.0;
    double opacity = 0.5;

    // A picture pixel's position on the canvas.
    QPointF toCanvas(QPointF picturePoint) const { return offset + picturePoint * scale; }
    bool operator==(const TracePlacement&) const = default;
};

// The picture under the drawing, painted at the canvas's zoom straight onto the screen, so
// that a zoomed picture keeps the detail it has beyond the canvas's pixels.
class TraceLayer {
public:
    // A null image takes the picture away.
    void setImage(const QImage& image, const TracePlacement& placement);
    void setPlacement(const TracePlacement& placement) { placement_ = placement; }
    // Smooth: an enlarged or reduced picture is interpolated; otherwise each of its pixels
    // becomes a sharp block, as for pixel art.
    void setSmooth(bool smooth) { smooth_ = smooth; }

    bool isEmpty() const { return image_.isNull(); }
    // The canvas pixels the picture covers, with a pixel around for smoothing; empty without one.
    QRect canvasRect() const;
    const QImage& image() const { return image_; }
    const TracePlacement& placement() const { return placement_; }
    bool smooth() const { return smooth_; }

    // A drag of the picture by the mouse, in canvas pixels: it follows the mouse from where the
    // drag began; the end gives the offsets before and after, or nothing when it did not move.
    void beginDrag(QPoint at);
    bool dragging() const { return drag_.has_value(); }
    void dragTo(QPoint at);
    std::optional<std::pair<QPointF, QPointF>> endDrag();

    // Paints the picture for a canvas whose origin is the painter's and whose pixels are
    // `zoom` screen pixels wide.
    void paint(QPainter& painter, int zoom) const;

private:
    QImage image_;
    TracePlacement placement_;
    bool smooth_ = true;
    // The mouse's canvas pixel and the picture's offset where the drag began.
    std::optional<std::pair<QPoint, QPointF>> drag_;
};

}  // namespace penmoji
