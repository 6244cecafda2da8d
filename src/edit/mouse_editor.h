// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <vector>

#include "document/document.h"
#include "edit/grid_settings.h"

namespace penmoji {

// The user gestures the editor carries out, each from its first event to its last.
enum class Gesture {
    DrawVector,  // new vector ... right press
    MovePoint,   // left press on a point ... left release
    MoveVector,  // Shift + left press on a segment ... left release
};

// Told where each gesture begins and ends, so that its changes can be taken as one step.
class GestureObserver {
public:
    virtual ~GestureObserver() = default;
    virtual void gestureBegan(Gesture gesture) = 0;
    virtual void gestureEnded(Gesture gesture) = 0;
};

// The editing state over a document: drawing a new vector point by point, moving one point of a
// vector or a whole vector, and the selection. It changes the document only through its methods
// and knows nothing of widgets: the canvas forwards the mouse in canvas pixels and repaints when
// told.
//
//   Idle --new vector--> Drawing --right press--> Idle
//   Idle --left press on a point--> Moving a point --left release--> Idle
//   Idle --Shift + left press on a segment--> Moving a vector --left release--> Idle
//
// A document change made by anyone else that takes away the vector being drawn or moved (delete,
// initialise, open) ends the drawing or move, so no later event writes into what replaced it.
class MouseEditor final : public DocumentObserver {
public:
    MouseEditor(Document& document, const GridSettings& grid);
    ~MouseEditor() override;
    MouseEditor(const MouseEditor&) = delete;
    MouseEditor& operator=(const MouseEditor&) = delete;

    void setGestureObserver(GestureObserver* observer) { gestureObserver_ = observer; }

    // Clears the selection and starts drawing into the lowest free slot, which becomes the
    // selected vector. With every slot in use only the selection is cleared.
    void newVector();

    // Each returns whether the canvas has to be repainted.
    bool leftPress(Point at, bool shift);
    bool mouseMove(Point at);
    bool rightPress();
    bool leftRelease();
    // Takes back the last point of the vector being drawn, which goes on being drawn; the
    // floating end stays with the mouse. False when nothing is drawn or the vector is empty.
    bool removeLastPoint();

    bool drawing() const { return drawIndex_ >= 0; }
    bool dragging() const { return dragIndex_ >= 0; }
    int drawIndex() const { return drawIndex_; }
    int dragIndex() const { return dragIndex_; }
    // The point being moved; -1 while the whole vector moves.
    int dragPoint() const { return dragPoint_; }
    // While drawing or moving, every mouse event belongs to the canvas, wherever the mouse is.
    bool capturesMouse() const { return drawing() || dragging(); }
    // The selected slot (it may be free: a vector ended before its first point), or -1.
    int selectedSlot() const { return selected_; }
    // The end that follows the mouse while drawing; it is no part of the vector. Nothing once
    // the vector holds kMaxPoints points.
    std::optional<Point> floatingEnd() const;

    void documentChanged(const DocumentChange& change) override;

private:
    void drawAt(Point at);
    void pressWhileIdle(Point at);
    void shiftPressWhileIdle(Point at);
    void moveTo(Point at);
    void beginGesture(Gesture gesture);
    void endGesture(Gesture gesture);
    void endDrawing();
    void endDragging();

    Document& document_;
    const GridSettings& grid_;
    GestureObserver* gestureObserver_ = nullptr;
    // Set while the editor itself changes the document, whose reports it then ignores.
    bool editing_ = false;
    int selected_ = -1;
    int drawIndex_ = -1;
    Point floating_;
    int dragIndex_ = -1;
    int dragPoint_ = -1;
    // A whole-vector move: the mouse position it began at and the points as they were then.
    Point dragStart_;
    std::vector<Point> dragOrigin_;
};

}  // namespace penmoji
