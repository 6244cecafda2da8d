// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace penmoji::testing_support {

// Which threads a limit holds for: every one, or all but the one that set it (so that a test
// can go on with its own work while another thread runs out).
enum class LimitedThreads { All, Others };

// While set, every allocation of more than `bytes` throws std::bad_alloc, as it would when
// memory runs out; 0 lifts the limit. A test binary that links allocation_limit.cpp has its
// global operator new replaced to honour it.
void limitAllocations(std::size_t bytes, LimitedThreads threads = LimitedThreads::All);

// Sets the limit for a scope.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t bytes, LimitedThreads threads = LimitedThreads::All) {
        limitAllocations(bytes, threads);
    }
    ~AllocationLimit() { limitAllocations(0); }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

}  // namespace penmoji::testing_support
