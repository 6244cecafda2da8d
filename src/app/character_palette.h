// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QDialog>

#include "document/placed_text.h"
#include "document/vector_set.h"

class QListWidget;

namespace penmoji {

// The characters of the 16-pixel font that may stand at a touched-up character's place, the
// best fits for the lines beneath first: ink on the lines counts for, ink off them and lines
// left bare count against.
std::vector<std::int32_t> charactersForCell(const VectorSet& vectors, std::int32_t x,
                                            std::int32_t top, std::size_t count);

// "文字を選ぶ": a palette of those characters, each drawn on its pixels over the lines beneath
// its place, for replacing a touched-up character.
class CharacterPalette final : public QDialog {
    Q_OBJECT
public:
    // How many of the best fits the palette shows.
    static constexpr std::size_t kShown = 240;

    // `piece` is the touched-up character: its x and its row's top are the place.
    CharacterPalette(const VectorSet& vectors, const PlacedPiece& piece, QWidget* parent = nullptr);

    // The character chosen, once the dialog is accepted.
    std::optional<std::int32_t> chosen() const;
    QListWidget& list() { return *list_; }

private:
    QListWidget* list_;
};

}  // namespace penmoji
