// SPDX-License-Identifier: MIT
#include "trace/zhang_suen.h"

#include <array>
#include <bit>
#include <cstddef>
#include <vector>

#include "trace/stop_poll.h"

namespace penmoji::trace {
namespace {

// A pixel's eight neighbours as the bits of a byte, clockwise from north:
// bit 0 north, 1 north-east, 2 east, 3 south-east, 4 south, 5 south-west, 6 west, 7 north-west.
enum Neighbour : unsigned { N = 1, NE = 2, E = 4, SE = 8, S = 16, SW = 32, W = 64, NW = 128 };

unsigned neighbourBits(const std::uint8_t* pixel, int width) {
    const std::uint8_t* above = pixel - width;
    const std::uint8_t* below = pixel + width;
    return (above[0] ? N : 0u) | (above[1] ? NE : 0u) | (pixel[1] ? E : 0u) | (below[1] ? SE : 0u) |
           (below[0] ? S : 0u) | (below[-1] ? SW : 0u) | (pixel[-1] ? W : 0u) |
           (above[-1] ? NW : 0u);
}

// The 8-connected pieces of ink round a pixel that its taking away would leave apart, by Yokoi's
// connectivity number: 1 when the pixel can go without splitting or joining anything. Unlike a
// count of background-to-ink changes round the pixel, it sees that two ink neighbours touching
// at a corner are one piece, so both pixels of a staircase two wide may go.
int inkPieces(unsigned bits) {
    const auto background = [&](unsigned k) { return ((bits >> (k % 8)) & 1u) == 0 ? 1 : 0; };
    int pieces = 0;
    for (unsigned k = 0; k < 8; k += 2) {
        pieces += background(k) - background(k) * background(k + 1) * background(k + 2);
    }
    return pieces;
}

bool all(unsigned bits, unsigned mask) {
    return (bits & mask) == mask;
}

// Whether the first (south-east) or second (north-west) sub-iteration may take a pixel with
// these neighbours away: not an end (two neighbours at least), not inside (six at most), one
// piece of ink around it, and not on the far side of the stroke the sub-iteration peels.
using DeletionTable = std::array<bool, 256>;

DeletionTable deletionTable(bool firstPass) {
    DeletionTable table{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        const int count = std::popcount(bits);
        if (count < 2 || count > 6 || inkPieces(bits) != 1) {
            continue;
        }
        table[bits] = firstPass ? !all(bits, N | E | S) && !all(bits, E | S | W)
                                : !all(bits, N | E | W) && !all(bits, N | S | W);
    }
    return table;
}

// The pixels that may go in the next sub-iteration: those a sub-iteration has not yet looked at
// since their neighbours last changed. A pixel whose neighbours stay as they are is looked at
// once by each kind of sub-iteration and then no more.
class Border {
public:
    Border(std::uint8_t* pixels, int width, int height)
        : pixels_(pixels),
          offsets_{-width, -width + 1, 1, width + 1, width, width - 1, -1, -width - 1},
          looksLeft_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

    // A pixel with a neighbour of background, which both kinds of sub-iteration must look at.
    void add(int at) {
        looksLeft_[at] = 2;
        current_.push_back(at);
    }

    const std::vector<int>& current() const { return current_; }

