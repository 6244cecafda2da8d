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

// Puts the placed characters of one row among the row's rendered characters: each lands on its
// own cell, a rendered character it overlaps gives way, and the gaps are filled again. The row
// is checked as `settings` write it: where the blank run before a placed character cannot bring
// it exactly to its pixel, the rendered characters just before it give way; a placed character
// that still misses its pixel, or that the row cannot show, is reported.
class PlacedRowMerger {
public:
    explicit PlacedRowMerger(const RenderSettings& settings) : settings_(settings) {}

    // The row made of `rendered` (a row's used cells) and `placed` (the row's placed characters,
    // ordered by x); valid until the next call.
    const TextRow& merge(std::span<const RowCell> rendered,
                         std::span<const PlacedCharacter> placed);
    // The placed characters of the last merge not written on their pixels, by their index in
    // `placed`, ascending; and how many of them the row could not show at all (left of the
    // canvas, or beyond what a row holds).
    std::span<const std::size_t> offCharacters() const { return off_; }
    std::size_t unshownCount() const { return unshown_; }

private:
    std::size_t build(std::span<const PlacedCharacter> placed);
    void settle(std::span<const PlacedCharacter> placed);

    const RenderSettings settings_;
    std::vector<RowCell> kept_;  // the rendered characters that keep their place
    std::vector<std::int64_t> positions_;
    std::vector<std::size_t> off_;
    std::size_t unshown_ = 0;
    TextRow merged_;
};

// Puts the placed characters into the rows of a rendering as they go by, each row as
// PlacedRowMerger does. Rows without placed characters pass unchanged, so a drawing without
// placed text renders exactly as before. finish() hands on the rows below the rendering that
// still hold placed characters.
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
    std::vector<std::size_t> inexactPieces() const { return piecesOf(inexact_); }

    // `pieces` sorted, each once.
    static std::vector<std::size_t> piecesOf(std::vector<std::size_t> pieces);

private:
    // The placed characters of row `index`, past those of the rows before it.
    std::span<const PlacedCharacter> charactersOfRow(std::int32_t index);

    std::span<const PlacedCharacter> placed_;
    RowSink& next_;
    PlacedRowMerger merger_;
    std::size_t nextPlaced_ = 0;
    std::int32_t rowIndex_ = 0;
    std::size_t unshown_ = 0;
    std::vector<std::size_t> inexact_;
};

}  // namespace penmoji
