// SPDX-License-Identifier: MIT
#include "cli/picture_tracing.h"

#include <algorithm>

#ifdef PENMOJI_CLI_TRACE
#include <QImage>

#include "interchange/picture_file.h"
#include "interchange/picture_grey.h"
#endif

namespace penmoji::cli {
namespace {

[[maybe_unused]] std::unique_ptr<VectorSet> drawingOf(
    const std::vector<std::vector<Point>>& lines) {
    auto drawing = std::make_unique<VectorSet>();
    for (std::size_t i = 0; i < lines.size() && i < drawing->lines.size(); ++i) {
        VectorLine& line = drawing->lines[i];
        line.count = static_cast<std::int32_t>(std::min<std::size_t>(lines[i].size(), kMaxPoints));
        std::copy_n(lines[i].begin(), line.count, line.points.begin());
    }
    return drawing;
}

}  // namespace

TracedPicture tracePicture(const std::string& path, const trace::TraceOptions& options) {
    TracedPicture result;
#ifdef PENMOJI_CLI_TRACE
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
#else
    (void)path;
    (void)options;
    result.error = "this penmoji-render was built without Qt, which reads the pictures to trace";
#endif
    return result;
}

std::string describeTracing(const trace::TraceReport& report) {
    std::string text = "traced " + std::to_string(report.vectors) + " vectors of " +
                       std::to_string(report.points) + " points (grey threshold " +
                       std::to_string(report.threshold) + ", " + std::to_string(report.specks) +
                       " specks dropped";
    if (report.splitLines > 0) {
        text += ", " + std::to_string(report.splitLines) + " long lines cut into several vectors";
    }
    if (report.droppedLines > 0) {
        text += ", the " + std::to_string(report.droppedLines) +
                " shortest lines left out: a drawing holds " + std::to_string(kSlotCount) +
                " vectors";
    }
    return text + ")";
}

}  // namespace penmoji::cli
