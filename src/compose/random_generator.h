// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace penmoji {

// The linear congruential generator that places dots inside blank runs. Its sequence is part of
// the output: a fresh generator starts from state 1, so every run of the program writes the same
// text for the same drawing. Whoever renders owns one and passes it in.
class RandomGenerator {
public:
    // The next value, 0 to 32767.
    std::int32_t next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<std::int32_t>((state_ >> 16) & 0x7FFFu);
    }

    // Equal generators go on with the same sequence.
    friend bool operator==(const RandomGenerator&, const RandomGenerator&) = default;

private:
    std::uint32_t state_ = 1;
};

}  // namespace penmoji
