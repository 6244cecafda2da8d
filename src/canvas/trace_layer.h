#pragma once

#include <QImage>
#include <QPointF>

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
};

// Paints the picture as placed; a null picture paints nothing.
void paintTraceImage(QPainter& painter, const QImage& image, const TracePlacement& placement);

// The picture as the grey levels tracing reads: transparent parts become white paper.
QImage greyForTracing(const QImage& image);

}  // namespace penmoji
