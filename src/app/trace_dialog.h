#pragma once

#include <vector>

#include <QDialog>
#include <QImage>

#include "canvas/trace_layer.h"
#include "document/vector_set.h"
#include "trace/trace.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace penmoji {

// "下絵から線を作る": traces the picture under the drawing with the settings chosen, shows the
// traced lines over the picture and what the tracing did, and on OK hands the lines over in
// canvas pixels. Every change of a setting traces again.
class TraceDialog : public QDialog {
    Q_OBJECT
public:
    // `room` is the number of free vectors the lines may take.
    TraceDialog(const QImage& picture, const TracePlacement& placement, int room,
                QWidget* parent = nullptr);

    const trace::TraceResult& result() const { return result_; }
    // The traced lines placed on the canvas as the picture is.
    std::vector<std::vector<Point>> canvasLines() const;

    QSpinBox& thresholdBox() { return *threshold_; }
    QCheckBox& automaticBox() { return *automatic_; }
    QDoubleSpinBox& toleranceBox() { return *tolerance_; }
    QDoubleSpinBox& minLengthBox() { return *minLength_; }
    QLabel& summary() { return *summary_; }

private:
    void retrace();
    void showResult();
    trace::TraceOptions options() const;

    QImage grey_;
    TracePlacement placement_;
    int room_;
    trace::TraceResult result_;
    QCheckBox* automatic_;
    QSpinBox* threshold_;
    QDoubleSpinBox* tolerance_;
    QDoubleSpinBox* minLength_;
    QLabel* preview_;
    QLabel* summary_;
};

}  // namespace penmoji
