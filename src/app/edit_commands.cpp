// SPDX-License-Identifier: MIT
#include "app/edit_commands.h"

#include <vector>

#include "app/command_ids.h"
#include "app/edit_texts.h"
#include "canvas/editor_document.h"

namespace penmoji {
namespace {

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

EditCommands::EditCommands(EditorDocument& document) : document_(document) {}

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
    const MouseEditor& editor = document_.editor();
    const bool idle = !editor.drawing() && !editor.dragging();
    switch (id) {
        case command::kEditUndo:
            // While drawing, undo takes back the last point, or the vector when it has none.
            return {editor.drawing() || (idle && document_.history().stack().canUndo()), false};
        case command::kEditRedo:
            return {idle && document_.history().stack().canRedo(), false};
        case command::kEndVector:
        case command::kRemoveLastPoint:
            return {editor.drawing(), false};
        default: {
            const int slot = editor.selectedSlot();
            return {idle && slot >= 0 && document_.document().line(slot).count > 0, false};
        }
    }
}

void EditCommands::executeCommand(int id) {
    switch (id) {
        case command::kEditUndo:
            document_.undo();
            break;
        case command::kEditRedo:
            document_.redo();
            break;
        case command::kEndVector:
            document_.endVector();
            break;
        case command::kRemoveLastPoint:
            document_.removeLastPoint();
            break;
        default:
            if (const Nudge* n = nudgeOf(id)) {
                const int step = n->far ? std::max(1, document_.grid().gridSize) : 1;
                document_.nudgeSelected(n->dx * step, n->dy * step);
            }
            break;
    }
}

QString EditCommands::editingHint() const {
    const MouseEditor& editor = document_.editor();
    if (editor.drawing()) {
        return QString::fromUtf8(text::kDrawingHint);
    }
    if (editor.dragging()) {
        return QString::fromUtf8(text::kMovingHint);
    }
    return {};
}

}  // namespace penmoji
