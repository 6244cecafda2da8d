// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <vector>

#include <QDialog>
#include <QImage>

#include "app/background_task.h"
#include "app/render_service.h"
#include "canvas/trace_layer.h"
#include "document/vector_set.h"
#include "trace/trace.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace penmoji {

class EditorDocument;
class TracePreview;

// "下絵から線を作る": traces the picture under the drawing, or the part of it chosen with a
// rectangle, with the settings chosen; shows the traced lines over the picture with the text
// art the drawing would have with them, and what the tracing did. On OK it hands the lines
// over in canvas pixels. Every change of a setting traces again. The tracing and the text art
// are made off the GUI thread, the newest request winning: the result shown stays until the
// next one comes, and OK waits for the one of the settings shown.
class TraceDialog : public QDialog {
    Q_OBJECT
public:
    // `room` is the number of free vectors the lines may take.
    TraceDialog(const QImage& picture, const TracePlacement& placement, int room,
                const EditorDocument& document, QWidget* parent = nullptr);

    // The tracing shown: that of the settings shown, unless tracing() says another is coming.
    const trace::TraceResult& result() const { return result_; }
    bool tracing() const { return tracer_.busy(); }
    // The traced lines placed on the canvas as the picture is.
    std::vector<std::vector<Point>> canvasLines() const;
    // The part traced, in picture pixels; null for the whole picture.
    void setRegion(const QRect& region);

    QSpinBox& thresholdBox() { return *threshold_; }
    QCheckBox& automaticBox() { return *automatic_; }
    QDoubleSpinBox& toleranceBox() { return *tolerance_; }
    QDoubleSpinBox& minLengthBox() { return *minLength_; }
    QLabel& summary() { return *summary_; }
    TracePreview& preview() { return *preview_; }
    // The rendering of the drawing with the traced lines, once it has come.
    const std::shared_ptr<const RenderOutcome>& textArt() const { return textArt_; }

signals:
    // The lines of the latest settings have come and are shown.
    void traced();
    // The text art of the latest tracing has come.
    void textArtShown();

private:
    void retrace();
    void showTraced(const std::shared_ptr<const void>& lines);
    void showSummary();
    void renderTextArt();
    trace::TraceOptions options() const;

    const EditorDocument& document_;
    QImage grey_;
    TracePlacement placement_;
    int room_;
    QRect region_;
    trace::TraceResult result_;
    // The tolerance the result shown was traced with, as the user set it.
    double tracedTolerance_ = 0;
    QCheckBox* automatic_;
    QSpinBox* threshold_;
    QDoubleSpinBox* tolerance_;
    QDoubleSpinBox* minLength_;
    TracePreview* preview_;
    QLabel* summary_;
    QLabel* working_;
    QPushButton* ok_ = nullptr;
    BackgroundTask tracer_;
    RenderService renderer_;
    std::shared_ptr<const RenderOutcome> textArt_;
};

}  // namespace penmoji
