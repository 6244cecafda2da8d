// SPDX-License-Identifier: MIT
#include "app/trace_commands.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QImageReader>
#include <QSettings>
#include <QSpinBox>
#include <QUndoCommand>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/file_failure_text.h"
#include "app/file_paths.h"
#include "app/trace_dialog.h"
#include "app/user_interaction.h"
#include "canvas/edit_canvas.h"
#include "interchange/picture_file.h"

namespace penmoji {
namespace {

// The names of the undo steps.
constexpr char kStepOpenImage[] = "下絵を開く";
constexpr char kStepCloseImage[] = "下絵を閉じる";
constexpr char kStepShowImage[] = "下絵の表示";
constexpr char kStepOpacity[] = "下絵の濃さ";
constexpr char kStepPlace[] = "下絵の位置と大きさ";
constexpr char kStepMoveImage[] = "下絵の移動";
constexpr char kStepTrace[] = "下絵から線を作る";

// Where the choice of smooth scaling is remembered.
constexpr char kSmoothKey[] = "view/traceSmooth";

// The merge id of the picture's nudges; the document's steps use smaller ones.
constexpr int kTraceNudgeStep = 2;

// One change of the picture. Pushed after the change was shown, so its first redo shows the
// same state again. A nudge that does not start a run merges into the nudge before it.
class TraceImageStep final : public QUndoCommand {
public:
    enum class Kind { Change, Nudge, NudgeInRun };

    TraceImageStep(TraceCommands& owner, TraceImageState before, TraceImageState after,
                   const QString& name, Kind kind)
        : QUndoCommand(name),
          owner_(owner),
          before_(std::move(before)),
          after_(std::move(after)),
          startsRun_(kind != Kind::NudgeInRun),
          mergeId_(kind == Kind::Change ? -1 : kTraceNudgeStep) {}

    void undo() override { owner_.show(before_); }
    void redo() override { owner_.show(after_); }
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* later = static_cast<const TraceImageStep*>(other);
        if (later->startsRun_) {
            return false;
        }
        after_ = later->after_;
        return true;
    }

private:
    TraceCommands& owner_;
    TraceImageState before_;
    TraceImageState after_;
    bool startsRun_;
    int mergeId_;
};

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

struct TraceNudge {
    int id;
    int dx, dy;
};

constexpr TraceNudge kTraceNudges[] = {
    {command::kTraceNudgeLeft, -1, 0},
    {command::kTraceNudgeRight, 1, 0},
    {command::kTraceNudgeUp, 0, -1},
    {command::kTraceNudgeDown, 0, 1},
};

const TraceNudge* traceNudgeOf(int id) {
    for (const TraceNudge& nudge : kTraceNudges) {
        if (nudge.id == id) {
            return &nudge;
        }
    }
    return nullptr;
}

}  // namespace

TraceCommands::TraceCommands(AppState& state, UserInteraction& interaction, CEditCanvas& canvas,
                             QWidget& window)
    : state_(state), interaction_(interaction), canvas_(canvas), window_(window) {
    if (state_.settings) {
        smooth_ = state_.settings->value(QString::fromUtf8(kSmoothKey), true).toBool();
    }
    canvas_.setTraceSmooth(smooth_);
    connect(&canvas_, &CEditCanvas::traceImageDragged, this, [this](QPointF from, QPointF to) {
        // The canvas has moved the picture already; the step starts where the drag did.
        TraceImageState moved = current_;
        moved.settings.offset = to;
        current_.settings.offset = from;
        change(moved, kStepMoveImage);
    });
}

bool TraceCommands::handlesCommand(int id) const {
    switch (id) {
        case command::kTraceOpen:
        case command::kTraceClose:
        case command::kTraceShow:
        case command::kTraceOpacity:
        case command::kTracePlace:
        case command::kTraceToLines:
        case command::kTraceSmooth:
            return true;
        default:
            return traceNudgeOf(id) != nullptr;
    }
}

