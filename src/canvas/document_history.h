// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QUndoStack>

#include "canvas/undo_commands.h"

namespace penmoji {

// The undo history of the drawing. Every change to the document lands in a step: the changes
// between beginStep() and endStep() (a gesture, a command) make one, any other change is one
// on its own. A step keeps only the slots its changes touched, as each change reports them
// before and after; only the step being recorded holds the slots as they were.
class DocumentHistory final : public QObject, private DocumentObserver {
    Q_OBJECT
public:
    explicit DocumentHistory(Document& document, QObject* parent = nullptr);
    ~DocumentHistory() override;

    const QUndoStack& stack() const { return stack_; }
    // Take back or do again a whole step, through the document's methods.
    void undo();
    void redo();

    // Steps nest; the outermost names the step and ends it. A step that changed nothing leaves
    // no trace. With a merge id, a step that does not start a run merges into the one before it
    // when that has the same id and the history was not saved in between.
    void beginStep(const QString& name, int mergeId = DocumentStep::kNoMerge,
                   bool startsRun = true);
    void endStep();
    bool recording() const { return depth_ > 0; }
    // Adds a step of what is kept beside the document (the picture under the drawing) to the
    // same history; pushing runs its redo(). Inside a document step it joins that step.
    void pushSideStep(QUndoCommand* step);

    // Forgets every step: what the document holds now is where the history begins.
    void clearSteps() { stack_.clear(); }
    bool clean() const { return stack_.isClean(); }
    void setClean() { stack_.setClean(); }

private:
    void documentChanged(const DocumentChange& change) override;
    void pushStep();
    // Runs a change of the stack, whose reports to the history only bring its copy up to date.
    template <typename Change>
    void apply(Change change);

    Document& document_;
    QUndoStack stack_;
    // The slots the step being recorded changed, as they were before it; the whole drawing as
    // it was when the step replaced it whole (an open, an initialise).
    std::map<int, VectorLine> touchedBefore_;
    std::unique_ptr<VectorSet> wholeBefore_;
    int depth_ = 0;
    QString name_;
    int mergeId_ = DocumentStep::kNoMerge;
    bool startsRun_ = true;
    // Set while undo and redo change the document, whose reports then make no new step.
    bool applying_ = false;
    // Side steps made during the step being recorded.
    std::vector<std::unique_ptr<QUndoCommand>> sideSteps_;
};

}  // namespace penmoji
