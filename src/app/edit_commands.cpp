// SPDX-License-Identifier: MIT
#include "app/edit_commands.h"

#include <vector>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/document_history.h"
#include "app/edit_texts.h"
#include "canvas/edit_canvas.h"

namespace penmoji {
namespace {

// The merge id of the nudges of the arrow keys.
constexpr int kNudgeStep = 1;

struct Nudge {
    int id;
    int dx, dy;
    bool far;
};

constexpr Nudge kNudges[] = {
    {command::kNudgeLeft, -1, 0, false},   {command::kNudgeRight, 1, 0, false},
    {command::kNudgeUp, 0, -1, false},     {command::kNudgeDown, 0, 1, false},
    {command::kNudgeLeftFar, -1, 0, true}, {command::kNudgeRightFar, 1, 0, true},
    {command::kNudgeUpFar, 0, -1, true},   {command::kNudgeDownFar, 0, 1, true},
};

const Nudge* nudgeOf(int id) {
    for (const Nudge& nudge : kNudges) {
        if (nudge.id == id) {
            return &nudge;
        }
    }
    return nullptr;
}

}  // namespace

QString gestureStepName(Gesture gesture) {
    switch (gesture) {
        case Gesture::DrawVector:
            return QString::fromUtf8(text::kStepDraw);
        case Gesture::MovePoint:
            return QString::fromUtf8(text::kStepMovePoint);
        case Gesture::MoveVector:
            return QString::fromUtf8(text::kStepMoveVector);
    }
    return {};
}

EditCommands::EditCommands(AppState& state, CEditCanvas& canvas)
    : state_(state), history_(state.history), canvas_(canvas) {
    connect(&canvas_, &CEditCanvas::gestureStarted, this,
            [this](Gesture gesture) { history_.beginStep(gestureStepName(gesture)); });
    connect(&canvas_, &CEditCanvas::gestureFinished, this, [this] { history_.endStep(); });
}

bool EditCommands::handlesCommand(int id) const {
    switch (id) {
        case command::kEditUndo:
        case command::kEditRedo:
        case command::kEndVector:
        case command::kRemoveLastPoint:
            return true;
        default:
            return nudgeOf(id) != nullptr;
    }
}

CommandState EditCommands::commandState(int id) const {
    const MouseEditor& editor = canvas_.editor();
    const bool idle = !editor.drawing() && !editor.dragging();
    switch (id) {
        case command::kEditUndo:
            // While drawing, undo takes back the last point, or the vector when it has none.
            return {editor.drawing() || (idle && history_.stack().canUndo()), false};
        case command::kEditRedo:
            return {idle && history_.stack().canRedo(), false};
        case command::kEndVector:
        case command::kRemoveLastPoint:
            return {editor.drawing(), false};
        default: {
            const int slot = editor.selectedSlot();
            return {idle && slot >= 0 && state_.document.document().line(slot).count > 0, false};
        }
    }
}

void EditCommands::executeCommand(int id) {
    switch (id) {
        case command::kEditUndo:
            undo();
            break;
        case command::kEditRedo:
            history_.redo();
            break;
        case command::kEndVector:
            canvas_.endVector();
            break;
        case command::kRemoveLastPoint:
            canvas_.removeLastPoint();
            break;
        default:
            if (const Nudge* n = nudgeOf(id)) {
                const int step = n->far ? std::max(1, state_.grid.gridSize) : 1;
                nudge(n->dx * step, n->dy * step);
            }
            break;
    }
}

void EditCommands::undo() {
    const MouseEditor& editor = canvas_.editor();
    if (!editor.drawing()) {
        history_.undo();
    } else if (state_.document.document().line(editor.drawIndex()).count > 0) {
        canvas_.removeLastPoint();
    } else {
        canvas_.endVector();
    }
}

void EditCommands::nudge(int dx, int dy) {
    const int slot = canvas_.editor().selectedSlot();
    Document& document = state_.document.document();
    const VectorLine& line = document.line(slot);
    std::vector<Point> moved(line.points.begin(), line.points.begin() + line.count);
    for (Point& p : moved) {
        p = {p.x + dx, p.y + dy};
    }
    const bool startsRun =
        slot != lastNudgedSlot_ || !lastNudge_.isValid() || lastNudge_.elapsed() > kNudgeRunMs;
    history_.beginStep(QString::fromUtf8(text::kStepMoveVector), kNudgeStep, startsRun);
    document.setVector(slot, moved);
    history_.endStep();
    lastNudgedSlot_ = slot;
    lastNudge_.start();
}

QString EditCommands::editingHint() const {
    const MouseEditor& editor = canvas_.editor();
    if (editor.drawing()) {
        return QString::fromUtf8(text::kDrawingHint);
    }
    if (editor.dragging()) {
        return QString::fromUtf8(text::kMovingHint);
    }
    return {};
}

}  // namespace penmoji
