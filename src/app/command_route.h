// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <vector>

#include "app/command_target.h"

namespace penmoji {

// The chain a command travels: the first target that handles it executes it and answers for its
// menu state. A command nobody handles is disabled and does nothing.
class CommandRoute {
public:
    CommandRoute(std::initializer_list<CommandTarget*> targets) : targets_(targets) {}

    CommandState stateOf(int id) const;
    // Runs the command only while its state says it is enabled, so a key or a button that went
    // stale before the next state refresh cannot start a disabled command.
    void execute(int id);

private:
    CommandTarget* handlerOf(int id) const;

    std::vector<CommandTarget*> targets_;
};

}  // namespace penmoji
