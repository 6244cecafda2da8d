// SPDX-License-Identifier: MIT
// glyph_sheet: draws every glyph table entry's strokes over its character as a 16-pixel
// bitmap font renders it, and reports how closely they fit. See README.md.

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include "glyph_sheet.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailure = 2;

int fail(int status, const QString& message) {
    std::fprintf(stderr, "glyph_sheet: %s\n", qPrintable(message));
    return status;
}

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char* argv[]) {
    // The tool never shows a window; without this it would need a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("glyph_sheet"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Renders each glyph table entry's character in a 16-pixel font, draws the entry's "
        "strokes over it (glyph_sheet.png) and reports how closely they fit (glyph_fit.txt)."));
    parser.addHelpOption();
    const QCommandLineOption outDirOption(QStringLiteral("out-dir"),
                                          QStringLiteral("Directory for the sheet and report "
                                                         "(created if missing). Required."),
                                          QStringLiteral("dir"));
    const QCommandLineOption fontOption(
        QStringLiteral("font"),
        QStringLiteral("Font file to measure against (default: %1).")
            .arg(QStringLiteral(PENMOJI_DEFAULT_FONT)),
        QStringLiteral("file"), QStringLiteral(PENMOJI_DEFAULT_FONT));
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"),
        QStringLiteral("Screen pixels per font pixel on the sheet, 2 to 32 (default: 8)."),
        QStringLiteral("n"), QStringLiteral("8"));
    parser.addOptions({outDirOption, fontOption, scaleOption});

    if (!parser.parse(QCoreApplication::arguments())) {
        QString error = parser.errorText();
        if (error.endsWith(u'.')) {
            error.chop(1);
        }
        return fail(kExitUsage, error + QStringLiteral(" (see --help)"));
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        parser.showHelp(0);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return fail(kExitUsage, QStringLiteral("unexpected argument '%1' (see --help)")
                                    .arg(parser.positionalArguments().first()));
    }
    if (!parser.isSet(outDirOption) || parser.value(outDirOption).isEmpty()) {
        return fail(kExitUsage, QStringLiteral("--out-dir <dir> is required (see --help)"));
    }
    bool scaleOk = false;
    const int scale = parser.value(scaleOption).toInt(&scaleOk);
    if (!scaleOk || scale < 2 || scale > 32) {
        return fail(kExitUsage, QStringLiteral("--scale must be a whole number from 2 to 32, "
                                               "not '%1'")
                                    .arg(parser.value(scaleOption)));
    }

    const QString fontPath = parser.value(fontOption);
    if (!QFileInfo(fontPath).isFile()) {
        return fail(kExitUsage, QStringLiteral("font file '%1' does not exist").arg(fontPath));
    }
    const int fontId = QFontDatabase::addApplicationFont(fontPath);
    if (fontId < 0 || QFontDatabase::applicationFontFamilies(fontId).isEmpty()) {
        return fail(kExitUsage, QStringLiteral("'%1' is not a font Qt can load").arg(fontPath));
    }
    const QString family = QFontDatabase::applicationFontFamilies(fontId).first();
    QFont font(family);
    font.setPixelSize(16);
    // Ink must be two-valued to be counted, and a character the font lacks must show as
    // missing ink rather than be drawn by a fallback face.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    if (QFontInfo(font).family() != family) {
        return fail(kExitFailure, QStringLiteral("font family '%1' from '%2' could not be selected")
                                      .arg(family, fontPath));
    }

    const QString outDir = parser.value(outDirOption);
    if (!QDir().mkpath(outDir)) {
        return fail(kExitFailure, QStringLiteral("cannot create directory '%1'").arg(outDir));
    }

    const GlyphSheet sheet(font);
    const std::vector<GlyphFit> fits = sheet.measureAll();
    const FitSummary summary = GlyphSheet::summarize(fits);

    const QString imagePath = QDir(outDir).filePath(QStringLiteral("glyph_sheet.png"));
    if (!sheet.drawSheet(fits, summary, scale).save(imagePath, "PNG")) {
        return fail(kExitFailure, QStringLiteral("cannot write '%1'").arg(imagePath));
    }
    const QString reportPath = QDir(outDir).filePath(QStringLiteral("glyph_fit.txt"));
    const QString setting =
        QStringLiteral("%1 (%2) at 16 px; box top = top of the line, baseline %3 px below it")
            .arg(family, fontPath)
            .arg(QFontMetrics(font).ascent());
    if (!writeText(reportPath, GlyphSheet::report(fits, summary, setting))) {
        return fail(kExitFailure, QStringLiteral("cannot write '%1'").arg(reportPath));
    }

    QTextStream(stdout) << GlyphSheet::summaryText(summary, static_cast<int>(fits.size()))
                        << "wrote " << imagePath << " and " << reportPath << "\n";
    return 0;
}
