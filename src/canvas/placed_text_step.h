// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QString>
#include <QUndoCommand>

#include "document/placed_text.h"

namespace penmoji {

// One piece as a step found it and left it: none before for a piece the step added, none after
// for one it removed.
struct PieceEdit {
    int index = 0;
    std::optional<PlacedPiece> before;
    std::optional<PlacedPiece> after;
};

// Puts the edits into `text`, in order going forward and in reverse order going back, so that
// the indices each edit holds are those of the text as it stood at that edit.
void applyPieceEdits(PlacedText& text, const std::vector<PieceEdit>& edits, bool forward);

// The edits that turn `before` into `after` as a whole: every old piece removed, every new one
// added, for a step that replaces the drawing.
std::vector<PieceEdit> wholeTextEdits(const PlacedText& before, const PlacedText& after);

// One undo step over the placed text, kept beside the drawing's own steps in the same history.
// It is pushed after its change was made, so its first redo does nothing. A nudge that does not
// start a run merges into the nudge of the same piece before it.
class PlacedTextStep final : public QUndoCommand {
public:
    // Applies the edits to the document's text and tells it of the change.
    using Apply = std::function<void(const std::vector<PieceEdit>&, bool forward)>;

    PlacedTextStep(Apply apply, std::vector<PieceEdit> edits, const QString& name, int mergeId,
                   bool startsRun);

    void undo() override;
    void redo() override;
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    Apply apply_;
    std::vector<PieceEdit> edits_;
    int mergeId_;
    bool startsRun_;
    bool done_ = true;
};

}  // namespace penmoji
