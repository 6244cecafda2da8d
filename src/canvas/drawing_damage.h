// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <QRegion>

#include "document/document.h"

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

// What the canvas has to repaint of the drawing, so that a change repaints only the area it
// alters: a large drawing takes far longer to paint whole than the few segments a moved point
// touches. A change of the drawing tells where its points were, so no copy is kept here.
class DrawingDamage {
public:
    DrawingDamage();

    // Notes the area a change of the drawing alters: where the changed points and the segments
    // beside them were and are now, marks and pens included.
    void changed(const DocumentChange& change, const VectorSet& now);
    // The canvas pixels to repaint since the last call: what the changes altered, and what
    // looks different now that `highlight` marks the drawing, which becomes the highlight shown.
    QRegion follow(const VectorSet& vectors, const DrawingHighlight& highlight);

private:
    void slotChanged(int slot, const VectorLine& was, const VectorLine& now);

    QRegion pending_;
    DrawingHighlight highlight_;
};

}  // namespace penmoji
