// SPDX-License-Identifier: MIT
#include "app/trace_commands.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QImageReader>
#include <QSettings>
#include <QSpinBox>
#include <QUndoCommand>

#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/file_failure_text.h"
#include "app/trace_dialog.h"
#include "app/user_interaction.h"
#include "canvas/canvas_view.h"
#include "canvas/document_texts.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/file_paths.h"
#include "interchange/picture_file.h"

namespace penmoji {
namespace {

// Where the choice of smooth scaling is remembered.
constexpr char kSmoothKey[] = "view/traceSmooth";

// "Images (*.png *.jpg ...)" from the formats the installed image plugins read.
FileDialogSetup imageFileDialog() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    }
    return {{QCoreApplication::translate("Penmoji", "画像 (%1)").arg(patterns.join(u' ')),
             QCoreApplication::translate("Penmoji", "すべてのファイル (*.*)")},
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
    QKeyCombination key;
};

constexpr TraceNudge kTraceNudges[] = {
    {command::kTraceNudgeLeft, -1, 0, Qt::CTRL | Qt::ALT | Qt::Key_Left},
    {command::kTraceNudgeRight, 1, 0, Qt::CTRL | Qt::ALT | Qt::Key_Right},
    {command::kTraceNudgeUp, 0, -1, Qt::CTRL | Qt::ALT | Qt::Key_Up},
    {command::kTraceNudgeDown, 0, 1, Qt::CTRL | Qt::ALT | Qt::Key_Down},
};

}  // namespace

TraceCommands::TraceCommands(EditorDocument& document, UserInteraction& interaction,
                             CanvasView& view, QSettings* settings, QWidget& window,
                             CommandRegistry& commands)
    : document_(document),
      interaction_(interaction),
      view_(view),
      settings_(settings),
      window_(window) {
    if (settings_ != nullptr) {
        smooth_ = settings_->value(QString::fromUtf8(kSmoothKey), true).toBool();
    }
    view_.canvas().setTraceSmooth(smooth_);
    connect(&document_, &EditorDocument::drawingSaved, this, &TraceCommands::drawingSaved);
    declareCommands(commands);
}

void TraceCommands::declareCommands(CommandRegistry& commands) {
    const auto picture = [this] { return hasImage(); };
    commands.add({
        .id = command::kTraceOpen,
        .text = QT_TRANSLATE_NOOP("Penmoji", "下絵を開く..."),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "線を描く下敷きにする画像を開く"),
        .run = [this] { openImage(); },
    });
    commands.add({
        .id = command::kTraceClose,
        .text = QT_TRANSLATE_NOOP("Penmoji", "下絵を閉じる"),
        .run = [this] { document_.changePicture({}, text::kStepCloseImage); },
        .enabledWhen = picture,
    });
    commands.add({
        .id = command::kTraceShow,
        .text = QT_TRANSLATE_NOOP("Penmoji", "下絵を表示"),
        .run = [this] { toggleShown(); },
        .enabledWhen = picture,
        .checkedWhen = [this] { return hasImage() && settings().visible; },
    });
    commands.add({
        .id = command::kTraceOpacity,
        .text = QT_TRANSLATE_NOOP("Penmoji", "下絵の濃さ..."),
        .run = [this] { chooseOpacity(); },
        .enabledWhen = picture,
    });
    commands.add({
        .id = command::kTracePlace,
        .text = QT_TRANSLATE_NOOP("Penmoji", "位置と大きさ..."),
        .prompt = QT_TRANSLATE_NOOP(
            "Command", "下絵の位置と大きさ (Ctrl+Alt+ドラッグ、Ctrl+Alt+矢印でも移動)"),
        .run = [this] { choosePlacement(); },
        .enabledWhen = picture,
    });
    commands.add({
        .id = command::kTraceToLines,
        .text = QT_TRANSLATE_NOOP("Penmoji", "下絵から線を作る..."),
        .prompt = QT_TRANSLATE_NOOP("Penmoji", "下絵の線をベクトルにする"),
        .run = [this] { traceIntoDrawing(); },
        .enabledWhen = [this] { return hasImage() && !document_.editor().drawing(); },
    });
    commands.add({
        .id = command::kTraceSmooth,
        .text = QT_TRANSLATE_NOOP("Penmoji", "下絵をなめらかに拡大"),
        .prompt =
            QT_TRANSLATE_NOOP("Penmoji", "拡大した下絵を補間する (切ると画素がそのまま大きくなる)"),
        .run = [this] { toggleSmooth(); },
        .checkedWhen = [this] { return smooth_; },
    });
    for (const TraceNudge& n : kTraceNudges) {
        commands.add({
            .id = n.id,
            .keys = {QKeySequence(n.key)},
            .run = [this, n] { document_.nudgePicture(QPointF(n.dx, n.dy)); },
            .enabledWhen = picture,
        });
    }
    const auto concerned = {
        command::kTraceClose,      command::kTraceShow,    command::kTraceOpacity,
        command::kTracePlace,      command::kTraceToLines, command::kTraceNudgeLeft,
        command::kTraceNudgeRight, command::kTraceNudgeUp, command::kTraceNudgeDown};
    commands.refreshOn(&document_, &EditorDocument::pictureChanged, concerned);
    commands.refreshOn(&document_, &EditorDocument::editingStateChanged, {command::kTraceToLines});
}

