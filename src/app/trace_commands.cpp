#include "app/trace_commands.h"

#include <algorithm>
#include <memory>

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QImageReader>
#include <QSpinBox>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/trace_dialog.h"
#include "app/user_interaction.h"
#include "canvas/edit_canvas.h"

namespace penmoji {
namespace {

// "Images (*.png *.jpg ...)" from the formats the installed image plugins read.
FileDialogSetup imageFileDialog() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    }
    return {{QStringLiteral("画像 (%1)").arg(patterns.join(u' ')),
             QStringLiteral("すべてのファイル (*.*)")},
            {}};
}

// A dialog of a form and OK / Cancel; the form's fields act at once, Cancel puts back what was.
QDialog* formDialog(QWidget* parent, const QString& title, QFormLayout*& form) {
    auto* dialog = new QDialog(parent);
    dialog->setWindowTitle(title);
    form = new QFormLayout(dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return dialog;
}

QSpinBox* percentBox(QWidget* parent, int least, int most, double value) {
    auto* box = new QSpinBox(parent);
    box->setRange(least, most);
    box->setSuffix(QStringLiteral(" %"));
    box->setValue(static_cast<int>(std::lround(value * 100)));
    return box;
}

}  // namespace

TraceCommands::TraceCommands(AppState& state, UserInteraction& interaction, CEditCanvas& canvas,
                             QWidget& window)
    : state_(state), interaction_(interaction), canvas_(canvas), window_(window) {}

bool TraceCommands::handlesCommand(int id) const {
    switch (id) {
        case command::kTraceOpen:
        case command::kTraceClose:
        case command::kTraceShow:
        case command::kTraceOpacity:
        case command::kTracePlace:
        case command::kTraceToLines:
            return true;
        default:
            return false;
    }
}

CommandState TraceCommands::commandState(int id) const {
    if (id == command::kTraceOpen) {
        return {true, false};
    }
    if (id == command::kTraceShow) {
        return {hasImage(), hasImage() && settings_.visible};
    }
    return {hasImage(), false};
}

void TraceCommands::executeCommand(int id) {
    switch (id) {
        case command::kTraceOpen:
            openImage();
            break;
        case command::kTraceClose:
            closeImage();
            break;
        case command::kTraceShow:
            toggleVisible();
            break;
        case command::kTraceOpacity:
            chooseOpacity();
            break;
        case command::kTracePlace:
            choosePlacement();
            break;
        case command::kTraceToLines:
            traceIntoDrawing();
            break;
        default:
            break;
    }
}

bool TraceCommands::loadImage(const QString& path, QString& error) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        error = QStringLiteral("下絵 %1 を読めません: %2").arg(path, reader.errorString());
        return false;
    }
    image_ = std::move(image);
    return true;
}

void TraceCommands::openImage() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(&window_, imageFileDialog());
    if (!choice) {
        return;
    }
    QString error;
    if (!loadImage(choice->path, error)) {
        interaction_.showMessage(&window_, error);
        return;
    }
    apply({choice->path, {}, 1.0, 0.5, true});
}

void TraceCommands::closeImage() {
    image_ = QImage();
    apply({});
}

void TraceCommands::toggleVisible() {
    TraceImageSettings settings = settings_;
    settings.visible = !settings.visible;
    apply(settings);
}

void TraceCommands::chooseOpacity() {
    const TraceImageSettings before = settings_;
    QFormLayout* form = nullptr;
    const std::unique_ptr<QDialog> dialog(formDialog(&window_, QStringLiteral("下絵の濃さ"), form));
    QSpinBox* opacity = percentBox(dialog.get(), 10, 100, settings_.opacity);
    form->insertRow(0, QStringLiteral("濃さ"), opacity);
    connect(opacity, &QSpinBox::valueChanged, this, [this](int percent) {
        TraceImageSettings settings = settings_;
        settings.opacity = percent / 100.0;
        apply(settings);
    });
    if (interaction_.runDialog(*dialog) != QDialog::Accepted) {
        apply(before);
    }
}

