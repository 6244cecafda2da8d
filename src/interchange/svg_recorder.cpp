#include "interchange/svg_recorder.h"

#include <QPainter>

namespace penmoji {

void PathRecordingEngine::updateState(const QPaintEngineState& changed) {
    if (changed.state() & QPaintEngine::DirtyTransform) {
        transform_ = changed.transform();
    }
    const QPainter* painter = changed.painter();
    if (painter != nullptr) {
        drawsNothing_ = painter->pen().style() == Qt::NoPen && painter->brush().style() == Qt::NoBrush;
    }
}

void PathRecordingEngine::record(QPainterPath path) {
    if (drawsNothing_) {
        return;
    }
    // A shape that is both filled and stroked is painted twice, once for the area and once for
    // the outline; its outline is one vector all the same.
    if (!paths_.empty() && paths_.back().transform == transform_ && paths_.back().path == path) {
        return;
    }
    paths_.push_back({std::move(path), transform_});
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
        record(path);
        lastArea_ = polygon;
        return;
    }
    if (!replacesFilledArea(polygon)) {
        record(path);
    }
    lastArea_.clear();
}

bool PathRecordingEngine::replacesFilledArea(const QPolygonF& line) {
    if (lastArea_.isEmpty() || lastArea_ != line || paths_.empty()) {
        return false;
    }
    QPainterPath path;
    path.addPolygon(line);
    paths_.back() = {path, transform_};
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
