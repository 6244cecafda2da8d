// SPDX-License-Identifier: MIT
#include "compose/vector_svg.h"

#include <algorithm>
#include <ostream>

#include "document/atomic_file.h"

namespace penmoji {
namespace {

int usedPoints(const VectorLine& line) {
    return std::clamp(line.count, 0, kMaxPoints);
}

// One pixel past the largest coordinate on each axis, at least one pixel.
Point extent(const VectorSet& vectors) {
    Point size{1, 1};
    for (const VectorLine& line : vectors.lines) {
        for (int i = 0; i < usedPoints(line); ++i) {
            size.x = std::max(size.x, line.points[i].x + 1);
            size.y = std::max(size.y, line.points[i].y + 1);
        }
    }
    return size;
}

}  // namespace

FileStatus writeVectorSvg(std::ostream& out, const VectorSet& vectors) {
    const Point size = extent(vectors);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size.x << "\" height=\""
        << size.y << "\" viewBox=\"0 0 " << size.x << ' ' << size.y << "\">\n"
        << "<g fill=\"none\" stroke=\"black\" stroke-width=\"1\" stroke-linejoin=\"round\" "
           "stroke-linecap=\"round\">\n";
    for (const VectorLine& line : vectors.lines) {
        const int count = usedPoints(line);
        if (count == 0) {
            continue;
        }
        out << "<polyline points=\"";
        for (int i = 0; i < count; ++i) {
            out << (i == 0 ? "" : " ") << line.points[i].x << ',' << line.points[i].y;
        }
        // A polyline of one point is no line in SVG; the point twice keeps it.
        if (count == 1) {
            out << ' ' << line.points[0].x << ',' << line.points[0].y;
        }
        out << "\"/>\n";
    }
    out << "</g>\n</svg>\n";
    out.flush();
    return out ? FileStatus::success() : FileStatus::failure(FileError::WriteError, "write error");
}

FileStatus saveVectorSvg(const std::filesystem::path& path, const VectorSet& vectors,
                         const std::filesystem::path& protectedFile) {
    return writeFileAtomically(
        path, [&](std::ostream& out) { return writeVectorSvg(out, vectors); }, protectedFile);
}

}  // namespace penmoji