void TraceCommands::toggleShown() {
    TraceImageSettings shown = settings();
    shown.visible = !shown.visible;
    document_.changePicture(withSettings(shown), text::kStepShowImage);
}

bool TraceCommands::hasImage() const {
    return document_.hasPicture();
}

const TraceImageSettings& TraceCommands::settings() const {
    return document_.picture().settings;
}

TraceImageState TraceCommands::withSettings(const TraceImageSettings& settings) const {
    return {document_.picture().image, settings};
}

QImage TraceCommands::loadImage(const QString& path, QString& error) const {
    PictureRead picture = readPictureFile(toFilePath(path));
    if (picture.image.isNull()) {
        error = QCoreApplication::translate("Penmoji", "下絵 %1 を読めません: %2")
                    .arg(path, japaneseReason(picture.error));
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
    document_.changePicture({std::move(image), settings}, text::kStepOpenImage);
}

void TraceCommands::chooseOpacity() {
    const TraceImageState before = document_.picture();
    QFormLayout* form = nullptr;
    const std::unique_ptr<QDialog> dialog(
        formDialog(&window_, QCoreApplication::translate("Penmoji", "下絵の濃さ"), form));
    QSpinBox* opacity = percentBox(dialog.get(), 10, 100, settings().opacity);
    form->insertRow(0, QCoreApplication::translate("Penmoji", "濃さ"), opacity);
    connect(opacity, &QSpinBox::valueChanged, this, [this](int percent) {
        TraceImageSettings shown = settings();
        shown.opacity = percent / 100.0;
        document_.showPicture(withSettings(shown));
    });
    const bool accepted = interaction_.runDialog(*dialog) == QDialog::Accepted;
    const TraceImageState after = document_.picture();
    document_.showPicture(before);
    if (accepted) {
        document_.changePicture(after, text::kStepOpacity);
    }
}

void TraceCommands::choosePlacement() {
    const TraceImageState before = document_.picture();
    QFormLayout* form = nullptr;
    const std::unique_ptr<QDialog> dialog(
        formDialog(&window_, QCoreApplication::translate("Penmoji", "下絵の位置と大きさ"), form));
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
    form->insertRow(0, QCoreApplication::translate("Penmoji", "左 (x)"), x);
    form->insertRow(1, QCoreApplication::translate("Penmoji", "上 (y)"), y);
    form->insertRow(2, QCoreApplication::translate("Penmoji", "大きさ"), scale);
    const auto follow = [this, x, y, scale] {
        TraceImageSettings shown = settings();
        shown.offset = {x->value(), y->value()};
        shown.scale = scale->value() / 100.0;
        document_.showPicture(withSettings(shown));
    };
    connect(x, &QDoubleSpinBox::valueChanged, this, follow);
    connect(y, &QDoubleSpinBox::valueChanged, this, follow);
    connect(scale, &QSpinBox::valueChanged, this, follow);
    const bool accepted = interaction_.runDialog(*dialog) == QDialog::Accepted;
    const TraceImageState after = document_.picture();
    document_.showPicture(before);
    if (accepted) {
        document_.changePicture(after, text::kStepPlace);
    }
}

void TraceCommands::toggleSmooth() {
    smooth_ = !smooth_;
    view_.canvas().setTraceSmooth(smooth_);
    if (settings_ != nullptr) {
        settings_->setValue(QString::fromUtf8(kSmoothKey), smooth_);
    }
}

void TraceCommands::traceIntoDrawing() {
    int freeSlots = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        freeSlots += document_.document().line(slot).count == 0 ? 1 : 0;
    }
    const TraceImageState& picture = document_.picture();
    const TraceImageSettings& s = picture.settings;
    TraceDialog dialog(picture.image, {s.offset, s.scale, s.opacity}, freeSlots, document_,
                       &window_);
    if (interaction_.runDialog(dialog) == QDialog::Accepted) {
        // The traced lines go into the free vectors as one step.
        document_.addVectors(dialog.canvasLines(), text::kStepTrace);
    }
}

void TraceCommands::drawingOpened(const QString& drawingPath) {
    const SidecarRead read = loadSidecar(drawingPath);
    if (!read.error.isEmpty()) {
        interaction_.showMessage(
            &window_, QCoreApplication::translate("Penmoji", "下絵の設定 %1 を読めません: %2")
                          .arg(sidecarPath(drawingPath), read.error));
    }
    if (!read.settings) {
        document_.changePicture({}, text::kStepCloseImage);
        return;
    }
    QString error;
    QImage image = loadImage(read.settings->imagePath, error);
    if (image.isNull()) {
        document_.changePicture({}, text::kStepCloseImage);
        interaction_.showMessage(&window_, error + QCoreApplication::translate(
                                                       "Penmoji", "\n絵は下絵なしで開きました。"));
        return;
    }
    document_.changePicture({std::move(image), *read.settings}, text::kStepOpenImage);
}

void TraceCommands::drawingSaved(const QString& drawingPath) {
    const FileStatus status =
        saveSidecar(drawingPath, hasImage() ? std::optional(settings()) : std::nullopt);
    if (!status.ok()) {
        interaction_.showMessage(
            &window_, QCoreApplication::translate("Penmoji", "下絵の設定を保存できません: %1")
                          .arg(QString::fromStdString(status.reason())));
    }
}

}  // namespace penmoji
