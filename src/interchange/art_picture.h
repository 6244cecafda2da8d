// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <filesystem>
#include <string>
#include <string_view>

#include "document/file_status.h"
#include "document/vector_set.h"

namespace penmoji {

struct ArtPictureOptions {
    // Pixels from one row's top to the next: 18 as boards space the 16-pixel font, or 16 as the
    // renderer cuts the drawing.
    int linePitch = 18;
    // 1 or 2: each pixel becomes a square of this size, so a bigger picture stays as crisp.
    int scale = 1;
    // A transparent background instead of white.
    bool transparent = false;
    // When set, its lines are drawn faintly under the text, each 16-pixel band of the drawing
    // under the row made from it.
    const VectorSet* drawing = nullptr;
};

inline constexpr int kBoardLinePitch = 18;
inline constexpr int kCanvasLinePitch = 16;

// Paints rendered Shift_JIS text (rows ending in CR LF, a NUL ending the text) in the art's
// font, black. Each row's leading full-width space, which only keeps boards from eating the
// blanks at the start, is left out, so that every character stands on the canvas pixel it was
// chosen for: x from 0, each row's top at its number times the pitch. Entity blanks advance
// by their widths in the 16-pixel font (&ensp; 8, &nbsp; 5, &thinsp; 2), every other character
// by the font's own advance. A null image when the picture would be larger than a painter can
// paint (32767 pixels a side). Needs a QGuiApplication (fonts).
QImage paintArtPicture(std::string_view text, const ArtPictureOptions& options);

// The picture as paintArtPicture paints it, or a null image and the reason it is refused: larger
// than a painter paints, more memory than a picture may take, or memory run out. The reason
// gives the picture's true size and says when the drawing underneath is what makes it large,
// so that a picture is never written without what was asked for.
struct PaintedArt {
    QImage image;
    std::string refusal;
};
PaintedArt paintArt(std::string_view text, const ArtPictureOptions& options);

// Paints the picture and replaces `path` with it as a PNG file through writeFileAtomically.
FileStatus saveArtPicture(const std::filesystem::path& path, std::string_view text,
                          const ArtPictureOptions& options,
                          const std::filesystem::path& protectedFile = {});

}  // namespace penmoji
