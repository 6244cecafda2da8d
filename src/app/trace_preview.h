// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <vector>

#include <QImage>
#include <QRect>
#include <QWidget>

#include "canvas/text_art_layer.h"
#include "canvas/trace_layer.h"
#include "document/vector_set.h"

namespace penmoji {

// The tracing dialog's view of the picture's part of the canvas: the picture, veiled, the text
// art of the drawing with the traced lines under it, the traced lines in red over it, and the
// part chosen for tracing. A drag over it chooses that part; a click without a drag chooses
// the whole picture again.
class TracePreview final : public QWidget {
    Q_OBJECT
public:
    TracePreview(const QImage& picture, const TracePlacement& placement, QWidget* parent = nullptr);

    // Lines and text art in canvas pixels; the part in picture pixels (null: the whole).
    void setLines(std::vector<std::vector<Point>> lines);
    void setTextArt(std::span<const PlacedGlyph> glyphs);
    void setRegion(const QRect& region);
    const QRect& region() const { return region_; }

    QSize sizeHint() const override;

signals:
    void regionChosen(const QRect& region);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // From the picture's pixels to the widget's, the picture fitted into it.
    QTransform pictureToWidget() const;
    QPoint picturePixelAt(QPointF widgetPoint) const;

    QImage picture_;
    TracePlacement placement_;
    std::vector<std::vector<Point>> lines_;
    TextArtLayer textArt_;
    QRect region_;
    std::optional<QPoint> dragStart_;
    QRect dragged_;
};

}  // namespace penmoji
