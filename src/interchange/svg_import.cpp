// SPDX-License-Identifier: MIT
#include "interchange/svg_import.h"

#include <QPainter>
#include <QPolygonF>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

#include "document/posix_file.h"
#include "document/vector_file.h"
#include "interchange/svg_mend.h"
#include "interchange/svg_outline.h"
#include "interchange/svg_recorder.h"
#include "interchange/svg_scan.h"

namespace penmoji {
namespace {

// Room left around a fitted picture, so that its outer lines can still be picked.
constexpr double kFitMargin = 8;
// How far, in canvas pixels, a simplified curve may stray from the flattened one: the matcher
// takes a few long strokes better than many short ones.
constexpr double kCurveTolerance = 1;
// A zero-length stroke with a round or square cap at least this wide is a dot to keep.
constexpr double kMinDotWidth = 2;

// Maps the recorded outlines into the canvas when they are to fill it.
QTransform fitTransform(const std::vector<RecordedPath>& paths, QSize canvas) {
    QRectF bounds;
    for (const RecordedPath& recorded : paths) {
        bounds |= recorded.transform.map(recorded.path).boundingRect();
    }
    const double width = canvas.width() - 2 * kFitMargin;
    const double height = canvas.height() - 2 * kFitMargin;
    if (bounds.isNull() || width <= 0 || height <= 0) {
        return {};
    }
    double scale = std::numeric_limits<double>::infinity();
    if (bounds.width() > 0) {
        scale = width / bounds.width();
    }
    if (bounds.height() > 0) {
        scale = std::min(scale, height / bounds.height());
    }
    if (!std::isfinite(scale)) {
        scale = 1;
    }
    return QTransform::fromTranslate(-bounds.left(), -bounds.top()) *
           QTransform::fromScale(scale, scale) * QTransform::fromTranslate(kFitMargin, kFitMargin);
}

// Whether the outermost element names a viewBox. Without one, a user unit is a pixel from the
// origin, as in a browser; the SVG module would instead stretch the drawing's own bounds over
// its size.
bool declaresViewBox(const QByteArray& svg) {
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement) {
            return reader.attributes().hasAttribute(QStringLiteral("viewBox"));
        }
    }
    return false;
}

// The painter's area the document is rendered into: the viewBox mapped onto the document's size
// in pixels, or, without a viewBox, user units taken as they are.
QRectF renderTarget(const QSvgRenderer& renderer, bool viewBox) {
    return viewBox ? QRectF(QPointF(0, 0), QSizeF(renderer.defaultSize())) : renderer.viewBoxF();
}

std::int32_t toCoordinate(double value, bool& clamped) {
    const double rounded = std::round(value);
    if (!(rounded >= kMinCoordinate && rounded <= kMaxCoordinate)) {
        clamped = true;
        return std::isnan(rounded) ? 0
                                   : static_cast<std::int32_t>(std::clamp<double>(
                                         rounded, kMinCoordinate, kMaxCoordinate));
    }
    return static_cast<std::int32_t>(rounded);
}

// The outline in whole pixels, without a point equal to the one before it.
std::vector<Point> toPixels(const std::vector<QPointF>& outline, int& clampedPoints) {
    std::vector<Point> points;
    for (const QPointF& p : outline) {
        bool clamped = false;
        const Point pixel{toCoordinate(p.x(), clamped), toCoordinate(p.y(), clamped)};
        clampedPoints += clamped ? 1 : 0;
        if (points.empty() || points.back() != pixel) {
            points.push_back(pixel);
        }
    }
    return points;
}

// Fills the document's slots with the outlines in order, cutting long ones into vectors that
// share their end points so the line runs on unbroken.
class SlotFiller {
public:
    SlotFiller(VectorSet& vectors, SvgImportReport& report) : vectors_(vectors), report_(report) {}

    void add(const std::vector<Point>& points) {
        ++report_.outlines;
        const std::size_t step = kMaxPoints - 1;
        const std::size_t pieces = points.size() <= 2 ? 1 : (points.size() - 2) / step + 1;
        if (pieces > 1) {
            ++report_.splitOutlines;
        }
        bool dropped = false;
        for (std::size_t piece = 0; piece < pieces; ++piece) {
            if (next_ == kSlotCount) {
                dropped = true;
                ++report_.droppedVectors;
                continue;
            }
            const std::size_t first = piece * step;
            const std::size_t last = std::min(first + step, points.size() - 1);
            VectorLine& line = vectors_.lines[static_cast<std::size_t>(next_++)];
            line.count = static_cast<std::int32_t>(last - first + 1);
            std::copy(points.begin() + static_cast<std::ptrdiff_t>(first),
                      points.begin() + static_cast<std::ptrdiff_t>(last) + 1, line.points.begin());
            ++report_.vectors;
        }
        report_.droppedOutlines += dropped ? 1 : 0;
    }

private:
    VectorSet& vectors_;
    SvgImportReport& report_;
    int next_ = 0;
};

std::string count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool isFinite(const std::vector<QPointF>& outline) {
    return std::all_of(outline.begin(), outline.end(), [](const QPointF& p) {
        return std::isfinite(p.x()) && std::isfinite(p.y());
    });
}

// A dot painted as the cap of a zero-length stroke, as a level line as wide as the cap, so
// that it is drawn in every mode; a point as it is otherwise.
std::vector<Point> widenDot(std::vector<Point> points, const QPointF& centre, double capWidth) {
    if (points.size() != 1 || capWidth < kMinDotWidth) {
        return points;
    }
    bool clamped = false;
    const std::int32_t left = toCoordinate(centre.x() - capWidth / 2, clamped);
    const std::int32_t right = toCoordinate(centre.x() + capWidth / 2, clamped);
    if (clamped || left == right) {
        return points;
    }
    return {{left, points[0].y}, {right, points[0].y}};
}

