#include "interchange/svg_import.h"

#include <QFile>
#include <QPainter>
#include <QPolygonF>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "document/vector_file.h"
#include "interchange/svg_recorder.h"

namespace penmoji {
namespace {

// Room left around a fitted picture, so that its outer lines can still be picked.
constexpr double kFitMargin = 8;

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
std::vector<Point> toPixels(const QPolygonF& polygon, int& clampedPoints) {
    std::vector<Point> points;
    for (const QPointF& p : polygon) {
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

}  // namespace

SvgImport importSvg(const QByteArray& svg, SvgPlacement placement, QSize canvas) {
    SvgImport result;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        result.status = FileStatus::failure(FileError::Damaged, "not an SVG document");
        return result;
    }
    PathRecordingDevice device;
    {
        QPainter painter(&device);
        renderer.render(&painter, renderTarget(renderer, declaresViewBox(svg)));
    }
    const std::vector<RecordedPath>& paths = device.engine().paths();
    const QTransform place =
        placement == SvgPlacement::FitCanvas ? fitTransform(paths, canvas) : QTransform();

    result.vectors = std::make_unique<VectorSet>();
    result.report.ignoredItems = device.engine().ignoredItems();
    SlotFiller filler(*result.vectors, result.report);
    for (const RecordedPath& recorded : paths) {
        // Flattened where the points end up, so that the tolerance is in canvas pixels.
        for (const QPolygonF& polygon :
             recorded.path.toSubpathPolygons(recorded.transform * place)) {
            if (!polygon.isEmpty()) {
                filler.add(toPixels(polygon, result.report.clampedPoints));
            }
        }
    }
    return result;
}

SvgImport importSvgFile(const QString& path, SvgPlacement placement, QSize canvas) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SvgImport result;
        result.status = FileStatus::failure(
            FileError::CannotOpen, "cannot open " + path.toStdString() +
                                       " for reading: " + file.errorString().toStdString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        SvgImport result;
        result.status =
            FileStatus::failure(FileError::ReadError, "read error in " + path.toStdString());
        return result;
    }
    return importSvg(bytes, placement, canvas);
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
    return text;
}

}  // namespace penmoji
