// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <QRegion>

#include "document/vector_set.h"

namespace penmoji {

// How the editing state marks the drawing: the highlighted vector, and the floating end that
// follows the mouse from the last point of the vector being drawn.
struct DrawingHighlight {
    int selectedSlot = -1;
    bool drawing = false;
    int drawSlot = -1;
    std::optional<Point> floatingEnd;

    friend bool operator==(const DrawingHighlight&, const DrawingHighlight&) = default;
};

// What the canvas last showed of the drawing, so that a change repaints only the area it
// alters: a large drawing takes far longer to paint whole than the few segments a moved point
// touches.
class DrawingDamage {
public:
    // Starts from an empty canvas.
    DrawingDamage();

    // The canvas pixels whose look differs between what was shown and `vectors` marked by
    // `highlight`, which become what is shown. Covers the point marks and the wide pen of the
    // highlighted vector.
    QRegion follow(const VectorSet& vectors, const DrawingHighlight& highlight);

private:
    // A copy, not a pointer to the document: the damage of a change lies where the old
    // points were as much as where the new ones are.
    VectorSet shown_;
    DrawingHighlight highlight_;
};

}  // namespace penmoji
