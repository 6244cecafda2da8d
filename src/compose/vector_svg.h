// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <iosfwd>

#include "document/file_status.h"
#include "document/vector_set.h"

namespace penmoji {

// Writes the drawing as an SVG document for vector editors: one <polyline> per used slot, in
// slot order, its points in canvas pixels as user units (a vector of one point has it twice). The
// viewBox starts at the canvas origin and reaches one pixel past the largest coordinate, with width
// and height in pixels equal to it, so that importing the file at 1:1 gives the same vectors back.
FileStatus writeVectorSvg(std::ostream& out, const VectorSet& vectors);

// Replaces the file at `path` through writeFileAtomically; `protectedFile` (the drawing it was
// made from) is never written over.
FileStatus saveVectorSvg(const std::filesystem::path& path, const VectorSet& vectors,
                         const std::filesystem::path& protectedFile = {});

}  // namespace penmoji
