// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

#include "document/file_status.h"
#include "document/vector_set.h"

namespace penmoji {

// Where an imported picture lands on the canvas.
enum class SvgPlacement {
    // An SVG user unit is a canvas pixel, after the document's own transforms and viewBox.
    Actual,
    // Scaled, keeping its proportions, so that its outlines fill the given canvas less a margin.
    FitCanvas,
};

// What became of the picture's outlines, so that nothing is lost without a word.
struct SvgImportReport {
    int outlines = 0;         // open or closed lines found: each subpath of every shape
    int vectors = 0;          // vectors made of them
    int splitOutlines = 0;    // outlines of more than kMaxPoints points, cut into several vectors
    int droppedOutlines = 0;  // outlines left out, wholly or in part, once every slot was used
    int droppedVectors = 0;   // vectors those would have made
    int ignoredItems = 0;     // pictures, and text not painted as outlines: no lines to take
    int clampedPoints = 0;    // points beyond the coordinates a document may hold
    int vanishedShapes = 0;   // shapes with coordinates beyond any number (1e308): left out
    int ignoredClips = 0;     // clip paths and masks not applied: their shapes come in whole
    int circularUses = 0;     // uses that paint themselves, an error that paints nothing

    // Nothing was left out or changed beyond rounding to pixels.
    bool complete() const {
        return droppedOutlines == 0 && ignoredItems == 0 && clampedPoints == 0 &&
               vanishedShapes == 0 && ignoredClips == 0 && circularUses == 0;
    }
};

// The imported drawing as a value, for the caller to apply as one change of its document.
struct SvgImport {
    FileStatus status = FileStatus::success();
    std::unique_ptr<VectorSet> vectors;  // set when status is ok
    SvgImportReport report;
};

// The largest SVG document an import reads.
inline constexpr qsizetype kMaxSvgBytes = qsizetype{16} << 20;
// The most elements an import reads, each <use> counted as the elements it stands for.
inline constexpr std::uint64_t kMaxElements = 2'000'000;

// Imports an SVG document: Qt's SVG module renders it into a recording device that keeps every
// visible line, polyline, polygon, rectangle, ellipse and path with its transform. Each subpath
// becomes a vector in drawing order; curves are flattened within 0.5 pixels and then simplified
// within a pixel before the points are rounded to pixels (the points the document names stay),
// and a point equal to the one before it is left out (an outline within one pixel becomes a
// vector of one point, as a single click makes). A closed subpath returns to its first point;
// a zero-length stroke with a round or square cap of 2 pixels or more becomes a level line as
// wide as its cap. Text comes in as the outlines of its letters, as the SVG module paints it.
// Only what a browser shows comes in: nothing of opacity 0 or painted transparent, no use of a
// display:none element, no content of a clip path, mask or unused symbol.
// Refused with the reason: more than kMaxSvgBytes, more than kMaxElements, not
// an SVG document, or a picture whose shapes were all left out. A file must be a regular file.
// Needs a QGuiApplication (the SVG module uses fonts).
SvgImport importSvg(const QByteArray& svg, SvgPlacement placement, QSize canvas = {});
SvgImport importSvgFile(const QString& path, SvgPlacement placement, QSize canvas = {});

// The report as one English sentence for the command line, e.g. "212 outlines: 200 vectors;
// 12 outlines (12 vectors) dropped: the document holds 200 vectors".
std::string describeSvgImport(const SvgImportReport& report);

}  // namespace penmoji
