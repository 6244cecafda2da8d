// SPDX-License-Identifier: MIT
#include "canvas/drawing_damage.h"

#include <algorithm>
#include <utility>

namespace penmoji {
namespace {

// Half the size of a point mark, plus the width of the highlight pen and a pixel to spare.
constexpr int kReach = 4 + 2 + 1;
// Coordinates reach some two billion; no widget does, so the damage stops well short of where
// a rectangle's arithmetic would overflow.
constexpr int kFar = 1 << 24;

QPoint toQPoint(Point p) {
    return {std::clamp(p.x, -kFar, kFar), std::clamp(p.y, -kFar, kFar)};
}

// The bounding box of some points, grown as they are added.
class Bounds {
public:
    void add(Point p) {
        const QRect pixel(toQPoint(p), QSize(1, 1));
        rect_ = rect_.isNull() ? pixel : rect_.united(pixel);
    }
    void addTo(QRegion& region) const {
        if (!rect_.isNull()) {
            region += rect_.adjusted(-kReach, -kReach, kReach, kReach);
        }
    }

private:
    QRect rect_;
};

enum class Look { Plain, Selected, SelectedWhileDrawing };

Look lookOf(int slot, const DrawingHighlight& highlight) {
    if (slot != highlight.selectedSlot) {
        return Look::Plain;
    }
    return highlight.drawing ? Look::SelectedWhileDrawing : Look::Selected;
}

std::optional<Point> floatingEndOf(int slot, const DrawingHighlight& highlight) {
    return slot == highlight.drawSlot ? highlight.floatingEnd : std::nullopt;
}

void addWhole(Bounds& bounds, const VectorLine& line) {
    for (int i = 0; i < line.count; ++i) {
        bounds.add(line.points[i]);
    }
}

// Adds the points of `line` from index `first` to `last` (inclusive) that it has.
void addPoints(Bounds& bounds, const VectorLine& line, int first, int last) {
    for (int i = std::max(first, 0); i <= last && i < line.count; ++i) {
        bounds.add(line.points[i]);
    }
}

void addFloatingSegment(Bounds& bounds, const VectorLine& line, std::optional<Point> end) {
    if (end && line.count > 0) {
        bounds.add(line.points[line.count - 1]);
        bounds.add(*end);
    }
}

}  // namespace

DrawingDamage::DrawingDamage() = default;

void DrawingDamage::slotChanged(int slot, const VectorLine& was, const VectorLine& now) {
    Bounds before, after;
    // A point that changed, came or went takes the segments on either side with it.
    const int count = std::max(was.count, now.count);
    for (int i = 0; i < count; ++i) {
        if (i >= was.count || i >= now.count || was.points[i] != now.points[i]) {
            addPoints(before, was, i - 1, i + 1);
            addPoints(after, now, i - 1, i + 1);
        }
    }
    const std::optional<Point> end = floatingEndOf(slot, highlight_);
    addFloatingSegment(before, was, end);
    addFloatingSegment(after, now, end);
    before.addTo(pending_);
    after.addTo(pending_);
}

void DrawingDamage::changed(const DocumentChange& change, const VectorSet& now) {
    if (change.before != nullptr) {
        slotChanged(change.slot, *change.before, now.lines[change.slot]);
    } else if (change.beforeAll != nullptr) {
        for (int s = 0; s < kSlotCount; ++s) {
            const VectorLine& was = change.beforeAll->lines[s];
            const VectorLine& is = now.lines[s];
            if (was.count != 0 || is.count != 0) {
                slotChanged(s, was, is);
            }
        }
    }
}

QRegion DrawingDamage::follow(const VectorSet& vectors, const DrawingHighlight& highlight) {
    QRegion damage = std::exchange(pending_, {});
    if (highlight == highlight_) {
        return damage;
    }
    for (int s = 0; s < kSlotCount; ++s) {
        const VectorLine& line = vectors.lines[s];
        Bounds bounds;
        if (lookOf(s, highlight_) != lookOf(s, highlight)) {
            addWhole(bounds, line);
        }
        const std::optional<Point> shownEnd = floatingEndOf(s, highlight_);
        const std::optional<Point> nowEnd = floatingEndOf(s, highlight);
        if (shownEnd != nowEnd) {
            addFloatingSegment(bounds, line, shownEnd);
            addFloatingSegment(bounds, line, nowEnd);
        }
        bounds.addTo(damage);
    }
    highlight_ = highlight;
    return damage;
}

}  // namespace penmoji
