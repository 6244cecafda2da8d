// SPDX-License-Identifier: MIT
// fine_font_table: measures the characters the fine matcher may write in the 16-pixel bitmap
// font and writes them as the C++ table src/render/fine_glyph_bitmaps.cpp.
//
//     fine_font_table [--font mona.ttf] --out src/render/fine_glyph_bitmaps.cpp
//
// Every glyph table entry is kept at the table's width (the output font's); every further
// character must encode to Shift_JIS, be drawn by the font itself and gets the font's advance.
// Characters whose pixels and width equal an earlier one's are left out.

#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextStream>

#include <array>
#include <cstdint>
#include <cstdio>
#include <set>
#include <utility>
#include <vector>

#include "font_table_tool.h"
#include "render/fine_glyph_bitmaps.h"
#include "render/glyph_table.h"
#include "render/text_row.h"

namespace {

constexpr int kFrameColumns = 32;

// Characters that draw lines, corners, dots and arcs beyond the glyph table's: radicals and
// simple kanji whose strokes are straight.
const char16_t kExtraKanji[] =
    u"一丨丶丿乙亅二亠人儿入八冂冖冫几凵刀力勹匕匚十卜厂厶又口囗土士夂夕大女子宀寸小尢尸山川工己巾"
    u"干幺广廴廾弋弓彡彳乂凸凹田王丁七上下中个丫丱爪爻片牛犬玄瓜甘生用疋白皮皿目矛矢石示禾穴立竹米"
    u"糸缶网羊羽而耒耳聿肉臣自至臼舌舛舟艮色虍虫血行衣西";

struct Measured {
    int code = 0;
    int width = 0;
    std::array<std::uint32_t, 16> ink{};
};

// Single-byte characters, the symbols of the first two rows, the box drawings and the extra
// kanji. Markup characters and the backslash (a yen sign in the output font) are never written.
std::vector<int> extraCodes() {
    std::vector<int> codes;
    for (int c = 0x21; c <= 0x7E; ++c) {
        if (c != '&' && c != '<' && c != '>' && c != 0x5C) {
            codes.push_back(c);
        }
    }
    for (int c = 0xA1; c <= 0xDF; ++c) {
        codes.push_back(c);
    }
    for (int c = 0x8141; c <= 0x81FC; ++c) {
        codes.push_back(c);
    }
    for (int c = 0x8340; c <= 0x8396; ++c) {
        codes.push_back(c);
    }
    for (int c = 0x849F; c <= 0x84BE; ++c) {
        codes.push_back(c);
    }
    QStringEncoder encoder("windows-31j");
    for (const char16_t* k = kExtraKanji; *k != 0; ++k) {
        const QByteArray bytes = encoder.encode(QString(QChar(*k)));
        if (bytes.size() == 2) {
            codes.push_back((static_cast<unsigned char>(bytes[0]) << 8) |
                            static_cast<unsigned char>(bytes[1]));
        }
    }
    return codes;
}

class FontProbe {
public:
    explicit FontProbe(const QFont& font) : font_(font), metrics_(font) {}

    // The character of `code`, when it decodes to one character the font draws itself and
    // that survives the way back to the same code.
    std::optional<QString> characterOf(int code) {
        // A fresh decoder each time: an error would stay with the decoder.
        QStringDecoder decoder("windows-31j");
        QStringEncoder encoder("windows-31j");
        const QString text = decoder.decode(penmoji::tools::shiftJisBytes(code));
        if (decoder.hasError() || text.size() != 1 || !metrics_.inFont(text.front()) ||
            QByteArray(encoder.encode(text)) != penmoji::tools::shiftJisBytes(code)) {
            return std::nullopt;
        }
        return text;
    }

    int advanceOf(const QString& text) const { return metrics_.horizontalAdvance(text); }

