// SPDX-License-Identifier: MIT
#include "cli/picture_tracing.h"

#include "cli/module_loader.h"
#include "cli/render_modules.h"

namespace penmoji::cli {
namespace {

constexpr ModuleSpec kTracing{"tracing.so", "penmoji_tracing_module"};

}  // namespace

TracedPicture tracePicture(const std::string& path, const trace::TraceOptions& options) {
    static const LoadedModule<TracingModule> loaded = loadModule<TracingModule>(kTracing);
    if (loaded.table == nullptr) {
        TracedPicture result;
        result.error = "cannot trace pictures: " + loaded.error;
        return result;
    }
    return loaded.table->tracePicture(path, options);
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
