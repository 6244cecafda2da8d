// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QImage>

#include <string>
#include <string_view>
#include <vector>

#include "document/vector_set.h"
#include "quality_measure.h"

// A character of rendered text at the pixel where the text puts it.
struct PlacedCharacter {
    int code = 0;  // Shift_JIS
    int x = 0;     // pen position
    int top = 0;   // row top
};

// Lays out rendered text (rows ending in CR LF, each starting with the uncounted full-width
// space) as a browser does with the output font: every element at the sum of the widths before
// it, rows 16 pixels apart from pixel 1. Blanks and entities advance the pen; dots and
// underscores are characters like any other. False, with `error` set, for a character whose
// width is unknown.
bool layOutText(std::string_view text, std::vector<PlacedCharacter>& out, std::string& error);

// Paints the characters with `font` (16 pixels, no anti-aliasing) into a Format_Grayscale8
// image, 255 = ink.
QImage paintText(const std::vector<PlacedCharacter>& characters, const QFont& font, QSize size);

// The drawing's polylines one pixel wide, with their directions.
LinePixels paintLines(const penmoji::VectorSet& vectors, QSize size);

// The canvas that holds the drawing and its text.
QSize canvasSize(const penmoji::VectorSet& vectors);
