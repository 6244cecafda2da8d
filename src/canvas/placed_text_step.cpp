// SPDX-License-Identifier: MIT
#include "canvas/placed_text_step.h"

#include <utility>

namespace penmoji {
namespace {

void applyEdit(PlacedText& text, int index, const std::optional<PlacedPiece>& was,
               const std::optional<PlacedPiece>& becomes) {
    const auto at = text.begin() + index;
    if (was && becomes) {
        *at = *becomes;
    } else if (was) {
        text.erase(at);
    } else if (becomes) {
        text.insert(at, *becomes);
    }
}

}  // namespace

void applyPieceEdits(PlacedText& text, const std::vector<PieceEdit>& edits, bool forward) {
    if (forward) {
        for (const PieceEdit& edit : edits) {
            applyEdit(text, edit.index, edit.before, edit.after);
        }
    } else {
        for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
            applyEdit(text, edit->index, edit->after, edit->before);
        }
    }
}

std::vector<PieceEdit> wholeTextEdits(const PlacedText& before, const PlacedText& after) {
    std::vector<PieceEdit> edits;
    // Removed from the last, so that each index is still the piece's own.
    for (int i = static_cast<int>(before.size()) - 1; i >= 0; --i) {
        edits.push_back({i, before[static_cast<std::size_t>(i)], std::nullopt});
    }
    for (std::size_t i = 0; i < after.size(); ++i) {
        edits.push_back({static_cast<int>(i), std::nullopt, after[i]});
    }
    return edits;
}

PlacedTextStep::PlacedTextStep(Apply apply, std::vector<PieceEdit> edits, const QString& name,
                               int mergeId, bool startsRun)
    : QUndoCommand(name),
      apply_(std::move(apply)),
      edits_(std::move(edits)),
      mergeId_(mergeId),
      startsRun_(startsRun) {}

void PlacedTextStep::undo() {
    apply_(edits_, false);
    done_ = false;
}

void PlacedTextStep::redo() {
    if (!std::exchange(done_, true)) {
        apply_(edits_, true);
    }
}

bool PlacedTextStep::mergeWith(const QUndoCommand* other) {
    const auto* later = static_cast<const PlacedTextStep*>(other);
    if (later->startsRun_ || edits_.size() != 1 || later->edits_.size() != 1 ||
        edits_[0].index != later->edits_[0].index) {
        return false;
    }
    edits_[0].after = later->edits_[0].after;
    return true;
}

}  // namespace penmoji
