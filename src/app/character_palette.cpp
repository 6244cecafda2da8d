// SPDX-License-Identifier: MIT
#include "app/character_palette.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "canvas/art_text_input.h"
#include "compose/placed_text_layout.h"
#include "compose/text_art_reading.h"
#include "interchange/art_font.h"
#include "render/text_row.h"

namespace penmoji {
namespace {

constexpr int kRowHeight = 16;
// The canvas area a tile shows: the place and a margin on either side, so a wide character and
// the lines leading to it are seen.
constexpr int kMarginLeft = 6;
constexpr int kTileWidth = 36;
constexpr int kTileScale = 2;

// Every character of the 16-pixel font, in code order.
std::vector<std::int32_t> fontCharacters() {
    std::vector<std::int32_t> codes;
    const auto add = [&](std::int32_t code) {
        if (placedElementWidth(code) > 0 && !isBlankCode(code)) {
            codes.push_back(code);
        }
    };
    for (std::int32_t c = 0x21; c <= 0xDF; ++c) {
        add(c);
    }
    for (std::int32_t lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) {
            continue;
        }
        for (std::int32_t trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F) {
                add(lead * 256 + trail);
            }
        }
    }
    return codes;
}

// The area of the canvas a tile shows for a place at `x` in the row starting at `top`.
QRect tileArea(std::int32_t x, std::int32_t top) {
    return QRect(x - kMarginLeft, top, kTileWidth, kRowHeight);
}

// The lines of the drawing inside `area`, one pixel wide as the canvas draws them.
QImage linesIn(const VectorSet& vectors, const QRect& area) {
    QImage image(area.size(), QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    painter.setPen(QPen(Qt::black, 1));
    for (const VectorLine& line : vectors.lines) {
        for (int i = 1; i < line.count; ++i) {
            const Point a = line.points[i - 1], b = line.points[i];
            if (std::max(a.x, b.x) >= area.left() - 1 && std::min(a.x, b.x) <= area.right() + 1 &&
                std::max(a.y, b.y) >= area.top() - 1 && std::min(a.y, b.y) <= area.bottom() + 1) {
                painter.drawLine(a.x, a.y, b.x, b.y);
            }
        }
    }
    return image;
}

// The character's ink at the place, in the tile's area.
QImage inkOf(std::int32_t code, const QRect& area, std::int32_t x, int ascent) {
    QImage image(area.size(), QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.setFont(crispArtFont());
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x - area.left(), ascent), characterOfCode(code));
    return image;
}

bool dark(const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           image.constScanLine(y)[x] < 128;
}

// Ink on a line or beside it counts for, ink away from every line against; so do line pixels
// the character's cell leaves bare.
int fitOf(const QImage& ink, const QImage& lines, int cellLeft, int cellWidth) {
    int fit = 0;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            const bool near = dark(lines, x, y) || dark(lines, x - 1, y) || dark(lines, x + 1, y) ||
                              dark(lines, x, y - 1) || dark(lines, x, y + 1);
            if (dark(ink, x, y)) {
                fit += near ? 2 : -3;
            } else if (dark(lines, x, y) && x >= cellLeft && x < cellLeft + cellWidth) {
                fit -= 1;
            }
        }
    }
    return fit;
}

QPixmap tileOf(std::int32_t code, const QImage& lines, const QRect& area, std::int32_t x,
               int ascent) {
    QImage tile(area.size(), QImage::Format_RGB32);
    tile.fill(Qt::white);
    const QImage ink = inkOf(code, area, x, ascent);
    const int cellLeft = x - area.left();
    const int cellWidth = placedElementWidth(code);
    for (int py = 0; py < tile.height(); ++py) {
        for (int px = 0; px < tile.width(); ++px) {
            if (dark(ink, px, py)) {
                tile.setPixel(px, py, qRgb(0, 0, 0));
            } else if (dark(lines, px, py)) {
                tile.setPixel(px, py, qRgb(150, 170, 235));
            } else if (px >= cellLeft && px < cellLeft + cellWidth) {
                tile.setPixel(px, py, qRgb(255, 250, 215));
            }
        }
    }
    return QPixmap::fromImage(tile.scaled(tile.size() * kTileScale));
}

}  // namespace

std::vector<std::int32_t> charactersForCell(const VectorSet& vectors, std::int32_t x,
                                            std::int32_t top, std::size_t count) {
    const QRect area = tileArea(x, top);
    const QImage lines = linesIn(vectors, area);
    const int ascent = QFontMetrics(crispArtFont()).ascent();
    std::vector<std::pair<int, std::int32_t>> fits;
    for (const std::int32_t code : fontCharacters()) {
        const QImage ink = inkOf(code, area, x, ascent);
        fits.emplace_back(-fitOf(ink, lines, x - area.left(), placedElementWidth(code)), code);
    }
    count = std::min(count, fits.size());
    std::partial_sort(fits.begin(), fits.begin() + static_cast<std::ptrdiff_t>(count), fits.end());
    std::vector<std::int32_t> codes;
    for (std::size_t i = 0; i < count; ++i) {
        codes.push_back(fits[i].second);
    }
    return codes;
}

CharacterPalette::CharacterPalette(const VectorSet& vectors, const PlacedPiece& piece,
                                   QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(tr("文字を選ぶ"));
    const std::int32_t top = 16 * rowHolding(piece.y) + 1;
    const QRect area = tileArea(piece.x, top);
    const QImage lines = linesIn(vectors, area);
    const int ascent = QFontMetrics(crispArtFont()).ascent();
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(area.size() * kTileScale);
    list_->setGridSize(area.size() * kTileScale + QSize(10, 10));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    list_->setUniformItemSizes(true);
    for (const std::int32_t code : charactersForCell(vectors, piece.x, top, kShown)) {
        auto* item = new QListWidgetItem(QIcon(tileOf(code, lines, area, piece.x, ascent)), {});
        item->setToolTip(characterOfCode(code));
        item->setData(Qt::UserRole, code);
        list_->addItem(item);
    }
    list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("線によく合う順に並んでいます。ダブルクリックで置き換えます"), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(640, 480);
}

std::optional<std::int32_t> CharacterPalette::chosen() const {
    if (const QListWidgetItem* item = list_->currentItem()) {
        return item->data(Qt::UserRole).toInt();
    }
    return std::nullopt;
}

}  // namespace penmoji
