// SPDX-License-Identifier: MIT
#pragma once

namespace penmoji {

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// One link of the command route (canvas, then frame, then application): a command goes to the
// first target that handles it, and that target also answers for its menu state.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    virtual bool handlesCommand(int id) const = 0;
    virtual void executeCommand(int id) = 0;
    virtual CommandState commandState(int id) const = 0;
};

}  // namespace penmoji
