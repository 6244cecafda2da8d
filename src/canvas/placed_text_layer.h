// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <QRect>
#include <QRegion>
#include <QString>

#include "document/placed_text.h"
#include "document/vector_set.h"

class QPainter;

namespace penmoji {

// The canvas pixels a piece covers: from its x to the end of its widest row, from the top of
// the row holding its y down through its last row.
QRect pieceArea(const PlacedPiece& piece);
// The topmost piece under canvas pixel `at`, or -1.
int pieceAt(const PlacedText& text, Point at);

// The placed text as it stands over the drawing: every character in black on the pixel its
// piece gives it, a thin frame around the selected piece, and a mark on the pieces the
// rendering could not compose exactly.
class PlacedTextLayer {
public:
    // Each returns the canvas area whose look changed.
    QRegion setText(const PlacedText& text);
    QRegion setSelected(int piece);
    QRegion setInexact(std::vector<int> pieces);
    void paint(QPainter& painter, const QRect& exposed) const;

private:
    struct Character {
        QPoint baselineLeft;
        QRect cell;
        QString text;
    };
    QRect areaOf(int piece) const;

    std::vector<QRect> areas_;
    std::vector<Character> characters_;
    int selected_ = -1;
    std::vector<int> inexact_;
};

}  // namespace penmoji
