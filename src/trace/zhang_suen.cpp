#include "trace/zhang_suen.h"

#include <array>
#include <bit>
#include <vector>

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

// Changes from background to ink going once round the neighbours: 1 when the ink around the
// pixel is one connected run, so taking the pixel away splits nothing.
int inkRuns(unsigned bits) {
    const unsigned rotated = ((bits >> 1) | (bits << 7)) & 0xFFu;
    return std::popcount(~bits & rotated & 0xFFu);
}

bool all(unsigned bits, unsigned mask) {
    return (bits & mask) == mask;
}

// Whether the first (south-east) or second (north-west) sub-iteration may take a pixel with
// these neighbours away: not an end (two neighbours at least), not inside (six at most), one
// run of ink around it, and not on the far side of the stroke the sub-iteration peels.
using DeletionTable = std::array<bool, 256>;

DeletionTable deletionTable(bool firstPass) {
    DeletionTable table{};
    for (unsigned bits = 0; bits < 256; ++bits) {
        const int count = std::popcount(bits);
        if (count < 2 || count > 6 || inkRuns(bits) != 1) {
            continue;
        }
        table[bits] = firstPass ? !all(bits, N | E | S) && !all(bits, E | S | W)
                                : !all(bits, N | E | W) && !all(bits, N | S | W);
    }
    return table;
}

// One sub-iteration: marks against the picture as it was, then takes the marked pixels away.
bool peel(std::uint8_t* pixels, int width, std::vector<int>& ink, const DeletionTable& table,
          std::vector<int>& marked) {
    marked.clear();
    for (const int at : ink) {
        if (table[neighbourBits(pixels + at, width)]) {
            marked.push_back(at);
        }
    }
    for (const int at : marked) {
        pixels[at] = 0;
    }
    return !marked.empty();
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

void thinToSkeleton(std::span<std::uint8_t> pixels, int width, int height) {
    // Only the ink can change, so only the ink is visited.
    std::vector<int> ink;
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            const int at = y * width + x;
            if (pixels[at] != 0) {
                pixels[at] = 1;
                ink.push_back(at);
            }
        }
    }
    static const DeletionTable first = deletionTable(true);
    static const DeletionTable second = deletionTable(false);
    std::vector<int> marked;
    std::uint8_t* data = pixels.data();
    for (;;) {
        const bool changed =
            peel(data, width, ink, first, marked) | peel(data, width, ink, second, marked);
        std::erase_if(ink, [&](int at) { return data[at] == 0; });
        if (!changed) {
            break;
        }
    }
    // One by one, so that of two corners that need each other only one goes.
    for (const int at : ink) {
        if (staircaseCorner(neighbourBits(data + at, width))) {
            data[at] = 0;
        }
    }
}

}  // namespace penmoji::trace
