#include "interchange/art_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace penmoji {

QFont artFont() {
    const QString face = QStringLiteral("ＭＳ Ｐゴシック");
    // Any other sans face would put every character at the wrong pixel: Mona has the same
    // widths.
    if (!QFontDatabase::hasFamily(face) && QFont::substitutes(face).isEmpty()) {
        QFont::insertSubstitutions(face, {QStringLiteral("MS PGothic"), QStringLiteral("Mona")});
    }
    QFont font(face);
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace penmoji