    // After a sub-iteration that looked at the current pixels and took `removed` away.
    void advance(const std::vector<int>& removed) {
        next_.clear();
        for (const int at : current_) {
            if (pixels_[at] != 0 && --looksLeft_[at] > 0) {
                next_.push_back(at);
            }
        }
        for (const int at : removed) {
            for (const int offset : offsets_) {
                const int neighbour = at + offset;
                if (pixels_[neighbour] == 0) {
                    continue;
                }
                // Not yet queued (or queued for its last look only): two looks from now on.
                if (looksLeft_[neighbour] == 0) {
                    next_.push_back(neighbour);
                }
                looksLeft_[neighbour] = 2;
            }
        }
        current_.swap(next_);
    }

private:
    std::uint8_t* pixels_;
    std::array<int, 8> offsets_;
    std::vector<std::uint8_t> looksLeft_;
    std::vector<int> current_;
    std::vector<int> next_;
};

// One sub-iteration: marks against the picture as it was (where ends are kept), then takes the
// marked pixels away one by one, each only while it still joins nothing apart. Those with the
// most neighbours go first: of a staircase two pixels wide, every pixel looks removable, and
// taken from its end, pair after pair, it would be eaten to nothing; taken from the middle,
// where each pixel has four neighbours, one side goes and the other is left as the line.
void peel(std::uint8_t* pixels, int width, const std::vector<int>& candidates,
          const DeletionTable& table, std::array<std::vector<int>, 9>& marked,
          std::vector<int>& removed) {
    for (std::vector<int>& withCount : marked) {
        withCount.clear();
    }
    removed.clear();
    for (const int at : candidates) {
        const unsigned bits = neighbourBits(pixels + at, width);
        if (table[bits]) {
            marked[static_cast<std::size_t>(std::popcount(bits))].push_back(at);
        }
    }
    for (auto withCount = marked.rbegin(); withCount != marked.rend(); ++withCount) {
        for (const int at : *withCount) {
            const unsigned bits = neighbourBits(pixels + at, width);
            if (inkPieces(bits) == 1) {
                pixels[at] = 0;
                removed.push_back(at);
            }
        }
    }
}

// A pixel on the inside corner of a staircase (two ink neighbours at a right angle, nothing on
// the opposite side) joins nothing its two neighbours do not join by their own diagonal.
bool staircaseCorner(unsigned bits) {
    return (all(bits, N | E) && !(bits & (S | W | SW))) ||
           (all(bits, E | S) && !(bits & (N | W | NW))) ||
           (all(bits, S | W) && !(bits & (N | E | NE))) ||
           (all(bits, W | N) && !(bits & (S | E | SE)));
}

}  // namespace

bool thinToSkeleton(std::span<std::uint8_t> pixels, int width, int height,
                    const std::function<bool()>& stopRequested) {
    StopPoll poll(stopRequested);
    std::uint8_t* data = pixels.data();
    const auto rowDone = [&] { return poll.spend(static_cast<std::size_t>(width)); };
    // Only ink touching the background can go first; the inside waits for its turn.
    Border border(data, width, height);
    for (int y = 1; y + 1 < height; ++y) {
        std::uint8_t* row = data + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 1; x + 1 < width; ++x) {
            row[x] = row[x] != 0 ? 1 : 0;
        }
        if (rowDone()) {
            return false;
        }
    }
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const int at = y * width + x;
            if (data[at] != 0 && std::popcount(neighbourBits(data + at, width)) < 8) {
                border.add(at);
            }
        }
        if (rowDone()) {
            return false;
        }
    }
    static const DeletionTable first = deletionTable(true);
    static const DeletionTable second = deletionTable(false);
    std::array<std::vector<int>, 9> marked;
    std::vector<int> removed;
    bool firstPass = true;
    // Both kinds of sub-iteration in turn, until one of each has taken nothing.
    int idlePasses = 0;
    while (idlePasses < 2 && !border.current().empty()) {
        if (poll.spend(border.current().size())) {
            return false;
        }
        peel(data, width, border.current(), firstPass ? first : second, marked, removed);
        idlePasses = removed.empty() ? idlePasses + 1 : 0;
        border.advance(removed);
        firstPass = !firstPass;
    }
    // One by one, so that of two corners that need each other only one goes.
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const int at = y * width + x;
            if (data[at] != 0 && staircaseCorner(neighbourBits(data + at, width))) {
                data[at] = 0;
            }
        }
        if (rowDone()) {
            return false;
        }
    }
    return true;
}

}  // namespace penmoji::trace
