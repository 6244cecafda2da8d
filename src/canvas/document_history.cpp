// SPDX-License-Identifier: MIT
#include "canvas/document_history.h"

#include "canvas/document_texts.h"

namespace penmoji {
namespace {

// The name of a change made outside any step.
const char* changeName(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::VectorDeleted:
            return text::kStepDelete;
        case ChangeKind::Cleared:
            return text::kStepInitialise;
        case ChangeKind::Replaced:
            return text::kStepOpen;
        default:
            return text::kStepEdit;
    }
}

}  // namespace

DocumentHistory::DocumentHistory(Document& document, QObject* parent)
    : QObject(parent), document_(document) {
    document_.addObserver(this);
}

DocumentHistory::~DocumentHistory() {
    document_.removeObserver(this);
}

void DocumentHistory::beginStep(const QString& name, int mergeId, bool startsRun) {
    if (depth_++ == 0) {
        name_ = name;
        mergeId_ = mergeId;
        startsRun_ = startsRun;
    }
}

void DocumentHistory::endStep() {
    if (depth_ == 0) {
        return;
    }
    if (--depth_ == 0) {
        pushStep();
    }
}

void DocumentHistory::documentChanged(const DocumentChange& change) {
    if (applying_) {
        return;
    }
    if (change.wholeDocument()) {
        if (!wholeBefore_ && change.beforeAll != nullptr) {
            // Slots changed earlier in the step were as the step found them in its own record.
            wholeBefore_ = std::make_unique<VectorSet>(*change.beforeAll);
            for (const auto& [slot, line] : touchedBefore_) {
                wholeBefore_->lines[slot] = line;
            }
            touchedBefore_.clear();
        }
    } else if (!wholeBefore_ && change.before != nullptr) {
        touchedBefore_.try_emplace(change.slot, *change.before);
    }
    if (depth_ == 0) {
        name_ = QString::fromUtf8(changeName(change.kind));
        mergeId_ = DocumentStep::kNoMerge;
        startsRun_ = true;
        pushStep();
    }
}

void DocumentHistory::pushStep() {
    const VectorSet& now = document_.vectors();
    DocumentDelta delta;
    delta.wholeDocument = wholeBefore_ != nullptr;
    auto record = [&](int slot, const VectorLine& was) {
        SlotDelta slotDelta = penmoji::slotDelta(slot, was, now.lines[slot]);
        if (!slotDelta.edits.empty() || slotDelta.countBefore != slotDelta.countAfter) {
            delta.slotDeltas.push_back(std::move(slotDelta));
        }
    };
    if (wholeBefore_) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            record(slot, wholeBefore_->lines[slot]);
        }
    } else {
        for (const auto& [slot, was] : touchedBefore_) {
            record(slot, was);
        }
    }
    touchedBefore_.clear();
    wholeBefore_.reset();
    std::vector<std::unique_ptr<QUndoCommand>> sideSteps = std::move(sideSteps_);
    sideSteps_.clear();
    if (delta.empty() && sideSteps.empty()) {
        return;
    }
    // A merge into the saved state would leave the mark of a saved drawing on a changed one.
    const bool startsRun = startsRun_ || stack_.index() == stack_.cleanIndex();
    apply([&] {
        // With side steps the whole is one macro, undone and redone as one.
        if (!sideSteps.empty()) {
            stack_.beginMacro(name_);
        }
        if (!delta.empty()) {
            stack_.push(new DocumentStep(document_, name_, std::move(delta), mergeId_, startsRun));
        }
        for (std::unique_ptr<QUndoCommand>& side : sideSteps) {
            stack_.push(side.release());
        }
        if (!sideSteps.empty()) {
            stack_.endMacro();
        }
    });
}

void DocumentHistory::pushSideStep(QUndoCommand* step) {
    if (depth_ > 0) {
        sideSteps_.emplace_back(step);
        return;
    }
    apply([this, step] { stack_.push(step); });
}

template <typename Change>
void DocumentHistory::apply(Change change) {
    applying_ = true;
    change();
    applying_ = false;
}

void DocumentHistory::undo() {
    if (depth_ == 0) {
        apply([this] { stack_.undo(); });
    }
}

void DocumentHistory::redo() {
    if (depth_ == 0) {
        apply([this] { stack_.redo(); });
    }
}

}  // namespace penmoji
