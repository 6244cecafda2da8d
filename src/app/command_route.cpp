// SPDX-License-Identifier: MIT
#include "app/command_route.h"

namespace penmoji {

CommandTarget* CommandRoute::handlerOf(int id) const {
    for (CommandTarget* target : targets_) {
        if (target != nullptr && target->handlesCommand(id)) {
            return target;
        }
    }
    return nullptr;
}

CommandState CommandRoute::stateOf(int id) const {
    const CommandTarget* target = handlerOf(id);
    return target != nullptr ? target->commandState(id) : CommandState{false, false};
}

void CommandRoute::execute(int id) {
    CommandTarget* target = handlerOf(id);
    if (target != nullptr && target->commandState(id).enabled) {
        target->executeCommand(id);
    }
}

}  // namespace penmoji
