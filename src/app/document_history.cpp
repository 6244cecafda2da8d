// SPDX-License-Identifier: MIT
#include "app/document_history.h"

#include "app/edit_texts.h"
#include "canvas/document_model.h"

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

DocumentHistory::DocumentHistory(DocumentModel& model, QObject* parent)
    : QObject(parent), model_(model), before_(std::make_unique<VectorSet>(model.vectors())) {
    connect(&model_, &DocumentModel::changed, this, &DocumentHistory::documentChanged);
}

DocumentHistory::~DocumentHistory() = default;

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
        if (change.wholeDocument()) {
            *before_ = model_.vectors();
        } else {
            before_->lines[change.slot] = model_.vectors().lines[change.slot];
        }
        return;
    }
    if (change.wholeDocument()) {
        touchedAll_ = true;
    } else {
        touched_.insert(change.slot);
    }
    if (depth_ == 0) {
        name_ = QString::fromUtf8(changeName(change.kind));
        mergeId_ = DocumentStep::kNoMerge;
        startsRun_ = true;
        pushStep();
    }
}

void DocumentHistory::pushStep() {
    const VectorSet& now = model_.vectors();
    DocumentDelta delta;
    delta.wholeDocument = touchedAll_;
    auto record = [&](int slot) {
        const VectorLine& was = before_->lines[slot];
        const VectorLine& is = now.lines[slot];
        SlotDelta slotDelta = penmoji::slotDelta(slot, was, is);
        if (!slotDelta.edits.empty() || slotDelta.countBefore != slotDelta.countAfter) {
            delta.slotDeltas.push_back(std::move(slotDelta));
        }
        before_->lines[slot] = is;
    };
    if (touchedAll_) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            record(slot);
        }
    } else {
        for (int slot : touched_) {
            record(slot);
        }
    }
    touched_.clear();
    touchedAll_ = false;
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
            stack_.push(
                new DocumentStep(model_.document(), name_, std::move(delta), mergeId_, startsRun));
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
