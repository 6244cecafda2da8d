// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "compose/placed_text_layout.h"
#include "compose/render_settings.h"
#include "render/render_pass.h"
#include "render/text_row.h"

namespace penmoji {

// Puts the placed characters into the rows of a rendering as they go by: each lands on its own
// cell, a rendered character it overlaps gives way, and the row's gaps are filled again. Rows
// without placed characters pass unchanged, so a drawing without placed text renders exactly as
// before. finish() hands on the rows below the rendering that still hold placed characters.
//
// Each row is checked as `settings` write it: where the blank run before a placed character cannot
// bring it exactly to its pixel, the rendered characters just before it give way; a placed
// character that still misses its pixel, or that no row can show, marks its piece as inexact.
class PlacedTextInserter final : public RowSink {
public:
    // `placed` ordered by row, then by x, as layOutPlacedText gives it.
    PlacedTextInserter(std::span<const PlacedCharacter> placed, RowSink& next,
                       const RenderSettings& settings = {});

    void takeRow(const TextRow& row) override;
    void finish();

    // Placed characters no row could show: left of the canvas, above its first row, or beyond
    // what a row holds.
    std::size_t unshownCount() const { return unshown_; }
    // The pieces (indices into the placed text) with a character not written on its own pixel,
    // ascending.
    std::vector<std::size_t> inexactPieces() const;

private:
    // The placed characters of row `index`, past those of the rows before it.
    std::span<const PlacedCharacter> charactersOfRow(std::int32_t index);
    void markInexact(const PlacedCharacter& p) { inexact_.push_back(p.piece); }
    // merged_ made of kept_ and `placed`; returns how many placed characters it cannot show.
    std::size_t merge(std::span<const PlacedCharacter> placed);
    // Brings every placed character of merged_ to its pixel where it can, marking the rest.
    void settle(std::span<const PlacedCharacter> placed);

    std::span<const PlacedCharacter> placed_;
    RowSink& next_;
    const RenderSettings settings_;
    std::size_t nextPlaced_ = 0;
    std::int32_t rowIndex_ = 0;
    std::size_t unshown_ = 0;
    std::vector<std::size_t> inexact_;
    std::vector<std::int64_t> positions_;
    std::vector<RowCell> kept_;  // the rendered characters of the row that keep their place
    TextRow merged_;
};

}  // namespace penmoji
