// SPDX-License-Identifier: MIT
#include "interchange/art_picture.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "document/atomic_file.h"
#include "interchange/art_font.h"

namespace penmoji {
namespace {

constexpr std::string_view kLeadingSpace = "\x81\x40";
constexpr int kRowHeight = 16;
// The largest side a painter can paint on.
constexpr int kMostPixels = 32767;
// What painting one picture may hold in memory: far beyond any board's art, well below what
// would push a desktop into swapping.
constexpr std::int64_t kMostPaintBytes = std::int64_t{1} << 30;
const QColor kFaintLine(190, 205, 255);

struct EntityBlank {
    std::string_view text;
    int width;
};
constexpr EntityBlank kEntityBlanks[] = {{"&ensp;", 8}, {"&nbsp;", 5}, {"&thinsp;", 2}};

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct PlacedCharacter {
    QString character;
    int x = 0;
    int row = 0;
};

struct ArtLayout {
    std::vector<PlacedCharacter> characters;
    int width = 0;
    int rows = 0;
};

// Places the characters of one row from x = 0; returns the row's width.
int layOutRow(std::string_view row, int number, const QFontMetrics& metrics,
              QStringDecoder& decoder, std::vector<PlacedCharacter>& out) {
    if (row.starts_with(kLeadingSpace)) {
        row.remove_prefix(kLeadingSpace.size());
    }
    int x = 0;
    while (!row.empty()) {
        const auto blank =
            std::find_if(std::begin(kEntityBlanks), std::end(kEntityBlanks),
                         [&](const EntityBlank& b) { return row.starts_with(b.text); });
        if (blank != std::end(kEntityBlanks)) {
            x += blank->width;
            row.remove_prefix(blank->text.size());
            continue;
        }
        const std::size_t length =
            isLeadByte(static_cast<unsigned char>(row[0])) && row.size() > 1 ? 2 : 1;
        const QString character =
            decoder.decode(QByteArrayView(row.data(), static_cast<qsizetype>(length)));
        if (character.trimmed().isEmpty()) {
            x += metrics.horizontalAdvance(character);
        } else {
            out.push_back({character, x, number});
            x += metrics.horizontalAdvance(character);
        }
        row.remove_prefix(length);
    }
    return x;
}

ArtLayout layOut(std::string_view text, const QFont& font) {
    text = text.substr(0, text.find('\0'));
    const QFontMetrics metrics(font);
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    ArtLayout layout;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        const int width =
            layOutRow(text.substr(0, end), layout.rows, metrics, decoder, layout.characters);
        layout.width = std::max(layout.width, width);
        ++layout.rows;
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 2);
    }
    return layout;
}

QSize drawingExtent(const VectorSet& vectors) {
    QSize size(0, 0);
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i < std::clamp(line.count, 0, kMaxPoints); ++i) {
            size = size.expandedTo(QSize(line.points[i].x + 1, line.points[i].y + 1));
        }
    }
    return size;
}

// The drawing's lines, one pixel wide, on a transparent canvas of `size`.
QImage paintDrawing(const VectorSet& vectors, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(kFaintLine, 1));
    for (const VectorLine& line : vectors.lines) {
        const int count = std::clamp(line.count, 0, kMaxPoints);
        if (count == 1) {
            painter.drawPoint(line.points[0].x, line.points[0].y);
        }
        for (int i = 0; i + 1 < count; ++i) {
            painter.drawLine(line.points[i].x, line.points[i].y, line.points[i + 1].x,
                             line.points[i + 1].y);
        }
    }
    return image;
}

}  // namespace

PaintedArt paintArt(std::string_view text, const ArtPictureOptions& options) {
    const QFont font = crispArtFont();
    const ArtLayout layout = layOut(text, font);
    const int pitch = std::max(kRowHeight, options.linePitch);
    // The space between rows is shared out above and below the 16 pixels of each row.
    const int rowOffset = (pitch - kRowHeight) / 2;
    const int scale = std::clamp(options.scale, 1, 2);

    const QSize drawn = options.drawing ? drawingExtent(*options.drawing) : QSize(0, 0);
    const std::int64_t width = std::max({layout.width, drawn.width(), 1});
    const std::int64_t rows = std::max<std::int64_t>(
        layout.rows, (std::int64_t{drawn.height()} + kRowHeight - 1) / kRowHeight);
    const std::int64_t height = std::max<std::int64_t>(rows * pitch, 1);
    const std::string pixels =
        std::to_string(width * scale) + " × " + std::to_string(height * scale) + " pixels";
    // Where the drawing underneath makes the picture larger than the art, it is the reason.
    const std::string because =
        drawn.width() > layout.width || (drawn.height() + kRowHeight - 1) / kRowHeight > layout.rows
            ? " with the drawing underneath"
            : "";
    if (width * scale > kMostPixels || height * scale > kMostPixels) {
        return {{},
                "too large: the picture would be " + pixels + because + ", more than " +
                    std::to_string(kMostPixels) + " pixels a side"};
    }
    // The picture, the drawing's layer and the scaled copy are all held at once.
    const std::int64_t bytes =
        4 * (width * height + (options.drawing ? width * rows * kRowHeight : 0) +
             (scale > 1 ? width * height * scale * scale : 0));
    if (bytes > kMostPaintBytes) {
        return {{},
                "too large: the picture would be " + pixels + because + ", " +
                    std::to_string(bytes >> 20) + " MB to paint, more than " +
                    std::to_string(kMostPaintBytes >> 20) + " MB"};
    }
    const auto outOfMemory = [&] {
        return PaintedArt{{}, "out of memory painting a picture of " + pixels};
    };

    const QSize size(static_cast<int>(width), static_cast<int>(height));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return outOfMemory();
    }
    image.fill(options.transparent ? QColor(Qt::transparent) : QColor(Qt::white));
    QPainter painter(&image);
    if (options.drawing) {
        const QImage lines = paintDrawing(*options.drawing,
                                          QSize(size.width(), static_cast<int>(rows) * kRowHeight));
        if (lines.isNull()) {
            return outOfMemory();
        }
        for (int row = 0; row < rows; ++row) {
            painter.drawImage(QPoint(0, row * pitch + rowOffset), lines,
                              QRect(0, row * kRowHeight, size.width(), kRowHeight));
        }
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int ascent = QFontMetrics(font).ascent();
    for (const PlacedCharacter& c : layout.characters) {
        painter.drawText(QPoint(c.x, c.row * pitch + rowOffset + ascent), c.character);
    }
    painter.end();

    if (scale > 1) {
        QImage scaled = image.scaled(size * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (scaled.isNull()) {
            return outOfMemory();
        }
        return {std::move(scaled), {}};
    }
    return {std::move(image), {}};
}

QImage paintArtPicture(std::string_view text, const ArtPictureOptions& options) {
    return paintArt(text, options).image;
}

FileStatus saveArtPicture(const std::filesystem::path& path, std::string_view text,
                          const ArtPictureOptions& options,
                          const std::filesystem::path& protectedFile) {
    const PaintedArt painted = paintArt(text, options);
    if (painted.image.isNull()) {
        return FileStatus::failure(FileError::WriteError, painted.refusal);
    }
    const QImage& picture = painted.image;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        return FileStatus::failure(FileError::WriteError, "cannot encode the picture as PNG");
    }
    return writeFileAtomically(
        path,
        [&](std::ostream& out) {
            out.write(png.constData(), png.size());
            return out ? FileStatus::success()
                       : FileStatus::failure(FileError::WriteError, "write error");
        },
        protectedFile);
}

}  // namespace penmoji
