// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include "app/command_target.h"
#include "edit/mouse_editor.h"

namespace penmoji {

class EditorDocument;

// Undo and redo, and the keys of the canvas: end the vector being drawn, take back its last
// point, nudge the selected vector.
class EditCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit EditCommands(EditorDocument& document);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    // What the status bar says while a vector is drawn or moved; empty otherwise.
    QString editingHint() const;

private:
    EditorDocument& document_;
};

}  // namespace penmoji
