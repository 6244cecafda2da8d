// SPDX-License-Identifier: MIT
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
    // The width of the pen's round or square cap, which paints a zero-length stroke as a dot;
    // 0 for a flat cap or no pen.
    double capWidth = 0;
};

// Shapes painted after the recording was full, counted as the outlines they would have given.
struct UnrecordedShapes {
    int outlines = 0;
    int vectors = 0;  // each outline of more than the points of one vector counts as several
};

// A paint engine that draws nothing and keeps the geometry of every line, polygon, rectangle,
// ellipse and path it is asked to paint. Claims every feature, so the painter hands over the
// primitives untransformed along with its transform.
class PathRecordingEngine final : public QPaintEngine {
public:
    PathRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    // Keeps shapes until they hold this many outlines (each of which gives a vector at least);
    // later shapes are only counted, so that a document of a million shapes costs no more than
    // one that fills the drawing.
    void setOutlineRoom(int outlines) { room_ = outlines; }

    const std::vector<RecordedPath>& paths() const { return paths_; }
    const UnrecordedShapes& unrecorded() const { return unrecorded_; }
    // Images: painted, but without lines to keep. (The SVG module paints text as paths.)
    int ignoredItems() const { return ignored_; }
    // Shapes whose coordinates are beyond any number (1e308 and the like): nothing to draw.
    int vanishedShapes() const { return vanished_; }

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
    // Whether the painter leaves a mark: some opacity, and a pen or a brush that is not
    // transparent.
    bool paintsVisibly() const;
    // Keeps the shape if it is seen and is not the one just kept; false if it was left out.
    bool record(QPainterPath path);
    void count(const QPainterPath& path);
    // The SVG module paints a filled polyline twice: its area as a polygon, then its line. The
    // line replaces the area, so that it comes in once.
    bool replacesFilledArea(const QPolygonF& line);

    QPolygonF lastArea_;  // the points of the last polygon painted as an area
    QTransform transform_;
    RecordedPath last_;  // the shape recorded or counted last
    std::vector<RecordedPath> paths_;
    int room_ = 1 << 30;
    int recordedOutlines_ = 0;
    UnrecordedShapes unrecorded_;
    int ignored_ = 0;
    int vanished_ = 0;
};

// The device the SVG renderer paints on: large enough that nothing of a drawing is clipped
// away, at 96 dots per inch as browsers take an SVG pixel.
class PathRecordingDevice final : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine_; }
    PathRecordingEngine& engine() const { return engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    mutable PathRecordingEngine engine_;
};

}  // namespace penmoji
