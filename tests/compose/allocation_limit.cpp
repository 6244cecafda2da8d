// SPDX-License-Identifier: MIT
#include "allocation_limit.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

namespace penmoji::testing_support {
namespace {

std::atomic<std::size_t> largestAllowed{0};
// The thread left out of the limit; a default id (no thread) when none is.
std::atomic<std::thread::id> exempt{};

void* allocate(std::size_t size) {
    const std::size_t limit = largestAllowed.load(std::memory_order_relaxed);
    if (limit != 0 && size > limit && std::this_thread::get_id() != exempt.load()) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

void limitAllocations(std::size_t bytes, LimitedThreads threads) {
    exempt.store(threads == LimitedThreads::Others ? std::this_thread::get_id()
                                                   : std::thread::id());
    largestAllowed.store(bytes, std::memory_order_relaxed);
}

}  // namespace penmoji::testing_support

// The plain and the nothrow forms are replaced, so that whatever the library allocates with one
// is freed by the matching replacement (a sanitizer tells the forms apart); the aligned ones are
// left to the library.
void* operator new(std::size_t size) {
    return penmoji::testing_support::allocate(size);
}
void* operator new[](std::size_t size) {
    return penmoji::testing_support::allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return penmoji::testing_support::allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return penmoji::testing_support::allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
