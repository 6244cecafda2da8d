// SPDX-License-Identifier: MIT
#include "app/edit_commands.h"

#include <algorithm>

#include <QUndoStack>

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "canvas/editor_document.h"

namespace penmoji {
namespace {

struct Nudge {
    int id;
    int dx, dy;
    bool far;
    QKeyCombination key;
};

constexpr Nudge kNudges[] = {
    {command::kNudgeLeft, -1, 0, false, QKeyCombination(Qt::Key_Left)},
    {command::kNudgeRight, 1, 0, false, QKeyCombination(Qt::Key_Right)},
    {command::kNudgeUp, 0, -1, false, QKeyCombination(Qt::Key_Up)},
    {command::kNudgeDown, 0, 1, false, QKeyCombination(Qt::Key_Down)},
    {command::kNudgeLeftFar, -1, 0, true, Qt::SHIFT | Qt::Key_Left},
    {command::kNudgeRightFar, 1, 0, true, Qt::SHIFT | Qt::Key_Right},
    {command::kNudgeUpFar, 0, -1, true, Qt::SHIFT | Qt::Key_Up},
    {command::kNudgeDownFar, 0, 1, true, Qt::SHIFT | Qt::Key_Down},
};

}  // namespace

EditCommands::EditCommands(EditorDocument& document, CommandRegistry& commands)
    : document_(document) {
    EditorDocument* doc = &document_;
    const auto drawing = [doc] { return doc->editor().drawing(); };
    commands.add({
        .id = command::kEditUndo,
        .text = text::kUndo,
        .prompt = text::kUndoPrompt,
        .tip = text::kUndoTip,
        .keys = {Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace},
        .run = [doc] { doc->undo(); },
        // While drawing, undo takes back the last point, or the vector when it has none.
        .enabledWhen =
            [doc] {
                return doc->editor().drawing() || (doc->idle() && doc->history().stack().canUndo());
            },
    });
    commands.add({
        .id = command::kEditRedo,
        .text = text::kRedo,
        .prompt = text::kRedoPrompt,
        .tip = text::kRedoTip,
        .keys = {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
        .run = [doc] { doc->redo(); },
        .enabledWhen = [doc] { return doc->idle() && doc->history().stack().canRedo(); },
    });
    commands.add({
        .id = command::kEndVector,
        .keys = {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return),
                 QKeySequence(Qt::Key_Enter)},
        .run = [doc] { doc->endVector(); },
        .enabledWhen = drawing,
    });
    commands.add({
        .id = command::kRemoveLastPoint,
        .keys = {QKeySequence(Qt::Key_Backspace)},
        .run = [doc] { doc->removeLastPoint(); },
        .enabledWhen = drawing,
    });
    for (const Nudge& n : kNudges) {
        commands.add({
            .id = n.id,
            .keys = {QKeySequence(n.key)},
            .run =
                [doc, n] {
                    const int step = n.far ? std::max(1, doc->grid().gridSize) : 1;
                    doc->nudgeSelected(n.dx * step, n.dy * step);
                },
            .enabledWhen = [this] { return nudgeable(); },
        });
    }

    const auto editingState = {
        command::kEditUndo,        command::kEditRedo,   command::kEndVector,
        command::kRemoveLastPoint, command::kNudgeLeft,  command::kNudgeRight,
        command::kNudgeUp,         command::kNudgeDown,  command::kNudgeLeftFar,
        command::kNudgeRightFar,   command::kNudgeUpFar, command::kNudgeDownFar};
    commands.refreshOn(doc, &EditorDocument::editingStateChanged, editingState);
    commands.refreshOn(&doc->history().stack(), &QUndoStack::indexChanged,
                       {command::kEditUndo, command::kEditRedo});
    // A vector deleted or emptied can no longer be nudged.
    commands.refreshOn(doc, &EditorDocument::drawingChanged,
                       {command::kNudgeLeft, command::kNudgeRight, command::kNudgeUp,
                        command::kNudgeDown, command::kNudgeLeftFar, command::kNudgeRightFar,
                        command::kNudgeUpFar, command::kNudgeDownFar});
}

bool EditCommands::nudgeable() const {
    const int slot = document_.editor().selectedSlot();
    return document_.idle() && (document_.selectedPiece() >= 0 ||
                                (slot >= 0 && document_.document().line(slot).count > 0));
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
