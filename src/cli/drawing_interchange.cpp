// SPDX-License-Identifier: MIT
#include "cli/drawing_interchange.h"

#include "cli/file_rendering.h"
#include "cli/module_loader.h"
#include "cli/render_modules.h"

namespace penmoji::cli {
namespace {

constexpr ModuleSpec kInterchange{"interchange.so", "penmoji_interchange_module"};

// Loaded once, by whichever thread asks first; the batch's threads then share it.
const LoadedModule<InterchangeModule>& interchange() {
    static const LoadedModule<InterchangeModule> loaded =
        loadModule<InterchangeModule>(kInterchange);
    return loaded;
}

}  // namespace

void prepareQtInterchange() {
    if (const InterchangeModule* module = interchange().table) {
        module->prepare();
    }
}

std::optional<FileFailure> importSvgDrawing(const std::string& input, std::string_view svg,
                                            const std::optional<CanvasSize>& fit, VectorSet& out,
                                            std::string& note) {
    const InterchangeModule* module = interchange().table;
    if (module == nullptr) {
        return FileFailure{input, "cannot read SVG: " + interchange().error};
    }
    return module->importSvgDrawing(input, svg, fit, out, note);
}

std::optional<FileFailure> writeArtPicture(const std::filesystem::path& output,
                                           std::string_view text, const VectorSet& drawing,
                                           const PictureOptions& options) {
    const InterchangeModule* module = interchange().table;
    if (module == nullptr) {
        return FileFailure{output.string(), "cannot write the picture: " + interchange().error};
    }
    return module->writeArtPicture(output, text, drawing, options);
}

}  // namespace penmoji::cli
