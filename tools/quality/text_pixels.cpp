// SPDX-License-Identifier: MIT
#include "text_pixels.h"

#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "render/fine_glyph_bitmaps.h"
#include "render/glyph_table.h"

namespace {

// Every character the renderer writes: the glyph table's at the output font's widths, then
// the fine table's, which the font measured.
const std::map<int, int>& characterWidths() {
    static const std::map<int, int> widths = [] {
        std::map<int, int> table;
        for (const penmoji::GlyphShape& glyph : penmoji::glyphTable()) {
            table.emplace(glyph.code, glyph.width / 16);
        }
        for (const penmoji::FineGlyph& glyph : penmoji::fineGlyphs()) {
            table.emplace(glyph.code, glyph.width);
        }
        table.emplace(0x2E, 3);  // dots of blank runs
        table.emplace(0x5F, 5);  // underscores of half-width space runs
        return table;
    }();
    return widths;
}

struct Blank {
    std::string_view bytes;
    int width;
};

constexpr Blank kBlanks[] = {
    {"\x81\x40", 11}, {"&ensp;", 8}, {"&nbsp;", 5}, {"&thinsp;", 2}, {" ", 5},
};

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

bool layOutText(std::string_view text, std::vector<PlacedCharacter>& out, std::string& error) {
    int top = 1;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        std::string_view row = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 2);
        if (row.starts_with("\x81\x40")) {
            row.remove_prefix(2);
        }
        int x = 0;
        while (!row.empty()) {
            const auto blank = std::ranges::find_if(
                kBlanks, [&](const Blank& b) { return row.starts_with(b.bytes); });
            if (blank != std::end(kBlanks)) {
                x += blank->width;
                row.remove_prefix(blank->bytes.size());
                continue;
            }
            const auto lead = static_cast<unsigned char>(row[0]);
            int code = lead;
            std::size_t length = 1;
            if (isLeadByte(lead) && row.size() >= 2) {
                code = (lead << 8) | static_cast<unsigned char>(row[1]);
                length = 2;
            }
            const auto width = characterWidths().find(code);
            if (width == characterWidths().end()) {
                error = "no width for character " + std::to_string(code);
                return false;
            }
            out.push_back({code, x, top});
            x += width->second;
            row.remove_prefix(length);
        }
        top += 16;
    }
    return true;
}

QImage paintText(const std::vector<PlacedCharacter>& characters, const QFont& font, QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const int ascent = QFontMetrics(font).ascent();
        for (const PlacedCharacter& c : characters) {
            QByteArray bytes;
            if (c.code > 0xFF) {
                bytes.append(static_cast<char>(c.code >> 8));
            }
            bytes.append(static_cast<char>(c.code & 0xFF));
            QStringDecoder decoder("windows-31j");
            painter.drawText(QPoint(c.x, c.top + ascent), decoder.decode(bytes));
        }
    }
    QImage ink(size, QImage::Format_Grayscale8);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            ink.scanLine(y)[x] = qGray(canvas.pixel(x, y)) < 128 ? 255 : 0;
        }
    }
    return ink;
}

LinePixels paintLines(const penmoji::VectorSet& vectors, QSize size) {
    LinePixels lines;
    lines.mask = QImage(size, QImage::Format_Grayscale8);
    lines.mask.fill(0);
    lines.directions.resize(static_cast<std::size_t>(size.width()) * size.height());
    for (const penmoji::VectorLine& line : vectors.lines) {
        const int count = std::clamp(line.count, 0, penmoji::kMaxPoints);
        for (int i = 0; i + 1 < count; ++i) {
            const QPoint a(line.points[i].x, line.points[i].y);
            const QPoint b(line.points[i + 1].x, line.points[i + 1].y);
            // Each segment alone on a scratch image, so every pixel learns its direction.
            const QRect box = QRect(a, b).normalized().adjusted(-1, -1, 1, 1);
            QImage scratch(box.size(), QImage::Format_RGB32);
            scratch.fill(Qt::white);
            {
                QPainter painter(&scratch);
                painter.setRenderHint(QPainter::Antialiasing, false);
                painter.setPen(QPen(Qt::black, 1));
                painter.drawLine(a - box.topLeft(), b - box.topLeft());
            }
            double angle = std::atan2(b.y() - a.y(), b.x() - a.x());
            if (angle < 0) {
                angle += std::numbers::pi;
            }
            for (int y = 0; y < box.height(); ++y) {
                for (int x = 0; x < box.width(); ++x) {
                    const int cx = box.left() + x;
                    const int cy = box.top() + y;
                    if (qGray(scratch.pixel(x, y)) >= 128 || cx < 0 || cy < 0 ||
                        cx >= size.width() || cy >= size.height()) {
                        continue;
                    }
                    lines.mask.scanLine(cy)[cx] = 255;
                    lines.directions[static_cast<std::size_t>(cy) * size.width() + cx].push_back(
                        static_cast<float>(angle));
                }
            }
        }
    }
    return lines;
}

QSize canvasSize(const penmoji::VectorSet& vectors) {
    int width = 16;
    int height = 16;
    for (const penmoji::VectorLine& line : vectors.lines) {
        for (int i = 0; i < std::clamp(line.count, 0, penmoji::kMaxPoints); ++i) {
            width = std::max(width, line.points[i].x + 16);
            height = std::max(height, line.points[i].y + 16);
        }
    }
    // Room for the last row and for characters that run past the last point.
    return {width + 48, height + 32};
}
