// SPDX-License-Identifier: MIT
// The fine matcher's band: each segment drawn as the straight line nearest to it, in its
// direction class, whichever rows of it the band takes and whatever the last band drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "render/fine_line_band.h"

namespace penmoji {
namespace {

struct Quiet final : ProgressReceiver {
    void reportProgress(std::int64_t, std::int64_t) override {}
};

// n / d rounded down, for d > 0.
std::int64_t floorDiv(std::int64_t n, std::int64_t d) {
    return n / d - ((n % d != 0 && n < 0) ? 1 : 0);
}

// Pixel (x, y) to the direction classes of the segments through it (a bit per class), drawn
// the plain way: a steep segment's column nearest each of its rows, a shallow one's row
// nearest each of its columns, halves rounded up.
using Raster = std::map<std::pair<std::int64_t, std::int64_t>, unsigned>;

void draw(Raster& raster, const PixelSegment& s) {
    const std::int64_t dx = std::int64_t{s.x1} - s.x0;
    const std::int64_t dy = std::int64_t{s.y1} - s.y0;
    const int direction = strokeDirectionOf(dx, dy);
    const unsigned classes = direction < 0 ? 0xfU : 1U << direction;
    if (dy >= std::abs(dx)) {
        for (std::int64_t y = s.y0; y <= s.y1; ++y) {
            const std::int64_t x =
                s.x0 + (dy == 0 ? 0 : floorDiv(2 * dx * (y - s.y0) + dy, 2 * dy));
            raster[{x, y}] |= classes;
        }
        return;
    }
    const std::int64_t adx = std::abs(dx);
    for (std::int64_t t = 0; t <= adx; ++t) {
        const std::int64_t x = s.x0 + (dx > 0 ? t : -t);
        raster[{x, s.y0 + floorDiv(2 * dy * t + adx, 2 * adx)}] |= classes;
    }
}

TEST(FineLineBand, DrawsEachSegmentsNearestPixelsInItsClassBandAfterBand) {
    constexpr std::int64_t kWidth = 200;
    constexpr std::int64_t kHeight = 150;
    std::mt19937 random(7);
    // Long and short segments of every slope, lone points, and copies that end where others
    // start, in drawings walked band by band from the top.
    for (int drawing = 0; drawing < 60; ++drawing) {
        std::uniform_int_distribution<std::int32_t> x(0, kWidth - 1);
        std::uniform_int_distribution<std::int32_t> y(0, kHeight - 1);
        std::uniform_int_distribution<std::int32_t> step(-6, 6);
        std::vector<PixelSegment> drawn;
        for (int i = 0; i < 12; ++i) {
            PixelSegment s{x(random), y(random), x(random), y(random)};
            if (i % 3 == 0) {
                s.x1 = std::clamp<std::int32_t>(s.x0 + step(random), 0, kWidth - 1);
                s.y1 = std::clamp<std::int32_t>(s.y0 + step(random), 0, kHeight - 1);
            }
            if (i % 5 == 0) {
                s.x1 = s.x0;
                s.y1 = s.y0;
            }
            if (s.y1 < s.y0) {
                s = {s.x1, s.y1, s.x0, s.y0};
            }
            drawn.push_back(s);
        }
        std::ranges::sort(drawn, {}, &PixelSegment::y0);
        Raster raster;
        for (const PixelSegment& s : drawn) {
            draw(raster, s);
        }

        FineLineBand band(kWidth);
        Quiet quiet;
        WorkPacer pacer(quiet, 1);
        for (std::int64_t top = 1; top < kHeight; top += 16) {
            ASSERT_TRUE(band.startRow(top, drawn, pacer, 0));
            // A band's top row may leave out the start of a shallow segment's run on it when
            // the segment starts above the band (only the rows below it are read by class);
            // the uncovered pixels of that row are the last band's, whole.
            for (int r = 0; r < FineLineBand::kRows; ++r) {
                const std::int64_t canvasY = top - FineLineBand::kAbove + r;
                for (std::int64_t column = -32; column < kWidth + 32; column += 32) {
                    std::uint32_t line = 0;
                    std::array<std::uint32_t, kStrokeDirections> only{};
                    for (int i = 0; i < 32; ++i) {
                        const auto found = raster.find({column + i, canvasY});
                        if (found == raster.end()) {
                            continue;
                        }
                        line |= 1U << i;
                        for (int d = 0; d < kStrokeDirections; ++d) {
                            if (found->second == 1U << d) {
                                only[static_cast<std::size_t>(d)] |= 1U << i;
                            }
                        }
                    }
                    if (r == 0 && top == 1) {
                        continue;
                    }
                    ASSERT_EQ(band.missingAt(r, column), line)
                        << "drawing " << drawing << ", row " << canvasY << ", column " << column;
                    for (int d = 0; d < kStrokeDirections && r > 0; ++d) {
                        ASSERT_EQ(band.lineOnlyDirectedAt(d, r, column),
                                  only[static_cast<std::size_t>(d)])
                            << "drawing " << drawing << ", row " << canvasY << ", column " << column
                            << ", class " << d;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace penmoji
