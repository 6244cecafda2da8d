// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

#include "compose/placed_text_layout.h"
#include "render/render_pass.h"
#include "render/text_row.h"

namespace penmoji {

// Puts the placed characters into the rows of a rendering as they go by: each lands on its own
// cell, a rendered character it overlaps gives way, and the row's gaps are filled again. Rows
// without placed characters pass unchanged, so a drawing without placed text renders exactly as
// before. finish() hands on the rows below the rendering that still hold placed characters.
class PlacedTextInserter final : public RowSink {
public:
    // `placed` ordered by row, then by x, as layOutPlacedText gives it.
    PlacedTextInserter(std::span<const PlacedCharacter> placed, RowSink& next);

    void takeRow(const TextRow& row) override;
    void finish();

    // Placed characters no row could show: left of the canvas, above its first row, or beyond
    // what a row holds.
    std::size_t unshownCount() const { return unshown_; }

private:
    // The placed characters of row `index`, past those of the rows before it.
    std::span<const PlacedCharacter> charactersOfRow(std::int32_t index);

    std::span<const PlacedCharacter> placed_;
    RowSink& next_;
    std::size_t nextPlaced_ = 0;
    std::int32_t rowIndex_ = 0;
    std::size_t unshown_ = 0;
    TextRow merged_;
};

}  // namespace penmoji
