// SPDX-License-Identifier: MIT
// The interchange module: reading SVG and painting the art into pictures, with Qt.

#include <QGuiApplication>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

#include "cli/render_modules.h"
#include "interchange/art_picture.h"
#include "interchange/svg_import.h"

namespace penmoji::cli {
namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's notes on the session (no runtime directory, no display) mean nothing to the user of a
// command-line renderer; its other warnings (an SVG element it cannot read) pass.
void quietSessionNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("QStandardPaths:"))) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    }
}

void prepare() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    previousHandler = qInstallMessageHandler(quietSessionNotes);
    // The renderer never opens a window: fonts and painting work without a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "penmoji-render";
    static char* argv[] = {name, nullptr};
    // Lives until the program ends.
    static const auto application = std::make_unique<QGuiApplication>(argc, argv);
}

std::optional<FileFailure> importSvgDrawing(const std::string& input, std::string_view svg,
                                            const std::optional<CanvasSize>& fit, VectorSet& out,
                                            std::string& note) {
    prepare();
    const SvgImport imported = importSvg(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())),
                                         fit ? SvgPlacement::FitCanvas : SvgPlacement::Actual,
                                         fit ? QSize(fit->width, fit->height) : QSize());
    if (!imported.status.ok()) {
        return FileFailure{input, imported.status.reason()};
    }
    out = *imported.vectors;
    const SvgImportReport& report = imported.report;
    note =
        report.complete() && report.splitOutlines == 0 ? std::string() : describeSvgImport(report);
    return std::nullopt;
}

std::optional<FileFailure> writeArtPicture(const std::filesystem::path& output,
                                           std::string_view text, const VectorSet& drawing,
                                           const PictureOptions& options) {
    prepare();
    ArtPictureOptions picture;
    picture.linePitch = options.linePitch;
    picture.scale = options.scale;
    picture.transparent = options.transparent;
    picture.drawing = options.withDrawing ? &drawing : nullptr;
    if (const FileStatus status = saveArtPicture(output, text, picture); !status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    return std::nullopt;
}

constexpr InterchangeModule kModule{PENMOJI_VERSION, prepare, importSvgDrawing, writeArtPicture};

}  // namespace
}  // namespace penmoji::cli

extern "C" __attribute__((visibility("default"))) const penmoji::cli::InterchangeModule*
penmoji_interchange_module() {
    return &penmoji::cli::kModule;
}
