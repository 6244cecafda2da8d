#pragma once

#include "edit/grid_settings.h"
#include "document/vector_set.h"

namespace penmoji {

// The canvas's editing state: drawing a new vector point by point, moving one point of a vector
// or a whole vector. It works on the document directly and knows nothing of widgets, so the
// canvas only forwards the mouse in client pixels and repaints when told.
//
//   Idle --new vector--> Drawing --right press--> Idle
//   Idle --left press on a point--> Moving a point --left release--> Idle
//   Idle --Shift + left press on a segment--> Moving a vector --left release--> Idle
class MouseEditor {
public:
    MouseEditor(VectorSet& vectors, const GridSettings& grid) : vectors_(vectors), grid_(grid) {}

    // Clears the selection and starts drawing into the lowest free slot, which becomes the
    // selected vector. With every slot in use only the selection is cleared.
    void newVector();

    // Each returns whether the drawing changed and the canvas has to be repainted.
    bool leftPress(Point at, bool shift);
    bool mouseMove(Point at);
    bool rightPress();
    bool leftRelease();

    bool drawing() const { return drawing_; }
    bool dragging() const { return dragging_; }
    int drawIndex() const { return drawIndex_; }
    int dragIndex() const { return dragIndex_; }
    // The point being moved; -1 while the whole vector moves.
    int dragPoint() const { return dragPoint_; }
    // While drawing or moving, every mouse event belongs to the canvas, wherever the mouse is.
    bool capturesMouse() const { return drawing_ || dragging_; }

private:
    void drawAt(Point at);
    void pressWhileIdle(Point at);
    void shiftPressWhileIdle(Point at);
    void moveTo(Point at);
    void clearSelection();

    VectorSet& vectors_;
    const GridSettings& grid_;
    bool drawing_ = false;
    bool dragging_ = false;
    int drawIndex_ = -1;
    int dragIndex_ = -1;
    int dragPoint_ = -1;
    // The vector's point count when the move began: savedPoints holds that many.
    int dragCount_ = 0;
    Point dragStart_;
};

}  // namespace penmoji
