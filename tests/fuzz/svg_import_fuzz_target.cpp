// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to importSvg, through the SVG module and the recording paint device, as
// the editor and the command-line renderer import a picture. Built as a libFuzzer target when
// fuzzing is enabled, and in every build with Qt linked with corpus_runner.cpp to replay the
// checked-in corpus.
//
// Beyond not crashing or hanging, every input must end in one of two ways: refused, with a
// reason and no drawing; or accepted, with a drawing whose vectors fit the document and a
// report that accounts for them.

#include <QByteArray>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "document/vector_file.h"
#include "interchange/svg_import.h"

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "SVG import fuzz target: %s\n", what);
        std::abort();
    }
}

// The SVG module needs an application for its fonts; one lives for the whole run.
void prepareApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The SVG module's warnings on every broken input would cost more than the inputs.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "svg_import_fuzz";
    static char* argv[] = {name, nullptr};
    static const auto application = std::make_unique<QGuiApplication>(argc, argv);
}

void checkAccepted(const penmoji::SvgImport& imported) {
    require(imported.vectors != nullptr, "accepted without a drawing");
    const penmoji::SvgImportReport& report = imported.report;
    int used = 0;
    for (const penmoji::VectorLine& line : imported.vectors->lines) {
        require(line.count >= 0 && line.count <= penmoji::kMaxPoints, "vector of bad length");
        for (int i = 0; i < line.count; ++i) {
            const penmoji::Point& p = line.points[static_cast<std::size_t>(i)];
            require(p.x >= penmoji::kMinCoordinate && p.x <= penmoji::kMaxCoordinate &&
                        p.y >= penmoji::kMinCoordinate && p.y <= penmoji::kMaxCoordinate,
                    "point beyond the coordinates a document holds");
        }
        used += line.count > 0 ? 1 : 0;
    }
    require(used == report.vectors, "report counts other vectors than the drawing holds");
    require(report.vectors <= penmoji::kSlotCount, "more vectors than slots");
    require(report.droppedOutlines <= report.outlines, "more outlines dropped than found");
    require(report.droppedOutlines == 0 || report.vectors == penmoji::kSlotCount,
            "outlines dropped while slots were free");
}

}  // namespace

// Fontconfig keeps what it reads of the fonts for the life of the process; the leak checker
// would take the first text drawn for a leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    prepareApplication();
    const QByteArray svg = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                   static_cast<qsizetype>(size));
    for (const penmoji::SvgPlacement placement :
         {penmoji::SvgPlacement::Actual, penmoji::SvgPlacement::FitCanvas}) {
        const penmoji::SvgImport imported = penmoji::importSvg(svg, placement, QSize(600, 400));
        if (!imported.status.ok()) {
            require(!imported.status.reason().empty(), "refusal without a reason");
            require(imported.vectors == nullptr, "refused with a drawing");
            continue;
        }
        checkAccepted(imported);
    }
    return 0;
}
