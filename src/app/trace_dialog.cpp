#include "app/trace_dialog.h"

#include <cmath>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QVBoxLayout>

namespace penmoji {
namespace {

// The preview fits into this, in screen pixels.
constexpr QSize kPreviewSize(720, 480);
const QColor kTracedColour(220, 0, 0);

}  // namespace

TraceDialog::TraceDialog(const QImage& picture, const TracePlacement& placement, int room,
                         QWidget* parent)
    : QDialog(parent),
      grey_(greyForTracing(picture)),
      placement_(placement),
      room_(room),
      automatic_(new QCheckBox(QStringLiteral("自動"), this)),
      threshold_(new QSpinBox(this)),
      tolerance_(new QDoubleSpinBox(this)),
      minLength_(new QDoubleSpinBox(this)),
      preview_(new QLabel(this)),
      summary_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("下絵から線を作る"));
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
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(240, 160);

    auto* thresholdRow = new QHBoxLayout;
    thresholdRow->addWidget(threshold_, 1);
    thresholdRow->addWidget(automatic_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("しきい値 (濃さ 0～254)"), thresholdRow);
    form->addRow(QStringLiteral("許容誤差"), tolerance_);
    form->addRow(QStringLiteral("最短の線"), minLength_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 1);
    layout->addWidget(summary_);
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
    const trace::GreyImage image{
        grey_.width(),
        grey_.height(),
        static_cast<int>(grey_.bytesPerLine()),
        {grey_.constBits(), static_cast<std::size_t>(grey_.sizeInBytes())}};
    result_ = trace::traceLines(image, options());
    if (automatic_->isChecked()) {
        const QSignalBlocker quiet(threshold_);
        threshold_->setValue(std::clamp(result_.report.threshold, 0, 254));
    }
    showResult();
}

void TraceDialog::showResult() {
    QImage shown = grey_.convertToFormat(QImage::Format_RGB32)
                       .scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const double factor = grey_.width() > 0 ? double(shown.width()) / grey_.width() : 1.0;
    {
        QPainter painter(&shown);
        painter.fillRect(shown.rect(), QColor(255, 255, 255, 120));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kTracedColour, 1.5));
        for (const auto& line : result_.lines) {
            QPainterPath path;
            for (std::size_t i = 0; i < line.size(); ++i) {
                const QPointF p((line[i].x + 0.5) * factor, (line[i].y + 0.5) * factor);
                i == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            painter.drawPath(path);
        }
    }
    preview_->setPixmap(QPixmap::fromImage(shown));

    const trace::TraceReport& report = result_.report;
    QString text = QStringLiteral("ベクトル %1 本、点 %2 個（しきい値 %3、ごみ %4 個を除去")
                       .arg(report.vectors)
                       .arg(report.points)
                       .arg(report.threshold)
                       .arg(report.specks);
    if (report.splitLines > 0) {
        text += QStringLiteral("、長い線 %1 本を分割").arg(report.splitLines);
    }
    if (report.droppedLines > 0) {
        text += QStringLiteral("、空きが %1 本なので短い線 %2 本を省略")
                    .arg(room_)
                    .arg(report.droppedLines);
    }
    text += QStringLiteral("）");
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