CommandState TraceCommands::commandState(int id) const {
    switch (id) {
        case command::kTraceOpen:
            return {true, false};
        case command::kTraceShow:
            return {hasImage(), hasImage() && settings().visible};
        case command::kTraceSmooth:
            return {true, smooth_};
        case command::kTraceToLines:
            return {hasImage() && !canvas_.editor().drawing(), false};
        default:
            return {hasImage(), false};
    }
}

void TraceCommands::executeCommand(int id) {
    switch (id) {
        case command::kTraceOpen:
            openImage();
            break;
        case command::kTraceClose:
            change({}, kStepCloseImage);
            break;
        case command::kTraceShow: {
            TraceImageSettings shown = settings();
            shown.visible = !shown.visible;
            change(withSettings(shown), kStepShowImage);
            break;
        }
        case command::kTraceOpacity:
            chooseOpacity();
            break;
        case command::kTracePlace:
            choosePlacement();
            break;
        case command::kTraceToLines:
            traceIntoDrawing();
            break;
        case command::kTraceSmooth:
            toggleSmooth();
            break;
        default:
            if (const TraceNudge* n = traceNudgeOf(id)) {
                nudge(n->dx, n->dy);
            }
            break;
    }
}

void TraceCommands::show(const TraceImageState& state) {
    current_ = state;
    const TraceImageSettings& s = current_.settings;
    canvas_.setTraceImage(s.visible ? current_.image : QImage(), {s.offset, s.scale, s.opacity});
    emit changed();
}

TraceImageState TraceCommands::withSettings(const TraceImageSettings& settings) const {
    return {current_.image, settings};
}

void TraceCommands::change(const TraceImageState& after, const char* name, bool nudge,
                           bool startsRun) {
    const TraceImageState before = current_;
    if (before.settings == after.settings && before.image == after.image) {
        return;
    }
    show(after);
    using Kind = TraceImageStep::Kind;
    // A merge into the saved state would leave the mark of a saved drawing on a changed one.
    const Kind kind = !nudge                                ? Kind::Change
                      : startsRun || state_.history.clean() ? Kind::Nudge
                                                            : Kind::NudgeInRun;
    state_.history.pushSideStep(
        new TraceImageStep(*this, before, after, QString::fromUtf8(name), kind));
}

QImage TraceCommands::loadImage(const QString& path, QString& error) const {
    PictureRead picture = readPictureFile(toFilePath(path));
    if (picture.image.isNull()) {
        error = QStringLiteral("下絵 %1 を読めません: %2").arg(path, japaneseReason(picture.error));
    }
    return std::move(picture.image);
}

void TraceCommands::openImage() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(&window_, imageFileDialog());
    if (!choice) {
        return;
    }
    QString error;
    QImage image = loadImage(choice->path, error);
    if (image.isNull()) {
        interaction_.showMessage(&window_, error);
        return;
    }
    TraceImageSettings settings;
    settings.imagePath = choice->path;
    change({std::move(image), settings}, kStepOpenImage);
}

void TraceCommands::chooseOpacity() {
    const TraceImageState before = current_;
    QFormLayout* form = nullptr;
    const std::unique_ptr<QDialog> dialog(formDialog(&window_, QStringLiteral("下絵の濃さ"), form));
    QSpinBox* opacity = percentBox(dialog.get(), 10, 100, settings().opacity);
    form->insertRow(0, QStringLiteral("濃さ"), opacity);
    connect(opacity, &QSpinBox::valueChanged, this, [this](int percent) {
        TraceImageSettings shown = settings();
        shown.opacity = percent / 100.0;
        show(withSettings(shown));
    });
    const bool accepted = interaction_.runDialog(*dialog) == QDialog::Accepted;
    const TraceImageState after = current_;
    show(before);
    if (accepted) {
        change(after, kStepOpacity);
    }
}