    // The ink of `text` drawn with its pen at column kFineInkLeft of the frame, or nothing when
    // the font sets ink beyond the frame.
    std::optional<std::array<std::uint32_t, 16>> inkOf(const QString& text) const {
        QImage canvas(kFrameColumns + 32, 16, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::TextAntialiasing, false);
            painter.setFont(font_);
            painter.setPen(Qt::black);
            painter.drawText(QPoint(16 + penmoji::kFineInkLeft, metrics_.ascent()), text);
        }
        std::array<std::uint32_t, 16> ink{};
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (qGray(canvas.pixel(x, y)) >= 128) {
                    continue;
                }
                const int column = x - 16;
                if (column < 0 || column >= kFrameColumns) {
                    return std::nullopt;
                }
                ink[static_cast<std::size_t>(y)] |= std::uint32_t{1} << column;
            }
        }
        return ink;
    }

private:
    QFont font_;
    QFontMetrics metrics_;
};

bool hasInk(const std::array<std::uint32_t, 16>& ink) {
    for (std::uint32_t row : ink) {
        if (row != 0) {
            return true;
        }
    }
    return false;
}

std::vector<Measured> measureAll(FontProbe& probe, QTextStream& log) {
    std::vector<Measured> out;
    std::set<std::pair<int, std::array<std::uint32_t, 16>>> seen;
    std::set<int> codes;
    auto take = [&](int code, std::optional<int> tableWidth) {
        if (codes.contains(code) || penmoji::isBlankCode(code)) {
            return;
        }
        const std::optional<QString> text = probe.characterOf(code);
        if (!text) {
            return;
        }
        const std::optional<std::array<std::uint32_t, 16>> ink = probe.inkOf(*text);
        if (!ink || !hasInk(*ink)) {
            log << QStringLiteral("skipped %1: %2\n")
                       .arg(code, 4, 16, QLatin1Char('0'))
                       .arg(ink ? "no ink" : "ink beyond the frame");
            return;
        }
        const int width = tableWidth.value_or(probe.advanceOf(*text));
        if (width <= 0 || width > 16 || !seen.insert({width, *ink}).second) {
            return;
        }
        codes.insert(code);
        out.push_back({code, width, *ink});
    };
    for (const penmoji::GlyphShape& glyph : penmoji::glyphTable()) {
        take(glyph.code, glyph.width / 16);
    }
    for (int code : extraCodes()) {
        take(code, std::nullopt);
    }
    return out;
}

QString tableSource(const std::vector<Measured>& glyphs, const QString& setting) {
    QString text;
    QTextStream out(&text);
    out << "// SPDX-License-Identifier: MIT\n// Generated by tools/quality/fine_font_table from "
        << setting
        << "; do not edit.\n"
           "// Rows: Shift_JIS code, advance in pixels, then the 16 ink rows (see the header).\n\n"
           "#include \"render/fine_glyph_bitmaps.h\"\n\n"
           "namespace penmoji {\n"
           "namespace {\n\n"
           "// clang-format off\n"
           "constexpr FineGlyph kFineGlyphs[] = {\n";
    for (const Measured& g : glyphs) {
        out << QStringLiteral("    {0x%1, %2, {{")
                   .arg(g.code, 4, 16, QLatin1Char('0'))
                   .arg(g.width);
        for (std::size_t r = 0; r < g.ink.size(); ++r) {
            out << (r == 0 ? "" : ", ") << QStringLiteral("0x%1").arg(g.ink[r], 0, 16);
        }
        out << "}}},\n";
    }
    out << "};\n"
           "// clang-format on\n\n"
           "}  // namespace\n\n"
           "std::span<const FineGlyph> fineGlyphs() {\n"
           "    return kFineGlyphs;\n"
           "}\n\n"
           "}  // namespace penmoji\n";
    return text;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const penmoji::tools::FontTableStart start = penmoji::tools::startFontTableTool(
        "fine_font_table",
        QStringLiteral("Writes the fine matcher's character table measured from a 16-pixel font."));
    if (!start.run) {
        return start.exitStatus;
    }
    const penmoji::tools::FontTableRun& run = *start.run;

    QTextStream log(stderr);
    FontProbe probe(run.font);
    const std::vector<Measured> glyphs = measureAll(probe, log);
    const QByteArray source =
        tableSource(glyphs, QStringLiteral("%1 at 16 px").arg(QFileInfo(run.fontPath).fileName()))
            .toUtf8();
    if (!penmoji::tools::writeTableSource("fine_font_table", run.outPath, source)) {
        return 2;
    }
    log << glyphs.size() << " characters written to " << run.outPath << "\n";
    return 0;
}
