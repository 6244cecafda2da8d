// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "app/command_target.h"
#include "edit/mouse_editor.h"

namespace penmoji {

struct AppState;
class CEditCanvas;
class DocumentHistory;

// Undo and redo, and the keys of the canvas: end the vector being drawn, take back its last
// point, nudge the selected vector. It also makes each gesture of the canvas one undo step.
class EditCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    EditCommands(AppState& state, CEditCanvas& canvas);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    // What the status bar says while a vector is drawn or moved; empty otherwise.
    QString editingHint() const;

    // Presses of the arrow keys further apart than this start a new undo step.
    static constexpr int kNudgeRunMs = 1000;

private:
    void undo();
    void nudge(int dx, int dy);

    AppState& state_;
    DocumentHistory& history_;
    CEditCanvas& canvas_;
    QElapsedTimer lastNudge_;
    int lastNudgedSlot_ = -1;
};

// The name of a gesture's undo step.
QString gestureStepName(Gesture gesture);

}  // namespace penmoji
