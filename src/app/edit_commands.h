// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace penmoji {

class CommandRegistry;
class EditorDocument;

// Undo and redo, and the keys of the canvas: end the vector being drawn, take back its last
// point, nudge the selected vector.
class EditCommands final {
public:
    EditCommands(EditorDocument& document, CommandRegistry& commands);

    // What the status bar says while a vector is drawn or moved; empty otherwise.
    QString editingHint() const;

private:
    bool nudgeable() const;

    EditorDocument& document_;
};

}  // namespace penmoji
