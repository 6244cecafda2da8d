// SPDX-License-Identifier: MIT
#include "interchange/art_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace penmoji {

QFont artFont() {
    const QString face = QStringLiteral("ＭＳ Ｐゴシック");
    // Without a stand-in the font matcher falls back to any sans face, whose widths would put
    // every character of the art in the wrong place. Mona draws the 16-pixel blanks exactly as
    // wide as the original face.
    if (!QFontDatabase::hasFamily(face) && QFont::substitutes(face).isEmpty()) {
        QFont::insertSubstitutions(face, {QStringLiteral("MS PGothic"), QStringLiteral("Mona")});
    }
    QFont font(face);
    font.setPixelSize(16);
    return font;
}

QFont crispArtFont() {
    QFont font = artFont();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace penmoji
