// SPDX-License-Identifier: MIT
#include "app/character_palette.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStringDecoder>
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
    const int w = area.width();
    const int cellLeft = x - area.left();
    // Which pixels lie on a line or beside one, worked out once for every character.
    std::vector<char> near(static_cast<std::size_t>(w * kRowHeight));
    for (int py = 0; py < kRowHeight; ++py) {
        for (int px = 0; px < w; ++px) {
            near[static_cast<std::size_t>(py * w + px)] =
                dark(lines, px, py) || dark(lines, px - 1, py) || dark(lines, px + 1, py) ||
                dark(lines, px, py - 1) || dark(lines, px, py + 1);
        }
    }
    // Every character drawn once, each in a band of its own of one sheet.
    const std::vector<std::int32_t> codes = fontCharacters();
    QImage sheet(w, kRowHeight * static_cast<int>(codes.size()), QImage::Format_Grayscale8);
    sheet.fill(255);
    {
        QPainter painter(&sheet);
        painter.setFont(crispArtFont());
        painter.setPen(Qt::black);
        const int ascent = QFontMetrics(painter.font()).ascent();
        QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            const int bandTop = kRowHeight * static_cast<int>(i);
            const std::int32_t code = codes[i];
            const char bytes[2] = {static_cast<char>((code >> 8) & 0xFF),
                                   static_cast<char>(code & 0xFF)};
            const QString text = code > 0xFF ? decoder.decode(QByteArrayView(bytes, 2))
                                             : decoder.decode(QByteArrayView(bytes + 1, 1));
            painter.setClipRect(0, bandTop, w, kRowHeight);
            painter.drawText(QPoint(cellLeft, bandTop + ascent), text);
        }
    }
    std::vector<std::pair<int, std::int32_t>> fits;
    fits.reserve(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const int cellWidth = placedElementWidth(codes[i]);
        int fit = 0;
        for (int py = 0; py < kRowHeight; ++py) {
            const uchar* ink = sheet.constScanLine(kRowHeight * static_cast<int>(i) + py);
            const uchar* line = lines.constScanLine(py);
            for (int px = 0; px < w; ++px) {
                if (ink[px] < 128) {
                    fit += near[static_cast<std::size_t>(py * w + px)] ? 2 : -3;
                } else if (line[px] < 128 && px >= cellLeft && px < cellLeft + cellWidth) {
                    fit -= 1;
                }
            }
        }
        fits.emplace_back(-fit, codes[i]);
    }
    count = std::min(count, fits.size());
    std::partial_sort(fits.begin(), fits.begin() + static_cast<std::ptrdiff_t>(count), fits.end());
    std::vector<std::int32_t> best;
    for (std::size_t i = 0; i < count; ++i) {
        best.push_back(fits[i].second);
    }
    return best;
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
