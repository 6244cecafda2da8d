// SPDX-License-Identifier: MIT
// penmoji-quality: renders drawings in the default and the fine mode, paints the text as the
// output font sets it and measures how closely it follows the drawn lines. See README.md.

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <vector>

#include "compose/render_driver.h"
#include "document/vector_file.h"
#include "quality_measure.h"
#include "text_pixels.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailure = 2;

int fail(int status, const QString& message) {
    std::fprintf(stderr, "penmoji-quality: %s\n", qPrintable(message));
    return status;
}

struct Setting {
    const char* name;
    penmoji::RenderSettings settings;
};

std::vector<Setting> settingsToMeasure() {
    penmoji::RenderSettings textOnly;
    textOnly.noEntities = true;
    return {{"default", {}}, {"text-only", textOnly}};
}

struct Outcome {
    QImage ink;
    QualityScores scores;
    double milliseconds = 0;
};

bool renderAndMeasure(const penmoji::VectorSet& vectors, penmoji::RenderSettings settings,
                      const LinePixels& lines, const QFont& font, int reach, Outcome& out,
                      std::string& error) {
    penmoji::NoProgress quiet;
    penmoji::RandomGenerator random;
    QElapsedTimer timer;
    timer.start();
    const std::string text = penmoji::renderText(vectors, settings, random, quiet)->text;
    out.milliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::vector<PlacedCharacter> characters;
    if (!layOutText(text, characters, error)) {
        return false;
    }
    out.ink = paintText(characters, font, lines.mask.size());
    out.scores = measureQuality(lines, out.ink, reach);
    return true;
}

QImage panel(const LinePixels& lines, const QImage* ink, const QString& label) {
    constexpr int kLabel = 20;
    const QSize size = lines.mask.size();
    QImage image(size.width(), size.height() + kLabel, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRgb lineColour = ink ? qRgb(190, 205, 255) : qRgb(0, 0, 0);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (ink && ink->constScanLine(y)[x] != 0) {
                image.setPixel(x, y + kLabel, qRgb(0, 0, 0));
            } else if (lines.mask.constScanLine(y)[x] != 0) {
                image.setPixel(x, y + kLabel, lineColour);
            }
        }
    }
    QPainter painter(&image);
    painter.fillRect(0, 0, image.width(), kLabel, QColor(235, 235, 235));
    painter.setPen(Qt::black);
    painter.drawText(QRect(4, 0, image.width() - 8, kLabel), Qt::AlignVCenter, label);
    return image;
}

QImage sideBySide(const std::vector<QImage>& panels) {
    constexpr int kSpace = 8;
    int width = -kSpace;
    int height = 0;
    for (const QImage& p : panels) {
        width += p.width() + kSpace;
        height = std::max(height, p.height());
    }
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(qRgb(120, 120, 120));
    QPainter painter(&out);
    int x = 0;
    for (const QImage& p : panels) {
        painter.drawImage(x, 0, p);
        x += p.width() + kSpace;
    }
    return out;
}

QString scoreText(const QualityScores& s) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(s.recall, 5, 'f', 1)
        .arg(s.precision, 5, 'f', 1)
        .arg(s.f, 5, 'f', 1)
        .arg(s.orientedF, 5, 'f', 1);
}

