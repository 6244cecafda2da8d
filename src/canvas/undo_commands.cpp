// SPDX-License-Identifier: MIT
#include "canvas/undo_commands.h"

#include <algorithm>
#include <memory>

namespace penmoji {

std::size_t DocumentDelta::heapBytes() const {
    std::size_t bytes = slotDeltas.capacity() * sizeof(SlotDelta);
    for (const SlotDelta& slot : slotDeltas) {
        bytes += slot.edits.capacity() * sizeof(PointEdit);
    }
    return bytes;
}

SlotDelta slotDelta(int slot, const VectorLine& before, const VectorLine& after) {
    SlotDelta delta{slot, before.count, after.count, {}};
    const int shared = std::min(before.count, after.count);
    const int longest = std::max(before.count, after.count);
    for (int i = 0; i < longest; ++i) {
        const Point b = i < before.count ? before.points[i] : Point{};
        const Point a = i < after.count ? after.points[i] : Point{};
        if (i >= shared || b != a) {
            delta.edits.push_back({i, b, a});
        }
    }
    return delta;
}

namespace {

void mergeSlot(SlotDelta& earlier, const SlotDelta& later) {
    for (const PointEdit& edit : later.edits) {
        const auto found = std::find_if(earlier.edits.begin(), earlier.edits.end(),
                                        [&](const PointEdit& e) { return e.index == edit.index; });
        if (found != earlier.edits.end()) {
            found->after = edit.after;
        } else {
            earlier.edits.push_back(edit);
        }
    }
    earlier.countAfter = later.countAfter;
    const int shared = std::min(earlier.countBefore, earlier.countAfter);
    std::erase_if(earlier.edits,
                  [shared](const PointEdit& e) { return e.index < shared && e.before == e.after; });
    std::sort(earlier.edits.begin(), earlier.edits.end(),
              [](const PointEdit& x, const PointEdit& y) { return x.index < y.index; });
}

// The points of one side of a slot's delta laid over the slot as it is now.
void setSide(VectorLine& line, const SlotDelta& delta, bool forward) {
    for (const PointEdit& edit : delta.edits) {
        line.points[edit.index] = forward ? edit.after : edit.before;
    }
    line.count = forward ? delta.countAfter : delta.countBefore;
}

}  // namespace

void mergeDeltas(DocumentDelta& earlier, const DocumentDelta& later) {
    earlier.wholeDocument = earlier.wholeDocument || later.wholeDocument;
    for (const SlotDelta& slot : later.slotDeltas) {
        const auto found = std::find_if(earlier.slotDeltas.begin(), earlier.slotDeltas.end(),
                                        [&](const SlotDelta& s) { return s.slot == slot.slot; });
        if (found != earlier.slotDeltas.end()) {
            mergeSlot(*found, slot);
        } else {
            earlier.slotDeltas.push_back(slot);
        }
    }
}

void applyDelta(Document& document, const DocumentDelta& delta, bool forward) {
    if (delta.wholeDocument) {
        auto vectors = std::make_unique<VectorSet>(document.vectors());
        for (const SlotDelta& slot : delta.slotDeltas) {
            setSide(vectors->lines[slot.slot], slot, forward);
        }
        document.replaceAll(*vectors);
        return;
    }
    for (const SlotDelta& slot : delta.slotDeltas) {
        VectorLine line = document.line(slot.slot);
        setSide(line, slot, forward);
        document.setVector(slot.slot, std::span(line.points.data(), std::size_t(line.count)));
    }
}

DocumentStep::DocumentStep(Document& document, const QString& name, DocumentDelta delta,
                           int mergeId, bool startsRun)
    : QUndoCommand(name),
      document_(document),
      delta_(std::move(delta)),
      mergeId_(mergeId),
      startsRun_(startsRun) {}

void DocumentStep::undo() {
    applyDelta(document_, delta_, false);
    done_ = false;
}

void DocumentStep::redo() {
    if (!done_) {
        applyDelta(document_, delta_, true);
        done_ = true;
    }
}

bool DocumentStep::mergeWith(const QUndoCommand* other) {
    const auto* later = static_cast<const DocumentStep*>(other);
    // Only a run on the same vector: another vector's nudges are a step of their own.
    if (later->startsRun_ || later->delta_.slotDeltas.size() != 1 ||
        delta_.slotDeltas.size() != 1 ||
        later->delta_.slotDeltas.front().slot != delta_.slotDeltas.front().slot) {
        return false;
    }
    mergeDeltas(delta_, later->delta_);
    return true;
}

}  // namespace penmoji
