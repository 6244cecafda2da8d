#include "edit/mouse_editor.h"

#include <cstdint>
#include <optional>

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
// the user is working on wins; otherwise the lowest slot and point. The first pass clears the
// selection as it goes.
std::optional<PointHit> pickPoint(VectorSet& vectors, Point mouse) {
    for (int s = 0; s < kSlotCount; ++s) {
        VectorLine& line = vectors.lines[s];
        if (line.count != 0 && line.selected) {
            line.selected = false;
            if (const auto i = pointWithinReach(line, mouse)) {
                return PointHit{s, *i};
            }
        }
    }
    for (int s = 0; s < kSlotCount; ++s) {
        const VectorLine& line = vectors.lines[s];
        if (line.count != 0 && !line.selected) {
            if (const auto i = pointWithinReach(line, mouse)) {
                return PointHit{s, *i};
            }
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

void MouseEditor::clearSelection() {
    for (VectorLine& line : vectors_.lines) {
        if (line.count != 0) {
            line.selected = false;
        }
    }
}

void MouseEditor::newVector() {
    clearSelection();
    const auto slot = vectors_.firstFree();
    if (!slot) {
        return;
    }
    drawIndex_ = *slot;
    vectors_.lines[*slot].selected = true;
    drawing_ = true;
}

bool MouseEditor::leftPress(Point at, bool shift) {
    if (drawing_) {
        drawAt(at);
    } else if (shift) {
        shiftPressWhileIdle(at);
    } else {
        pressWhileIdle(at);
    }
    return true;
}

void MouseEditor::drawAt(Point at) {
    VectorLine& line = vectors_.lines[drawIndex_];
    if (line.count >= kMaxPoints) {
        return;
    }
    const Point p = snapToGrid(at, grid_);
    line.points[line.count] = p;
    ++line.count;
    if (line.count < kMaxPoints) {
        line.points[line.count] = p;
    }
}

void MouseEditor::pressWhileIdle(Point at) {
    if (const auto hit = pickPoint(vectors_, at)) {
        vectors_.lines[hit->slot].selected = true;
        dragIndex_ = hit->slot;
        dragPoint_ = hit->index;
        dragCount_ = vectors_.lines[hit->slot].count;
        dragging_ = true;
        return;
    }
    clearSelection();
    if (const auto slot = pickLine(vectors_, at)) {
        vectors_.lines[*slot].selected = true;
    }
}

void MouseEditor::shiftPressWhileIdle(Point at) {
    clearSelection();
    const auto slot = pickLine(vectors_, at);
    if (!slot) {
        return;
    }
    VectorLine& line = vectors_.lines[*slot];
    line.selected = true;
    dragIndex_ = *slot;
    dragPoint_ = -1;
    dragCount_ = line.count;
    dragging_ = true;
    for (int i = 0; i < line.count; ++i) {
        line.savedPoints[i] = line.points[i];
    }
    dragStart_ = at;
}

bool MouseEditor::mouseMove(Point at) {
    if (!drawing_ && !dragging_) {
        return false;
    }
    if (drawing_) {
        VectorLine& line = vectors_.lines[drawIndex_];
        if (line.count < kMaxPoints) {
            line.points[line.count] = snapToGrid(at, grid_);
        }
    }
    if (dragging_) {
        moveTo(at);
    }
    return true;
}

void MouseEditor::moveTo(Point at) {
    VectorLine& line = vectors_.lines[dragIndex_];
    // A document command reached by the keyboard in the middle of a move (delete, open) can
    // take the vector away; its saved points would then be written into whatever replaced it.
    if (line.count != dragCount_) {
        dragging_ = false;
        return;
    }
    if (dragPoint_ >= 0) {
        line.points[dragPoint_] = snapToGrid(at, grid_);
        return;
    }
    const std::int32_t dx = at.x - dragStart_.x;
    const std::int32_t dy = at.y - dragStart_.y;
    for (int i = 0; i < line.count; ++i) {
        line.points[i] = snapToGrid(offset(line.savedPoints[i], dx, dy), grid_);
    }
}

bool MouseEditor::rightPress() {
    if (!drawing_) {
        return false;
    }
    drawing_ = false;
    drawIndex_ = -1;
    return true;
}

bool MouseEditor::leftRelease() {
    if (!dragging_) {
        return false;
    }
    dragging_ = false;
    return true;
}

}  // namespace penmoji
