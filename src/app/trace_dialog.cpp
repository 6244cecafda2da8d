// SPDX-License-Identifier: MIT
#include "app/trace_dialog.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/document_render_job.h"
#include "app/trace_preview.h"
#include "canvas/editor_document.h"
#include "interchange/picture_grey.h"

namespace penmoji {
namespace {

// One tracing as the worker gives it back.
struct TracedPart {
    trace::TraceResult result;
    double tolerance = 0;  // as the user set it, in canvas pixels
};

// Traces `part` of `grey` in place: the same pixels, read from its top left with the picture's
// stride, and its lines moved back by its top left.
trace::TraceResult tracePart(const QImage& grey, const QRect& part,
                             const trace::TraceOptions& options) {
    const std::size_t stride = static_cast<std::size_t>(grey.bytesPerLine());
    const std::size_t start =
        static_cast<std::size_t>(part.top()) * stride + static_cast<std::size_t>(part.left());
    const std::span<const std::uint8_t> all(grey.constBits(),
                                            static_cast<std::size_t>(grey.sizeInBytes()));
    const trace::GreyImage image{part.width(), part.height(), static_cast<int>(stride),
                                 all.subspan(std::min(start, all.size()))};
    trace::TraceResult result = trace::traceLines(image, options);
    for (std::vector<Point>& line : result.lines) {
        for (Point& p : line) {
            p = {p.x + part.left(), p.y + part.top()};
        }
    }
    return result;
}

}  // namespace

TraceDialog::TraceDialog(const QImage& picture, const TracePlacement& placement, int room,
                         const EditorDocument& document, QWidget* parent)
    : QDialog(parent),
      document_(document),
      grey_(greyForTracing(picture)),
      placement_(placement),
      room_(room),
      automatic_(new QCheckBox(QCoreApplication::translate("Penmoji", "自動"), this)),
      threshold_(new QSpinBox(this)),
      tolerance_(new QDoubleSpinBox(this)),
      minLength_(new QDoubleSpinBox(this)),
      preview_(new TracePreview(picture, placement, this)),
      summary_(new QLabel(this)),
      working_(new QLabel(QCoreApplication::translate("Penmoji", "線を作っています…"), this)) {
    setWindowTitle(QCoreApplication::translate("Penmoji", "下絵から線を作る"));
    automatic_->setChecked(true);
    threshold_->setRange(0, 254);
    threshold_->setEnabled(false);
    tolerance_->setRange(0, 20);
    tolerance_->setSingleStep(0.5);
    tolerance_->setValue(1.0);
    tolerance_->setSuffix(QStringLiteral(" px"));
    minLength_->setRange(0, 200);
    minLength_->setValue(5.0);
    minLength_->setSuffix(QStringLiteral(" px"));
    summary_->setWordWrap(true);

    auto* hint = new QLabel(
        QStringLiteral(
            "絵の上をドラッグすると、その四角の中だけを線にします (クリックで全体に戻す)。"),
        this);
    hint->setWordWrap(true);
    auto* thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(threshold_, 1);
    thresholdRow->addWidget(automatic_);
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("Penmoji", "しきい値 (濃さ 0～254)"), thresholdRow);
    form->addRow(QCoreApplication::translate("Penmoji", "許容誤差"), tolerance_);
    form->addRow(QCoreApplication::translate("Penmoji", "最短の線"), minLength_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    // The lines shown while another tracing runs are not those of the settings shown.
    working_->setVisible(false);
    connect(&tracer_, &BackgroundTask::busyChanged, this, [this](bool busy) {
        working_->setVisible(busy);
        ok_->setEnabled(!busy);
    });
    connect(&tracer_, &BackgroundTask::finished, this,
            [this](BackgroundTask::Ticket, const std::shared_ptr<const void>& lines) {
                showTraced(lines);
            });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addWidget(hint);
    layout->addWidget(summary_);
    layout->addWidget(working_);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(automatic_, &QCheckBox::toggled, this, [this](bool automatic) {
        threshold_->setEnabled(!automatic);
        retrace();
    });
    connect(threshold_, &QSpinBox::valueChanged, this, &TraceDialog::retrace);
    connect(tolerance_, &QDoubleSpinBox::valueChanged, this, &TraceDialog::retrace);
    connect(minLength_, &QDoubleSpinBox::valueChanged, this, &TraceDialog::retrace);
    connect(preview_, &TracePreview::regionChosen, this, &TraceDialog::setRegion);
    connect(&renderer_, &RenderService::finished, this,
            [this](RenderService::Ticket, const std::shared_ptr<const RenderOutcome>& outcome) {
                textArt_ = outcome;
                preview_->setTextArt(outcome->result.glyphs);
                emit textArtShown();
            });
    retrace();
}

void TraceDialog::setRegion(const QRect& region) {
    region_ = region & grey_.rect();
    preview_->setRegion(region_);
    retrace();
}

// The tolerance and the least length are canvas pixels; the picture may be scaled.
trace::TraceOptions TraceDialog::options() const {
    trace::TraceOptions options;
    if (!automatic_->isChecked()) {
        options.threshold = threshold_->value();
    }
    options.tolerance = tolerance_->value() / placement_.scale;
    options.minLength = minLength_->value() / placement_.scale;
    options.maxVectors = room_;
    return options;
}

void TraceDialog::retrace() {
    const QRect part = region_.isEmpty() ? grey_.rect() : region_;
    // A large or busy picture takes a while: the window stays alive and the lines shown stay
    // until these come. The picture is shared with the worker, never changed.
    // A newer setting or the dialog's end stops it within milliseconds.
    tracer_.start([grey = grey_, part, options = options(),
                   tolerance = tolerance_->value()](const BackgroundTask::StopFlag& stop) {
        trace::TraceOptions polled = options;
        polled.stopRequested = [&stop] { return stop.load(std::memory_order_relaxed); };
        trace::TraceResult result = tracePart(grey, part, polled);
        if (result.stopped) {
            return std::shared_ptr<const void>();
        }
        return std::static_pointer_cast<const void>(
            std::make_shared<const TracedPart>(TracedPart{std::move(result), tolerance}));
    });
}

void TraceDialog::showTraced(const std::shared_ptr<const void>& lines) {
    const auto part = std::static_pointer_cast<const TracedPart>(lines);
    if (!part) {
        result_ = {};
        result_.error = text::kOutOfMemory;
    } else {
        result_ = part->result;
        tracedTolerance_ = part->tolerance;
    }
    if (automatic_->isChecked()) {
        const QSignalBlocker quiet(threshold_);
        threshold_->setValue(std::clamp(result_.report.threshold, 0, 254));
    }
    preview_->setLines(canvasLines());
    showSummary();
    renderTextArt();
    emit traced();
}

void TraceDialog::renderTextArt() {
    auto drawing = std::make_shared<VectorSet>(document_.vectors());
    const std::vector<std::vector<Point>> lines = canvasLines();
    std::size_t next = 0;
    for (VectorLine& line : drawing->lines) {
        if (next == lines.size()) {
            break;
        }
        if (line.count == 0) {
            const std::vector<Point>& traced = lines[next++];
            line.count =
                static_cast<std::int32_t>(std::min<std::size_t>(traced.size(), kMaxPoints));
            std::copy_n(traced.begin(), line.count, line.points.begin());
        }
    }
    renderer_.render(renderJobOf(document_, std::move(drawing)));
}

void TraceDialog::showSummary() {
    const trace::TraceReport& report = result_.report;
    QString text =
        QCoreApplication::translate(
            "Penmoji", "ベクトル %1 本、点 %2 個（許容誤差 %3 px、しきい値 %4、ごみ %5 個を除去")
            .arg(report.vectors)
            .arg(report.points)
            .arg(tracedTolerance_)
            .arg(report.threshold)
            .arg(report.specks);
    if (report.splitLines > 0) {
        text +=
            QCoreApplication::translate("Penmoji", "、長い線 %1 本を分割").arg(report.splitLines);
    }
    if (report.droppedLines > 0) {
        text += QCoreApplication::translate("Penmoji", "、空きが %1 本なので短い線 %2 本を省略")
                    .arg(room_)
                    .arg(report.droppedLines);
    }
    text += QCoreApplication::translate("Penmoji", "）");
    if (!result_.error.empty()) {
        text = QString::fromStdString(result_.error);
    }
    summary_->setText(text);
}

std::vector<std::vector<Point>> TraceDialog::canvasLines() const {
    std::vector<std::vector<Point>> lines;
    for (const auto& traced : result_.lines) {
        std::vector<Point> line;
        for (const Point& p : traced) {
            const QPointF at = placement_.toCanvas(QPointF(p.x, p.y));
            const Point point{static_cast<std::int32_t>(std::lround(at.x())),
                              static_cast<std::int32_t>(std::lround(at.y()))};
            if (line.empty() || !(line.back() == point)) {
                line.push_back(point);
            }
        }
        if (line.size() >= 2) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace penmoji
