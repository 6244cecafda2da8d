// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QPointF>
#include <QString>

namespace penmoji {

// The picture under a drawing and how it is placed, as it goes with the drawing.
struct TraceImageSettings {
    QString imagePath;  // absolute
    QPointF offset;
    double scale = 1.0;
    double opacity = 0.5;
    bool visible = true;
    bool operator==(const TraceImageSettings&) const = default;
};

// The picture under the drawing as the document and its undo history keep it: a null image
// when there is none.
struct TraceImageState {
    QImage image;
    TraceImageSettings settings;

    bool operator==(const TraceImageState& other) const {
        return settings == other.settings && image == other.image;
    }
};

}  // namespace penmoji
