// SPDX-License-Identifier: MIT
#include "interchange/svg_recorder.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "document/vector_set.h"

namespace penmoji {

namespace {

bool paints(const QBrush& brush) {
    return brush.style() != Qt::NoBrush &&
           !(brush.style() == Qt::SolidPattern && brush.color().alpha() == 0);
}

int subpathCount(const QPainterPath& path) {
    int count = 0;
    for (int i = 0; i < path.elementCount(); ++i) {
        count += path.elementAt(i).isMoveTo() ? 1 : 0;
    }
    return count;
}

bool isFinite(const QRectF& rect) {
    return std::isfinite(rect.left()) && std::isfinite(rect.top()) &&
           std::isfinite(rect.width()) && std::isfinite(rect.height());
}

}  // namespace

void PathRecordingEngine::updateState(const QPaintEngineState& changed) {
    if (changed.state() & QPaintEngine::DirtyTransform) {
        transform_ = changed.transform();
    }
}

bool PathRecordingEngine::paintsVisibly() const {
    const QPainter* painter = this->painter();
    if (painter == nullptr) {
        return true;
    }
    const QPen& pen = painter->pen();
    return painter->opacity() > 0 &&
           ((pen.style() != Qt::NoPen && paints(pen.brush())) || paints(painter->brush()));
}

bool PathRecordingEngine::record(QPainterPath path) {
    if (!paintsVisibly()) {
        return false;
    }
    // A shape given coordinates beyond any number keeps none of them.
    if (path.elementCount() == 0 || !isFinite(transform_.map(path).boundingRect())) {
        ++vanished_;
        return false;
    }
    const QPainter* painter = this->painter();
    const QPen pen = painter != nullptr ? painter->pen() : QPen(Qt::NoPen);
    const bool capped = pen.style() != Qt::NoPen && pen.capStyle() != Qt::FlatCap &&
                        paints(pen.brush()) && !pen.isCosmetic();
    // A stroke of no length (the path keeps only its start) shows as its cap, if the cap is
    // round or square; an area of no size shows nothing.
    if (path.elementCount() == 1 && !capped) {
        return false;
    }
    const double capWidth = capped ? pen.widthF() : 0;
    // A shape that is both filled and stroked is painted twice, once for the area and once for
    // the outline; its outline is one vector all the same.
    if (last_.transform == transform_ && last_.path == path) {
        if (!paths_.empty() && paths_.back().path == path) {
            paths_.back().capWidth = std::max(paths_.back().capWidth, capWidth);
        }
        return true;
    }
    last_ = {path, transform_, capWidth};
    if (recordedOutlines_ >= room_) {
        count(path);
        return true;
    }
    recordedOutlines_ += subpathCount(path);
    paths_.push_back(last_);
    return true;
}

void PathRecordingEngine::count(const QPainterPath& path) {
    for (const QPolygonF& polygon : path.toSubpathPolygons(transform_)) {
        const auto points = static_cast<int>(polygon.size());
        ++unrecorded_.outlines;
        unrecorded_.vectors += points <= 2 ? 1 : (points - 2) / (kMaxPoints - 1) + 1;
    }
}

void PathRecordingEngine::drawPath(const QPainterPath& path) {
    lastArea_.clear();
    record(path);
}

void PathRecordingEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    if (count <= 0) {
        return;
    }
    const QPolygonF polygon(QList<QPointF>(points, points + count));
    QPainterPath path;
    path.addPolygon(polygon);
    if (mode != PolylineMode) {
        path.closeSubpath();
        if (record(path) && recordedOutlines_ < room_) {
            lastArea_ = polygon;
        }
        return;
    }
    if (!replacesFilledArea(polygon)) {
        record(path);
    }
    lastArea_.clear();
}

bool PathRecordingEngine::replacesFilledArea(const QPolygonF& line) {
    if (lastArea_.isEmpty() || lastArea_ != line || paths_.empty() || !paintsVisibly()) {
        return false;
    }
    QPainterPath path;
    path.addPolygon(line);
    paths_.back().path = path;
    last_.path = path;
    return true;
}

void PathRecordingEngine::drawLines(const QLineF* lines, int count) {
    lastArea_.clear();
    for (int i = 0; i < count; ++i) {
        QPainterPath path(lines[i].p1());
        path.lineTo(lines[i].p2());
        record(path);
    }
}

void PathRecordingEngine::drawRects(const QRectF* rects, int count) {
    lastArea_.clear();
    for (int i = 0; i < count; ++i) {
        QPainterPath path;
        path.addRect(rects[i]);
        record(path);
    }
}

void PathRecordingEngine::drawEllipse(const QRectF& rect) {
    lastArea_.clear();
    QPainterPath path;
    path.addEllipse(rect);
    record(path);
}

int PathRecordingDevice::metric(PaintDeviceMetric metric) const {
    constexpr int kExtent = 1 << 20;
    constexpr int kDotsPerInch = 96;
    switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return kExtent;
        case PdmWidthMM:
        case PdmHeightMM:
            return kExtent * 254 / (kDotsPerInch * 10);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kDotsPerInch;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
    }
    return 0;
}

}  // namespace penmoji
