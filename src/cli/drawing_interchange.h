// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "document/vector_set.h"

namespace penmoji::cli {

struct FileFailure;

// A canvas size in pixels.
struct CanvasSize {
    int width = 0;
    int height = 0;
};

// How the art is painted into a picture (see ArtPictureOptions).
struct PictureOptions {
    int linePitch = 18;
    int scale = 1;
    bool transparent = false;
    bool withDrawing = false;
};

// The parts of the renderer that need Qt: reading SVG and painting the art. They live in the
// interchange module, loaded on first use; without it each says which package brings it.

// Loads the module and sets Qt up without a display; call once on the main thread before any
// other function here, since the batch calls them from several threads.
void prepareQtInterchange();

// Reads the SVG picture `svg`, which came from `input`, into `out`: at 1:1, or fitted into
// `fit`. `note` gets what was left out or split, empty when nothing was.
std::optional<FileFailure> importSvgDrawing(const std::string& input, std::string_view svg,
                                            const std::optional<CanvasSize>& fit, VectorSet& out,
                                            std::string& note);

// Paints the rendered Shift_JIS text and writes it as a PNG file.
std::optional<FileFailure> writeArtPicture(const std::filesystem::path& output,
                                           std::string_view text, const VectorSet& drawing,
                                           const PictureOptions& options);

}  // namespace penmoji::cli
