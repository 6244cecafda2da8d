// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <QString>
#include <QUndoCommand>

#include "document/document.h"

namespace penmoji {

// One point of a slot as a step found it and left it. A point beyond the slot's count on one
// side is there only for the other side.
struct PointEdit {
    int index;
    Point before;
    Point after;
};

// What a step did to one slot: its count before and after and the points that differ, never
// the points it left alone. A point move costs one edit, however long its vector.
struct SlotDelta {
    int slot;
    int countBefore;
    int countAfter;
    std::vector<PointEdit> edits;
};

// What a step did to the document, slot by slot. A step that replaced the whole drawing (open,
// initialise) is put back in one piece, so that observers see one change as they did then.
struct DocumentDelta {
    std::vector<SlotDelta> slotDeltas;
    bool wholeDocument = false;

    bool empty() const { return slotDeltas.empty(); }
    // The heap bytes the delta holds, for the memory figures.
    std::size_t heapBytes() const;
};

// The difference between two states of a slot, given by their points.
SlotDelta slotDelta(int slot, const VectorLine& before, const VectorLine& after);
// Folds a later step on the same slots into an earlier one: the earlier befores, the later
// afters; points that end where they began drop out.
void mergeDeltas(DocumentDelta& earlier, const DocumentDelta& later);

// Puts the document into the state before or after the delta, through its own methods.
void applyDelta(Document& document, const DocumentDelta& delta, bool forward);

// One undo step over the document. It is pushed after its change was made, so its first redo
// does nothing. Steps with the same merge id merge (a run of nudges of one vector).
class DocumentStep final : public QUndoCommand {
public:
    static constexpr int kNoMerge = -1;

    // A step that `startsRun` takes no step before it in, even one with its merge id.
    DocumentStep(Document& document, const QString& name, DocumentDelta delta,
                 int mergeId = kNoMerge, bool startsRun = true);

    void undo() override;
    void redo() override;
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override;

    const DocumentDelta& delta() const { return delta_; }

private:
    Document& document_;
    DocumentDelta delta_;
    int mergeId_;
    bool startsRun_;
    bool done_ = true;
};

}  // namespace penmoji