// How much the transform stretches a length, on average over directions.
double lengthScale(const QTransform& transform) {
    return std::sqrt(
        std::abs(transform.m11() * transform.m22() - transform.m12() * transform.m21()));
}

SvgImport refusal(std::string reason) {
    SvgImport result;
    result.status = FileStatus::failure(FileError::Damaged, std::move(reason));
    return result;
}

}  // namespace

SvgImport importSvg(const QByteArray& svg, SvgPlacement placement, QSize canvas) {
    if (svg.size() > kMaxSvgBytes) {
        return refusal("larger than " + std::to_string(kMaxSvgBytes >> 20) +
                       " MB, more than an SVG drawing to import");
    }
    // The SVG module expands every <use> as it paints, without a bound: a few kilobytes of
    // nested uses would keep it busy for hours.
    const SvgScan scan = scanSvg(svg);
    if (scan.elements > kMaxElements) {
        return refusal("too complex: more than " + std::to_string(kMaxElements) +
                       " elements, each <use> counted as the elements it repeats");
    }
    QSvgRenderer renderer(scan.needsMending ? mendSvg(svg, scan) : svg);
    if (!renderer.isValid()) {
        return refusal("not an SVG document");
    }
    PathRecordingDevice device;
    device.engine().setOutlineRoom(kSlotCount);
    {
        QPainter painter(&device);
        renderer.render(&painter, renderTarget(renderer, declaresViewBox(svg)));
    }
    const PathRecordingEngine& engine = device.engine();
    const std::vector<RecordedPath>& paths = engine.paths();
    const QTransform place =
        placement == SvgPlacement::FitCanvas ? fitTransform(paths, canvas) : QTransform();

    SvgImport result;
    result.vectors = std::make_unique<VectorSet>();
    SvgImportReport& report = result.report;
    report.ignoredItems = std::max(
        engine.ignoredItems(),
        static_cast<int>(std::min<std::uint64_t>(scan.images, std::numeric_limits<int>::max())));
    report.ignoredClips =
        static_cast<int>(std::min<std::uint64_t>(scan.clips, std::numeric_limits<int>::max()));
    report.vanishedShapes = engine.vanishedShapes();
    report.circularUses = static_cast<int>(scan.circularUses.size());
    SlotFiller filler(*result.vectors, report);
    for (const RecordedPath& recorded : paths) {
        // Flattened where the points end up, so that the tolerance is in canvas pixels.
        const QTransform transform = recorded.transform * place;
        const double capWidth = recorded.capWidth * lengthScale(transform);
        for (const FlatOutline& outline : flattenOutlines(recorded.path, transform)) {
            if (outline.points.empty()) {
                continue;
            }
            if (!isFinite(outline.points)) {
                ++report.vanishedShapes;
                continue;
            }
            filler.add(
                widenDot(toPixels(simplifyCurves(outline, kCurveTolerance), report.clampedPoints),
                         outline.points.front(), capWidth));
        }
    }
    report.outlines += engine.unrecorded().outlines;
    report.droppedOutlines += engine.unrecorded().outlines;
    report.droppedVectors += engine.unrecorded().vectors;
    // A picture of which nothing could be taken is no drawing; saying why beats an empty page.
    if (report.vectors == 0 && !report.complete()) {
        return refusal("nothing to import (" + describeSvgImport(report) + ")");
    }
    return result;
}

SvgImport importSvgFile(const QString& path, SvgPlacement placement, QSize canvas) {
    const std::filesystem::path name = path.toStdString();
    std::string bytes;
    if (const FileStatus status =
            posix::readRegularFile(name, bytes, static_cast<std::uintmax_t>(kMaxSvgBytes));
        !status.ok()) {
        SvgImport result;
        result.status = status;
        return result;
    }
    // Read in place: a large document is not held twice.
    return importSvg(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())),
                     placement, canvas);
}

std::string describeSvgImport(const SvgImportReport& report) {
    std::string text = count(report.outlines, "outline", "outlines") + ": " +
                       count(report.vectors, "vector", "vectors");
    if (report.splitOutlines > 0) {
        text += "; " + count(report.splitOutlines, "outline", "outlines") + " of more than " +
                std::to_string(kMaxPoints) + " points split into several vectors";
    }
    if (report.droppedOutlines > 0) {
        text += "; " + count(report.droppedOutlines, "outline", "outlines") + " (" +
                count(report.droppedVectors, "vector", "vectors") +
                ") dropped: the document holds " + std::to_string(kSlotCount) + " vectors";
    }
    if (report.ignoredItems > 0) {
        text += "; " + count(report.ignoredItems, "image", "images") + " left out";
    }
    if (report.clampedPoints > 0) {
        text += "; " + count(report.clampedPoints, "point", "points") + " beyond " +
                std::to_string(kMaxCoordinate) + " pixels moved to the edge";
    }
    if (report.vanishedShapes > 0) {
        text += "; " + count(report.vanishedShapes, "shape", "shapes") +
                " with coordinates beyond any number left out";
    }
    if (report.circularUses > 0) {
        text += "; " + count(report.circularUses, "circular <use>", "circular <use> elements") +
                " left out: each would repeat itself";
    }
    if (report.ignoredClips > 0) {
        text += "; " + count(report.ignoredClips, "clip path or mask", "clip paths or masks") +
                " not applied: the shapes come in whole";
    }
    return text;
}

}  // namespace penmoji
