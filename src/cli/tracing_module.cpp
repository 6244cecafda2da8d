// SPDX-License-Identifier: MIT
// The tracing module: pictures read by Qt's image readers, traced with OpenCV's imaging.

#include <QImage>

#include <algorithm>

#include "cli/render_modules.h"
#include "interchange/picture_file.h"
#include "interchange/picture_grey.h"

namespace penmoji::cli {
namespace {

std::unique_ptr<VectorSet> drawingOf(const std::vector<std::vector<Point>>& lines) {
    auto drawing = std::make_unique<VectorSet>();
    for (std::size_t i = 0; i < lines.size() && i < drawing->lines.size(); ++i) {
        VectorLine& line = drawing->lines[i];
        line.count = static_cast<std::int32_t>(std::min<std::size_t>(lines[i].size(), kMaxPoints));
        std::copy_n(lines[i].begin(), line.count, line.points.begin());
    }
    return drawing;
}

TracedPicture tracePicture(const std::string& path, const trace::TraceOptions& options) {
    TracedPicture result;
    const PictureRead picture = readPictureFile(path);
    if (picture.image.isNull()) {
        result.error = picture.error;
        return result;
    }
    const QImage grey = greyForTracing(picture.image);
    const trace::GreyImage image{grey.width(),
                                 grey.height(),
                                 static_cast<int>(grey.bytesPerLine()),
                                 {grey.constBits(), static_cast<std::size_t>(grey.sizeInBytes())}};
    trace::TraceResult traced = trace::traceLines(image, options);
    if (!traced.error.empty()) {
        result.error = traced.error;
        return result;
    }
    result.drawing = drawingOf(traced.lines);
    result.report = traced.report;
    return result;
}

constexpr TracingModule kModule{PENMOJI_VERSION, tracePicture};

}  // namespace
}  // namespace penmoji::cli

extern "C" __attribute__((visibility("default"))) const penmoji::cli::TracingModule*
penmoji_tracing_module() {
    return &penmoji::cli::kModule;
}
