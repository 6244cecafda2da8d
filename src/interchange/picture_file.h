// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <filesystem>
#include <string>

namespace penmoji {

// A picture read from a file, or why it could not be: a reason that names the file when the file
// itself was refused ("cannot open a.png: is not a regular file"), else one about its pixels.
struct PictureRead {
    QImage image;       // null on failure
    std::string error;  // empty on success
};

// Reads a picture to trace or to show under the drawing, in any format Qt's image readers know,
// turned as the camera held it. Only a regular file is opened (a FIFO or a device would block
// or never end), of at most a few hundred megabytes, and only a picture whose pixels fit within
// Qt's allocation limit is decoded: a larger one is refused as "too large (W × H)" before its
// pixels are allocated.
PictureRead readPictureFile(const std::filesystem::path& path);

}  // namespace penmoji
