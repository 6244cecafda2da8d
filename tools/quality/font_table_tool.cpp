// SPDX-License-Identifier: MIT
#include "font_table_tool.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>

#include <cstdio>

namespace penmoji::tools {
namespace {

constexpr int kExitUsage = 1;
constexpr int kExitFailure = 2;

FontTableStart fail(const char* toolName, int status, const QString& message) {
    std::fprintf(stderr, "%s: %s\n", toolName, qPrintable(message));
    return {std::nullopt, status};
}

}  // namespace

FontTableStart startFontTableTool(const char* toolName, const QString& description) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("The C++ file to write. Required."),
                                       QStringLiteral("file"));
    const QCommandLineOption fontOption(
        QStringLiteral("font"),
        QStringLiteral("Font file (default: %1).").arg(PENMOJI_DEFAULT_FONT),
        QStringLiteral("file"), QStringLiteral(PENMOJI_DEFAULT_FONT));
    parser.addOptions({outOption, fontOption});
    if (!parser.parse(QCoreApplication::arguments())) {
        return fail(toolName, kExitUsage, parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0);
    }
    if (!parser.isSet(outOption) || !parser.positionalArguments().isEmpty()) {
        return fail(toolName, kExitUsage,
                    QStringLiteral("usage: %1 --out <file> [--font <file>]").arg(toolName));
    }
    const QString fontPath = parser.value(fontOption);
    const int fontId = QFontDatabase::addApplicationFont(fontPath);
    if (!QFileInfo(fontPath).isFile() || fontId < 0) {
        return fail(toolName, kExitUsage,
                    QStringLiteral("cannot load the font '%1'").arg(fontPath));
    }
    QFont font(QFontDatabase::applicationFontFamilies(fontId).value(0));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    if (QFontInfo(font).family() != font.family()) {
        return fail(toolName, kExitFailure,
                    QStringLiteral("the font's family could not be selected"));
    }
    return {FontTableRun{parser.value(outOption), fontPath, font}, 0};
}

QByteArray shiftJisBytes(int code) {
    QByteArray bytes;
    if (code > 0xFF) {
        bytes.append(static_cast<char>(code >> 8));
    }
    bytes.append(static_cast<char>(code & 0xFF));
    return bytes;
}

bool writeTableSource(const char* toolName, const QString& path, const QByteArray& source) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(source) != source.size()) {
        fail(toolName, kExitFailure, QStringLiteral("cannot write '%1'").arg(path));
        return false;
    }
    return true;
}

}  // namespace penmoji::tools
