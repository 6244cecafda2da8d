// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

namespace penmoji {

// The lock keys the status bar shows. Each is nothing where the platform cannot tell.
struct KeyLocks {
    std::optional<bool> kana;
    std::optional<bool> caps;
    std::optional<bool> num;
    std::optional<bool> scroll;
};

KeyLocks currentKeyLocks();

}  // namespace penmoji
