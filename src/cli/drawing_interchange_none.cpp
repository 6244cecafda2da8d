// SPDX-License-Identifier: MIT
#include "cli/drawing_interchange.h"
#include "cli/file_rendering.h"

namespace penmoji::cli {

bool hasQtInterchange() {
    return false;
}

void prepareQtInterchange() {}

std::optional<FileFailure> importSvgDrawing(const std::string& input, std::string_view,
                                            const std::optional<CanvasSize>&, VectorSet&,
                                            std::string&) {
    return FileFailure{input, "this build of penmoji-render reads no SVG (built without Qt)"};
}

std::optional<FileFailure> writeArtPicture(const std::filesystem::path& output, std::string_view,
                                           const VectorSet&, const PictureOptions&) {
    return FileFailure{output.string(),
                       "this build of penmoji-render writes no pictures (built without Qt)"};
}

}  // namespace penmoji::cli