void TraceCommands::choosePlacement() {
    const TraceImageSettings before = settings_;
    QFormLayout* form = nullptr;
    const std::unique_ptr<QDialog> dialog(
        formDialog(&window_, QStringLiteral("下絵の位置と大きさ"), form));
    auto* x = new QDoubleSpinBox(dialog.get());
    auto* y = new QDoubleSpinBox(dialog.get());
    for (QDoubleSpinBox* box : {x, y}) {
        box->setRange(-10000, 10000);
        box->setDecimals(0);
        box->setSuffix(QStringLiteral(" px"));
    }
    x->setValue(settings_.offset.x());
    y->setValue(settings_.offset.y());
    QSpinBox* scale = percentBox(dialog.get(), 10, 800, settings_.scale);
    form->insertRow(0, QStringLiteral("左 (x)"), x);
    form->insertRow(1, QStringLiteral("上 (y)"), y);
    form->insertRow(2, QStringLiteral("大きさ"), scale);
    const auto follow = [this, x, y, scale] {
        TraceImageSettings settings = settings_;
        settings.offset = {x->value(), y->value()};
        settings.scale = scale->value() / 100.0;
        apply(settings);
    };
    connect(x, &QDoubleSpinBox::valueChanged, this, follow);
    connect(y, &QDoubleSpinBox::valueChanged, this, follow);
    connect(scale, &QSpinBox::valueChanged, this, follow);
    if (interaction_.runDialog(*dialog) != QDialog::Accepted) {
        apply(before);
    }
}

void TraceCommands::traceIntoDrawing() {
    const VectorSet& vectors = state_.document.vectors();
    const int room =
        static_cast<int>(std::count_if(vectors.lines.begin(), vectors.lines.end(),
                                       [](const VectorLine& l) { return l.count == 0; }));
    TraceDialog dialog(image_, {settings_.offset, settings_.scale, settings_.opacity}, room,
                       &window_);
    if (interaction_.runDialog(dialog) != QDialog::Accepted) {
        return;
    }
    auto traced = std::make_unique<VectorSet>(vectors);
    int slot = 0;
    for (const std::vector<Point>& line : dialog.canvasLines()) {
        while (slot < kSlotCount && traced->lines[slot].count != 0) {
            ++slot;
        }
        if (slot == kSlotCount) {
            break;
        }
        VectorLine& target = traced->lines[slot];
        target.count = static_cast<std::int32_t>(std::min<std::size_t>(line.size(), kMaxPoints));
        std::copy_n(line.begin(), target.count, target.points.begin());
    }
    // ---- Undo step: the traced lines go into the document as this one change. ----
    state_.document.document().replaceAll(*traced);
}

void TraceCommands::apply(const TraceImageSettings& settings) {
    settings_ = settings;
    showOnCanvas();
    emit changed();
}

void TraceCommands::showOnCanvas() {
    canvas_.setTraceImage(settings_.visible ? image_ : QImage(), settings_.offset, settings_.scale,
                          settings_.opacity);
}

void TraceCommands::drawingOpened(const QString& drawingPath) {
    const SidecarRead read = loadSidecar(drawingPath);
    image_ = QImage();
    if (!read.error.isEmpty()) {
        interaction_.showMessage(&window_, QStringLiteral("下絵の設定 %1 を読めません: %2")
                                               .arg(sidecarPath(drawingPath), read.error));
    }
    if (!read.settings) {
        apply({});
        return;
    }
    QString error;
    if (!loadImage(read.settings->imagePath, error)) {
        apply({});
        interaction_.showMessage(&window_, error + QStringLiteral("\n絵は下絵なしで開きました。"));
        return;
    }
    apply(*read.settings);
}

void TraceCommands::drawingSaved(const QString& drawingPath) {
    const FileStatus status =
        saveSidecar(drawingPath, hasImage() ? std::optional(settings_) : std::nullopt);
    if (!status.ok()) {
        interaction_.showMessage(&window_, QStringLiteral("下絵の設定を保存できません: %1")
                                               .arg(QString::fromStdString(status.reason())));
    }
}

}  // namespace penmoji
