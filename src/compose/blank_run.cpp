// SPDX-License-Identifier: MIT
#include "compose/blank_run.h"

#include <initializer_list>

namespace penmoji {
namespace {

// Whether `rest` pixels can be made of at most `room` full-width and half-width spaces with no two
// half-width spaces adjacent, the element before them being a half-width space when `afterHalf`.
//
// A run with f full-width and h half-width spaces has room for at most f + 1 half-width spaces
// between and around the full-width ones (f when the first slot is taken by the element before).
// Since 5 * 9 = 45 = 1 (mod 11), every solution of 11f + 5h = rest has h = 9 * rest (mod 11); the
// one with the fewest half-width spaces is the shortest and the easiest to space out, so it alone
// decides.
bool canComplete(std::int64_t rest, std::int64_t room, bool afterHalf) {
    if (rest < 0 || room < 0) {
        return false;
    }
    if (rest == 0) {
        return true;
    }
    const std::int64_t halves = (9 * rest) % 11;
    if (kHalfSpace * halves > rest) {
        return false;
    }
    const std::int64_t fulls = (rest - kHalfSpace * halves) / kFullSpace;
    return fulls + halves <= room && halves <= fulls + (afterHalf ? 0 : 1);
}

// The greedy choice for a remaining width of 12 pixels or more.
std::int32_t greedyElement(std::int64_t n, bool prevHalf, const RenderSettings& settings) {
    const std::int64_t c = n % 11;
    const std::int64_t s = n % 16;
    if (c == 0) {
        return kFullSpace;
    }
    if (c == 5 && !prevHalf) {
        return kHalfSpace;
    }
    if (settings.useDots) {
        if (c == 3 || s == 3) {
            if (n < 55) {
                return kDot;
            }
        } else if (c == 1 && !prevHalf) {
            return kHalfSpace;
        }
    }
    if (c == 1 || c == 3) {
        if (settings.useDots) {
            return kDot;
        }
        if (!settings.noEntities) {
            return kEnSpace;
        }
        return prevHalf ? kFullSpace : kHalfSpace;
    }
    return !prevHalf && s <= 8 ? kHalfSpace : kFullSpace;
}

// The last few elements for what the greedy phase leaves (1 to 11 pixels).
struct Tail {
    std::array<std::int32_t, 3> elements{};
    std::size_t size = 0;