QStringList drawingFiles(const QStringList& arguments) {
    QStringList files;
    for (const QString& argument : arguments) {
        if (QFileInfo(argument).isDir()) {
            for (const QFileInfo& info :
                 QDir(argument).entryInfoList({QStringLiteral("*.pmj")}, QDir::Files, QDir::Name)) {
                files << info.filePath();
            }
        } else {
            files << argument;
        }
    }
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Renders each drawing (a .pmj file, or every .pmj file of a folder) with the default "
        "and the fine matcher, with and without entities, and reports recall, precision, F "
        "and the oriented F of the text against the drawn lines, in percent."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("drawings"), QStringLiteral("Files or folders."));
    const QCommandLineOption imagesOption(
        QStringLiteral("images"),
        QStringLiteral("Folder for side-by-side images (drawing | default | fine)."),
        QStringLiteral("dir"));
    const QCommandLineOption fontOption(
        QStringLiteral("font"),
        QStringLiteral("Font file (default: %1).").arg(PENMOJI_DEFAULT_FONT),
        QStringLiteral("file"), QStringLiteral(PENMOJI_DEFAULT_FONT));
    const QCommandLineOption nearOption(
        QStringLiteral("near"),
        QStringLiteral("Pixels within which ink and line pair up (default 2)."),
        QStringLiteral("pixels"), QStringLiteral("2"));
    parser.addOptions({imagesOption, fontOption, nearOption});
    if (!parser.parse(QCoreApplication::arguments())) {
        return fail(kExitUsage, parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0);
    }
    bool nearIsNumber = false;
    const int reach = parser.value(nearOption).toInt(&nearIsNumber);
    if (!nearIsNumber || reach < 0 || reach > 8) {
        return fail(kExitUsage, QStringLiteral("--near takes 0 to 8 pixels"));
    }
    const QStringList files = drawingFiles(parser.positionalArguments());
    if (files.isEmpty()) {
        return fail(kExitUsage, QStringLiteral("no drawings given (see --help)"));
    }
    const int fontId = QFontDatabase::addApplicationFont(parser.value(fontOption));
    if (fontId < 0) {
        return fail(kExitUsage,
                    QStringLiteral("cannot load the font '%1'").arg(parser.value(fontOption)));
    }
    QFont font(QFontDatabase::applicationFontFamilies(fontId).value(0));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    const QString imageDir = parser.value(imagesOption);
    if (!imageDir.isEmpty() && !QDir().mkpath(imageDir)) {
        return fail(kExitFailure, QStringLiteral("cannot create '%1'").arg(imageDir));
    }

    QTextStream out(stdout);
    out << QStringLiteral("%1 %2 | %3 | %4 | ms default/fine\n")
               .arg(QStringLiteral("drawing"), -18)
               .arg(QStringLiteral("setting"), -9)
               .arg(QStringLiteral("default: R     P     F     Fo"), -26)
               .arg(QStringLiteral("fine: R     P     F     Fo"), -26);
    for (const Setting& setting : settingsToMeasure()) {
        double sumDefault = 0;
        double sumFine = 0;
        double sumOrientedDefault = 0;
        double sumOrientedFine = 0;
        for (const QString& file : files) {
            auto vectors = std::make_unique<penmoji::VectorSet>();
            const penmoji::FileStatus status =
                penmoji::loadVectorFile(file.toStdString(), *vectors);
            if (!status.ok()) {
                return fail(kExitFailure, QStringLiteral("cannot read '%1'").arg(file));
            }
            const LinePixels lines = paintLines(*vectors, canvasSize(*vectors));
            Outcome plain;
            Outcome fine;
            std::string error;
            penmoji::RenderSettings fineSettings = setting.settings;
            fineSettings.fine = true;
            if (!renderAndMeasure(*vectors, setting.settings, lines, font, reach, plain, error) ||
                !renderAndMeasure(*vectors, fineSettings, lines, font, reach, fine, error)) {
                return fail(kExitFailure, QString::fromStdString(error));
            }
            const QString name = QFileInfo(file).completeBaseName();
            out << QStringLiteral("%1 %2 | %3 | %4 | %5 / %6\n")
                       .arg(name, -18)
                       .arg(QString::fromLatin1(setting.name), -9)
                       .arg(scoreText(plain.scores), -26)
                       .arg(scoreText(fine.scores), -26)
                       .arg(plain.milliseconds, 0, 'f', 1)
                       .arg(fine.milliseconds, 0, 'f', 1);
            sumDefault += plain.scores.f;
            sumFine += fine.scores.f;
            sumOrientedDefault += plain.scores.orientedF;
            sumOrientedFine += fine.scores.orientedF;
            if (!imageDir.isEmpty()) {
                const QImage image = sideBySide(
                    {panel(lines, nullptr, QStringLiteral("drawing")),
                     panel(lines, &plain.ink,
                           QStringLiteral("default  F %1").arg(plain.scores.f, 0, 'f', 1)),
                     panel(lines, &fine.ink,
                           QStringLiteral("fine  F %1").arg(fine.scores.f, 0, 'f', 1))});
                const QString path = QDir(imageDir).filePath(
                    QStringLiteral("%1-%2.png").arg(name, QString::fromLatin1(setting.name)));
                if (!image.save(path)) {
                    return fail(kExitFailure, QStringLiteral("cannot write '%1'").arg(path));
                }
            }
        }
        const auto n = static_cast<double>(files.size());
        out << QStringLiteral("%1 %2 | mean F %3, Fo %4 | mean F %5, Fo %6\n")
                   .arg(QStringLiteral("MEAN"), -18)
                   .arg(QString::fromLatin1(setting.name), -9)
                   .arg(sumDefault / n, 0, 'f', 1)
                   .arg(sumOrientedDefault / n, 0, 'f', 1)
                   .arg(sumFine / n, 0, 'f', 1)
                   .arg(sumOrientedFine / n, 0, 'f', 1);
    }
    return 0;
}