void TraceCommands::choosePlacement() {
    const TraceImageState before = current_;
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
    x->setValue(settings().offset.x());
    y->setValue(settings().offset.y());
    QSpinBox* scale = percentBox(dialog.get(), 10, 800, settings().scale);
    form->insertRow(0, QStringLiteral("左 (x)"), x);
    form->insertRow(1, QStringLiteral("上 (y)"), y);
    form->insertRow(2, QStringLiteral("大きさ"), scale);
    const auto follow = [this, x, y, scale] {
        TraceImageSettings shown = settings();
        shown.offset = {x->value(), y->value()};
        shown.scale = scale->value() / 100.0;
        show(withSettings(shown));
    };
    connect(x, &QDoubleSpinBox::valueChanged, this, follow);
    connect(y, &QDoubleSpinBox::valueChanged, this, follow);
    connect(scale, &QSpinBox::valueChanged, this, follow);
    const bool accepted = interaction_.runDialog(*dialog) == QDialog::Accepted;
    const TraceImageState after = current_;
    show(before);
    if (accepted) {
        change(after, kStepPlace);
    }
}

void TraceCommands::nudge(int dx, int dy) {
    TraceImageSettings moved = settings();
    moved.offset += QPointF(dx, dy);
    const bool startsRun = !lastNudge_.isValid() || lastNudge_.elapsed() > kNudgeRunMs;
    change(withSettings(moved), kStepMoveImage, true, startsRun);
    lastNudge_.start();
}

void TraceCommands::toggleSmooth() {
    smooth_ = !smooth_;
    canvas_.setTraceSmooth(smooth_);
    if (state_.settings) {
        state_.settings->setValue(QString::fromUtf8(kSmoothKey), smooth_);
    }
}

void TraceCommands::traceIntoDrawing() {
    Document& document = state_.document.document();
    std::vector<int> freeSlots;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (document.line(slot).count == 0) {
            freeSlots.push_back(slot);
        }
    }
    const TraceImageSettings& s = settings();
    TraceDialog dialog(current_.image, {s.offset, s.scale, s.opacity},
                       static_cast<int>(freeSlots.size()), state_, &window_);
    if (interaction_.runDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const std::vector<std::vector<Point>> lines = dialog.canvasLines();
    // The traced lines go into the free vectors as one step.
    state_.history.beginStep(QString::fromUtf8(kStepTrace));
    for (std::size_t i = 0; i < lines.size() && i < freeSlots.size(); ++i) {
        const std::size_t count = std::min<std::size_t>(lines[i].size(), kMaxPoints);
        document.setVector(freeSlots[i], std::span(lines[i]).first(count));
    }
    state_.history.endStep();
}

void TraceCommands::drawingOpened(const QString& drawingPath) {
    const SidecarRead read = loadSidecar(drawingPath);
    if (!read.error.isEmpty()) {
        interaction_.showMessage(&window_, QStringLiteral("下絵の設定 %1 を読めません: %2")
                                               .arg(sidecarPath(drawingPath), read.error));
    }
    if (!read.settings) {
        change({}, kStepCloseImage);
        return;
    }
    QString error;
    QImage image = loadImage(read.settings->imagePath, error);
    if (image.isNull()) {
        change({}, kStepCloseImage);
        interaction_.showMessage(&window_, error + QStringLiteral("\n絵は下絵なしで開きました。"));
        return;
    }
    change({std::move(image), *read.settings}, kStepOpenImage);
}

void TraceCommands::drawingSaved(const QString& drawingPath) {
    const FileStatus status =
        saveSidecar(drawingPath, hasImage() ? std::optional(settings()) : std::nullopt);
    if (!status.ok()) {
        interaction_.showMessage(&window_, QStringLiteral("下絵の設定を保存できません: %1")
                                               .arg(QString::fromStdString(status.reason())));
    }
}

}  // namespace penmoji
