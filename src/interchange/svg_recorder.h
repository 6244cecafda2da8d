#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <vector>

namespace penmoji {

// A shape as the SVG renderer painted it: the path in its own coordinates and the painter's
// transform at the time.
struct RecordedPath {
    QPainterPath path;
    QTransform transform;
};

// A paint engine that draws nothing and keeps the geometry of every line, polygon, rectangle,
// ellipse and path it is asked to paint. Claims every feature, so the painter hands over the
// primitives untransformed along with its transform.
class PathRecordingEngine final : public QPaintEngine {
public:
    PathRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    const std::vector<RecordedPath>& paths() const { return paths_; }
    // Images: painted, but without lines to keep. (The SVG module paints text as paths.)
    int ignoredItems() const { return ignored_; }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override;
    Type type() const override { return QPaintEngine::User; }

    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPoints(const QPointF*, int) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++ignored_; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        ++ignored_;
    }
    void drawTextItem(const QPointF&, const QTextItem&) override { ++ignored_; }

private:
    void record(QPainterPath path);
    // The SVG module paints a filled polyline twice: its area as a polygon, then its line. The
    // line replaces the area, so that it comes in once.
    bool replacesFilledArea(const QPolygonF& line);

    QPolygonF lastArea_;  // the points of the last polygon painted as an area
    QTransform transform_;
    bool drawsNothing_ = false;  // neither pen nor brush: the shape is invisible
    std::vector<RecordedPath> paths_;
    int ignored_ = 0;
};

// The device the SVG renderer paints on: large enough that nothing of a drawing is clipped
// away, at 96 dots per inch as browsers take an SVG pixel.
class PathRecordingDevice final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine_; }
    const PathRecordingEngine& engine() const { return engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    mutable PathRecordingEngine engine_;
};

}  // namespace penmoji
