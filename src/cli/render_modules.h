// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cli/drawing_interchange.h"
#include "cli/file_rendering.h"
#include "cli/picture_tracing.h"
#include "document/vector_set.h"
#include "trace/trace.h"

// What penmoji-render's loadable modules offer. Rendering a drawing into text needs neither Qt
// nor OpenCV, so the program links neither; reading SVG and writing pictures (Qt) and tracing
// (Qt's image readers and OpenCV) live in modules loaded on first use. A module is built with
// the program from the same sources, so the tables pass C++ types; the version string keeps a
// module of another build out.
namespace penmoji::cli {

struct InterchangeModule {
    const char* version;
    // Sets Qt up without a display; called once on the main thread before any other function.
    void (*prepare)();
    std::optional<FileFailure> (*importSvgDrawing)(const std::string& input, std::string_view svg,
                                                   const std::optional<CanvasSize>& fit,
                                                   VectorSet& out, std::string& note);
    std::optional<FileFailure> (*writeArtPicture)(const std::filesystem::path& output,
                                                  std::string_view text, const VectorSet& drawing,
                                                  const PictureOptions& options);
};

struct TracingModule {
    const char* version;
    TracedPicture (*tracePicture)(const std::string& path, const trace::TraceOptions& options);
};

}  // namespace penmoji::cli

// Each module's one exported symbol.
extern "C" {
const penmoji::cli::InterchangeModule* penmoji_interchange_module();
const penmoji::cli::TracingModule* penmoji_tracing_module();
}