    Tail() = default;
    Tail(std::initializer_list<std::int32_t> list) {
        for (std::int32_t e : list) {
            elements[size++] = e;
        }
    }
};

Tail tailWithEntities(std::int64_t n, std::int32_t lag, const RenderSettings& settings) {
    switch (n) {
        case 11:
            return {kFullSpace};
        case 10:
            return {kEnSpace, kThinSpace};
        case 9:
            return {kHalfSpace, kThinSpace, kThinSpace};
        case 8:
            return {kEnSpace};
        case 7:
            return {kHalfSpace, kThinSpace};
        case 6:
            return {kThinSpace, kThinSpace, kThinSpace};
        case 5:
            return {kHalfSpace};
        case 4:
            return {kThinSpace, kThinSpace};
        case 3:
            if (settings.useDots) {
                return {kDot};
            }
            return lag <= 0 ? Tail{kThinSpace} : Tail{kThinSpace, kThinSpace};
        case 2:
            return {kThinSpace};
        case 1:
            return lag <= 0 ? Tail{} : Tail{kThinSpace};
        default:
            return {};
    }
}

// Without entities only full-width and half-width spaces (and dots, when allowed) remain, so most
// remainders can only be approached; strictHalfSpaces prefers an error to adjacent half-width
// spaces.
Tail tailWithoutEntities(std::int64_t n, std::int32_t lag, bool prevHalf,
                         const RenderSettings& settings) {
    const bool dots = settings.useDots;
    const bool strict = settings.strictHalfSpaces;
    const bool strictAfterHalf = strict && prevHalf;
    switch (n) {
        case 11:
            return {kFullSpace};
        case 10:
            return strict ? Tail{kFullSpace} : Tail{kHalfSpace, kHalfSpace};
        case 9:
            if (!strict) {
                return {kHalfSpace, kHalfSpace};
            }
            return dots ? Tail{kDot, kDot, kDot} : Tail{kFullSpace};
        case 8:
            if (dots) {
                return prevHalf ? Tail{kDot, kHalfSpace} : Tail{kHalfSpace, kDot};
            }
            if (!strict) {
                return {kHalfSpace, kHalfSpace};
            }
            if (lag >= 2) {
                return {kFullSpace};
            }
            return prevHalf ? Tail{} : Tail{kHalfSpace};
        case 7:
            if (dots) {
                return prevHalf ? Tail{kDot, kHalfSpace} : Tail{kHalfSpace, kDot};
            }
            return strictAfterHalf ? Tail{kFullSpace} : Tail{kHalfSpace};
        case 6:
            if (dots) {
                return {kDot, kDot};
            }
            return strictAfterHalf ? Tail{} : Tail{kHalfSpace};
        case 5:
            if (strictAfterHalf) {
                return dots ? Tail{kDot} : Tail{};
            }
            return {kHalfSpace};
        case 4:
            if (dots) {
                return {kDot};
            }
            return strictAfterHalf ? Tail{} : Tail{kHalfSpace};
        case 3:
            if (dots) {
                return {kDot};
            }
            if (lag <= 1 || strictAfterHalf) {
                return {};
            }
            return {kHalfSpace};
        case 2:
        case 1:
            if (dots) {
                return lag <= 0 ? Tail{} : Tail{kDot};
            }
            if (lag <= 2 || strictAfterHalf) {
                return {};
            }
            return {kHalfSpace};
        default:
            return {};
    }
}

}  // namespace

std::size_t findExactRun(std::span<std::int32_t> run, std::int64_t target) {
    const auto capacity = static_cast<std::int64_t>(run.size());
    if (target <= 0 || !canComplete(target, capacity, false)) {
        return 0;
    }
    // Taking a full-width space whenever the rest can still be completed yields the same run as a
    // depth-first search that tries 11 before 5, without its exponential failures.
    std::size_t count = 0;
    std::int64_t rest = target;
    while (rest > 0) {
        const std::int64_t room = capacity - static_cast<std::int64_t>(count) - 1;
        const bool full = canComplete(rest - kFullSpace, room, false);
        run[count++] = full ? kFullSpace : kHalfSpace;
        rest -= run[count - 1];
    }
    return count;
}

std::size_t composeBlankRun(std::span<std::int32_t> run, std::int32_t width, std::int32_t lag,
                            const RenderSettings& settings) {
    std::int64_t n = std::int64_t{width} + lag;
    if (const std::size_t exact = findExactRun(run, n); exact != 0) {
        return exact;
    }
    if (n <= 0) {
        return 0;
    }

    std::size_t count = 0;
    bool prevHalf = false;
    auto append = [&](std::int32_t element) {
        if (count >= run.size()) {
            return false;
        }
        run[count++] = element;
        prevHalf = element == kHalfSpace;
        n -= element;
        return true;
    };

    while (n >= 12) {
        if (!append(greedyElement(n, prevHalf, settings))) {
            return 0;
        }
    }
    const Tail tail = settings.noEntities ? tailWithoutEntities(n, lag, prevHalf, settings)
                                          : tailWithEntities(n, lag, settings);
    for (std::size_t i = 0; i < tail.size; ++i) {
        if (!append(tail.elements[i])) {
            return 0;
        }
    }
    return count;
}

void scatterDots(std::span<std::int32_t> run, RandomGenerator& random) {
    const std::size_t count = run.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (run[i] != kDot) {
            continue;
        }
        const auto start = static_cast<std::size_t>(random.next()) % count;
        for (std::size_t k = start; k < count; ++k) {
            if (run[k] == kFullSpace) {
                run[i] = kFullSpace;
                run[k] = kDot;
                break;
            }
        }
    }
}

}  // namespace penmoji
