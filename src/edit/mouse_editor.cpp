// SPDX-License-Identifier: MIT
#include "edit/mouse_editor.h"

#include <cstdint>

#include "render/segment_geometry.h"

namespace penmoji {
namespace {

struct PointHit {
    int slot;
    int index;
};

// The 11 x 11 pixel square around a point, borders excluded.
bool withinReach(Point p, Point mouse) {
    const std::int64_t dx = std::int64_t{mouse.x} - p.x;
    const std::int64_t dy = std::int64_t{mouse.y} - p.y;
    return dx > -6 && dx < 6 && dy > -6 && dy < 6;
}

std::optional<int> pointWithinReach(const VectorLine& line, Point mouse) {
    for (int i = 0; i < line.count; ++i) {
        if (withinReach(line.points[i], mouse)) {
            return i;
        }
    }
    return std::nullopt;
}

// The selected vector's points are tried first, so that of two points close together the one
// the user is working on wins; otherwise the lowest slot and point.
std::optional<PointHit> pickPoint(const VectorSet& vectors, int selected, Point mouse) {
    if (selected >= 0) {
        if (const auto i = pointWithinReach(vectors.lines[selected], mouse)) {
            return PointHit{selected, *i};
        }
    }
    for (int s = 0; s < kSlotCount; ++s) {
        if (const auto i = pointWithinReach(vectors.lines[s], mouse)) {
            return PointHit{s, *i};
        }
    }
    return std::nullopt;
}

FloatPoint toFloat(Point p) {
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

// A press hits a segment that crosses a small plus centred on it: two 8-pixel arms.
std::optional<int> pickLine(const VectorSet& vectors, Point mouse) {
    const float mx = static_cast<float>(mouse.x);
    const float my = static_cast<float>(mouse.y);
    const FloatPoint left{mx - 4.0f, my}, right{mx + 4.0f, my};
    const FloatPoint top{mx, my - 4.0f}, bottom{mx, my + 4.0f};
    for (int s = 0; s < kSlotCount; ++s) {
        const VectorLine& line = vectors.lines[s];
        for (int j = 0; j + 1 < line.count; ++j) {
            const FloatPoint a = toFloat(line.points[j]);
            const FloatPoint b = toFloat(line.points[j + 1]);
            if (segmentsIntersect(left, right, a, b) || segmentsIntersect(top, bottom, a, b)) {
                return s;
            }
        }
    }
    return std::nullopt;
}

Point offset(Point p, std::int32_t dx, std::int32_t dy) {
    return {p.x + dx, p.y + dy};
}

}  // namespace

MouseEditor::MouseEditor(Document& document, const GridSettings& grid)
    : document_(document), grid_(grid) {
    document_.addObserver(this);
}

MouseEditor::~MouseEditor() {
    document_.removeObserver(this);
}

std::optional<Point> MouseEditor::floatingEnd() const {
    if (!drawing() || document_.line(drawIndex_).count >= kMaxPoints) {
        return std::nullopt;
    }
    return floating_;
}

void MouseEditor::newVector() {
    if (drawing()) {
        return;
    }
    selected_ = -1;
    const auto slot = document_.startVector();
    if (!slot) {
        return;
    }
    drawIndex_ = *slot;
    selected_ = *slot;
    beginGesture(Gesture::DrawVector);
}

bool MouseEditor::leftPress(Point at, bool shift) {
    if (drawing()) {
        drawAt(at);
    } else if (dragging()) {
        return false;
    } else if (shift) {
        shiftPressWhileIdle(at);
    } else {
        pressWhileIdle(at);
    }
    return true;
}

void MouseEditor::drawAt(Point at) {
    const Point p = snapToGrid(at, grid_);
    editing_ = true;
    if (document_.appendPoint(drawIndex_, p)) {
        floating_ = p;
    }
    editing_ = false;
}

void MouseEditor::pressWhileIdle(Point at) {
    if (const auto hit = pickPoint(document_.vectors(), selected_, at)) {
        selected_ = hit->slot;
        dragIndex_ = hit->slot;
        dragPoint_ = hit->index;
        beginGesture(Gesture::MovePoint);
        return;
    }
    selected_ = pickLine(document_.vectors(), at).value_or(-1);
}

void MouseEditor::shiftPressWhileIdle(Point at) {
    selected_ = -1;
    const auto slot = pickLine(document_.vectors(), at);
    if (!slot) {
        return;
    }
    const VectorLine& line = document_.line(*slot);
    selected_ = *slot;
    dragIndex_ = *slot;
    dragPoint_ = -1;
    dragStart_ = at;
    dragOrigin_.assign(line.points.begin(), line.points.begin() + line.count);
    beginGesture(Gesture::MoveVector);
}

bool MouseEditor::mouseMove(Point at) {
    if (!drawing() && !dragging()) {
        return false;
    }
    if (drawing()) {
        floating_ = snapToGrid(at, grid_);
    }
    if (dragging()) {
        moveTo(at);
    }
    return true;
}

void MouseEditor::moveTo(Point at) {
    editing_ = true;
    if (dragPoint_ >= 0) {
        document_.setPoint(dragIndex_, dragPoint_, snapToGrid(at, grid_));
    } else {
        const std::int32_t dx = at.x - dragStart_.x;
        const std::int32_t dy = at.y - dragStart_.y;
        std::vector<Point> moved(dragOrigin_.size());
        for (std::size_t i = 0; i < moved.size(); ++i) {
            moved[i] = snapToGrid(offset(dragOrigin_[i], dx, dy), grid_);
        }
        document_.setVector(dragIndex_, moved);
    }
    editing_ = false;
}

bool MouseEditor::rightPress() {
    if (!drawing()) {
        return false;
    }
    endDrawing();
    return true;
}

bool MouseEditor::removeLastPoint() {
    if (!drawing()) {
        return false;
    }
    editing_ = true;
    const bool removed = document_.removeLastPoint(drawIndex_);
    editing_ = false;
    return removed;
}

bool MouseEditor::leftRelease() {
    if (!dragging()) {
        return false;
    }
    endDragging();
    return true;
}

void MouseEditor::endDrawing() {
    drawIndex_ = -1;
    endGesture(Gesture::DrawVector);
}

void MouseEditor::endDragging() {
    const Gesture gesture = dragPoint_ >= 0 ? Gesture::MovePoint : Gesture::MoveVector;
    dragIndex_ = -1;
    dragPoint_ = -1;
    dragOrigin_.clear();
    endGesture(gesture);
}

void MouseEditor::beginGesture(Gesture gesture) {
    if (gestureObserver_ != nullptr) {
        gestureObserver_->gestureBegan(gesture);
    }
}

void MouseEditor::endGesture(Gesture gesture) {
    if (gestureObserver_ != nullptr) {
        gestureObserver_->gestureEnded(gesture);
    }
}

void MouseEditor::documentChanged(const DocumentChange& change) {
    if (editing_) {
        return;
    }
    // Any outside change to the vector under the pen ends the gesture: its points are no longer
    // the ones the gesture started from.
    if (drawing() && (change.wholeDocument() || change.slot == drawIndex_)) {
        endDrawing();
    }
    if (dragging() && (change.wholeDocument() || change.slot == dragIndex_)) {
        endDragging();
    }
    if (selected_ >= 0 && change.removes(selected_)) {
        selected_ = -1;
    }
}

}  // namespace penmoji
