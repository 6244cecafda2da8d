// SPDX-License-Identifier: MIT
#include "app/interchange_commands.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QWidget>

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/copied_art.h"
#include "app/drawing_saving.h"
#include "app/file_failure_text.h"
#include "app/file_renderer.h"
#include "app/picture_options_dialog.h"
#include "app/progress_dialog.h"
#include "app/user_interaction.h"
#include "canvas/canvas_view.h"
#include "canvas/edit_canvas.h"
#include "canvas/editor_document.h"
#include "canvas/file_paths.h"
#include "compose/mlt_file.h"
#include "compose/vector_svg.h"
#include "interchange/svg_import.h"

namespace penmoji {
namespace {

FileDialogSetup svgDialog() {
    return {{QString::fromUtf8(text::kSvgFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("svg")};
}

FileDialogSetup pictureDialog() {
    return {{QString::fromUtf8(text::kPngFilter)}, QStringLiteral("png")};
}

FileDialogSetup mltDialog() {
    return {{QString::fromUtf8(text::kMltFilter), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("mlt"),
            false};
}

}  // namespace

QString svgImportNotice(const SvgImportReport& report) {
    QStringList lines;
    if (report.splitOutlines > 0) {
        lines << QString::fromUtf8(
                     "%1 本の線は %2 点を超えるため、いくつかのベクトルに分けました。")
                     .arg(report.splitOutlines)
                     .arg(kMaxPoints);
    }
    if (report.droppedOutlines > 0) {
        lines << QString::fromUtf8(
                     "ベクトルは %1 本までのため、%2 本の線 (%3 本のベクトル) "
                     "を読み込みませんでした。")
                     .arg(kSlotCount)
                     .arg(report.droppedOutlines)
                     .arg(report.droppedVectors);
    }
    // What was left out or changed, one count a line.
    const std::pair<int, const char*> counted[] = {
        {report.ignoredItems, "画像 %1 個は線がないため読み込みませんでした。"},
        {report.clampedPoints, "座標の範囲を超えた %1 点を端に寄せました。"},
        {report.vanishedShapes, "座標が大きすぎる図形 %1 個は読み込みませんでした。"},
        {report.circularUses, "自分自身を参照する use %1 個は読み込みませんでした。"},
        {report.ignoredClips, "クリップとマスク %1 個は適用せず、図形全体を読み込みました。"},
    };
    for (const auto& [count, text] : counted) {
        if (count > 0) {
            lines << QString::fromUtf8(text).arg(count);
        }
    }
    if (lines.isEmpty()) {
        return {};
    }
    lines.prepend(
        QCoreApplication::translate("Penmoji", "%1 本の線から %2 本のベクトルを作りました。")
            .arg(report.outlines)
            .arg(report.vectors));
    return lines.join(QLatin1Char('\n'));
}

InterchangeCommands::InterchangeCommands(EditorDocument& document, UserInteraction& interaction,
                                         CanvasView& view, QWidget& window, FileRenderer& renderer,
                                         DrawingSaving& saving, CommandRegistry& commands)
    : document_(document),
      interaction_(interaction),
      view_(view),
      window_(window),
      renderer_(renderer),
      saving_(saving) {
    QObject::connect(&importer_, &BackgroundTask::finished, &importer_,
                     [this](BackgroundTask::Ticket, const std::shared_ptr<const void>& result) {
                         importRead(std::static_pointer_cast<const SvgImport>(result));
                     });
    commands.add({
        .id = command::kImportSvg,
        .text = QT_TRANSLATE_NOOP("Penmoji", "SVG を読み込む..."),
        .run = [this] { importSvg(); },
    });
    commands.add({
        .id = command::kExportSvg,
        .text = QT_TRANSLATE_NOOP("Penmoji", "SVG として書き出す..."),
        .run = [this] { exportSvg(); },
    });
    commands.add({
        .id = command::kExportPicture,
        .text = QT_TRANSLATE_NOOP("Penmoji", "画像として書き出す..."),
        .run = [this] { exportPicture(); },
    });
    commands.add({
        .id = command::kAppendMlt,
        .text = QT_TRANSLATE_NOOP("Penmoji", "MLT に追加..."),
        .run = [this] { appendToMlt(); },
    });
}

InterchangeCommands::~InterchangeCommands() {
    delete progress_;
}

void InterchangeCommands::message(const QString& text) {
    interaction_.showMessage(&window_, text);
}

void InterchangeCommands::report(const QString& text) {
    interaction_.showStatus(&window_, text);
}

void InterchangeCommands::reportWritten(const FileStatus& status, const char* done,
                                        const QString& path) {
    // A failure is never only in the status bar, where it could be missed.
    if (status.ok()) {
        report(QString::fromUtf8(done).arg(QFileInfo(path).fileName()));
    } else {
        message(fileFailureText(text::kOutputWriteError, status));
    }
}

QSize InterchangeCommands::visibleCanvas() const {
    // The canvas sits in the scroll area's viewport, and is at least as large as it.
    return view_.viewport()->size() / view_.zoom();
}

void InterchangeCommands::importSvg() {
    // The progress window is modal, so this is only reached when no import is being read.
    if (importer_.busy()) {
        return;
    }
    // The picture replaces the drawing, as opening a file does.
    if (!saving_.maySaveChanges()) {
        return;
    }
    const std::optional<FileChoice> choice = interaction_.chooseFileToOpen(&window_, svgDialog());
    if (!choice) {
        return;
    }
    // An icon of 24 units at 24 pixels is never what is wanted: fitting is the default.
    const bool fit = interaction_.askYesNo(&window_, QString::fromUtf8(text::kFitQuestion), true);
    const SvgPlacement placement = fit ? SvgPlacement::FitCanvas : SvgPlacement::Actual;
    const QSize canvas = visibleCanvas();
    importPath_ = choice->path;
    // A hostile file can keep the SVG library busy for long: the window stays alive, and
    // キャンセル gives up on it at once.
    windowWasActive_ = window_.isActiveWindow();
    progress_ = new CProgressDialog(&window_);
    progress_->bar().setRange(0, 0);
    QObject::connect(progress_, &CProgressDialog::cancelled, &importer_,
                     [this] { importCancelled(); });
    progress_->show();
    importer_.start([path = choice->path, placement, canvas](const BackgroundTask::StopFlag&) {
        return std::static_pointer_cast<const void>(
            std::make_shared<const SvgImport>(importSvgFile(path, placement, canvas)));
    });
}

void InterchangeCommands::closeImportProgress() {
    if (progress_ != nullptr) {
        // It may be the sender of the signal being handled.
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    // Some window systems leave no window active when the progress window goes; the keys
    // must keep working without a click.
    if (windowWasActive_ && !window_.isActiveWindow()) {
        window_.activateWindow();
    }
}

void InterchangeCommands::importCancelled() {
    importer_.stop();
    closeImportProgress();
    report(QString::fromUtf8(text::kImportSvgCancelled).arg(QFileInfo(importPath_).fileName()));
}

void InterchangeCommands::importRead(const std::shared_ptr<const SvgImport>& imported) {
    closeImportProgress();
    if (!imported) {
        message(QString::fromUtf8(text::kOutOfMemory));
        return;
    }
    if (!imported->status.ok()) {
        message(fileFailureText(text::kCannotOpenFile, imported->status));
        return;
    }
    document_.replaceWithUntitled(*imported->vectors, text::kStepImportSvg);
    // What was left out of the drawing must be read; a whole import needs no click.
    const QString notice = svgImportNotice(imported->report);
    if (notice.isEmpty()) {
        report(QString::fromUtf8(text::kImportedSvg).arg(QFileInfo(importPath_).fileName()));
    } else {
        message(notice);
    }
}

FileDialogSetup InterchangeCommands::named(FileDialogSetup setup) const {
    const QString& drawing = document_.filePath();
    if (!drawing.isEmpty()) {
        const QFileInfo info(drawing);
        setup.suggestedName =
            info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + setup.defaultSuffix);
    }
    return setup;
}

void InterchangeCommands::exportSvg() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, named(svgDialog()));
    if (!choice) {
        return;
    }
    const FileStatus status = saveVectorSvg(toFilePath(choice->path), document_.vectors());
    reportWritten(status, text::kWroteSvg, choice->path);
}

void InterchangeCommands::renderArt(CopiedDrawing drawing,
                                    std::function<void(const std::string&)> use) {
    const bool trimmed = document_.trimMargins();
    auto done = [trimmed, use](std::shared_ptr<const RenderOutcome> outcome) {
        if (outcome) {
            use(copiedText(outcome->result.text, trimmed));
        }
    };
    // Untrimmed, the art is the drawing where it is: the canvas shows the rendering too.
    if (trimmed) {
        renderer_.renderCopied(std::move(drawing), done);
    } else {
        renderer_.renderDrawing(done);
    }
}

void InterchangeCommands::exportPicture() {
    CPictureOptionsDialog options(&window_);
    ArtPictureOptions shown = picture_;
    shown.drawing = pictureWithDrawing_ ? &document_.vectors() : nullptr;
    options.loadFrom(shown);
    if (interaction_.runDialog(options) != QDialog::Accepted) {
        return;
    }
    options.storeInto(picture_);
    pictureWithDrawing_ = options.withDrawing();
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, named(pictureDialog()));
    if (!choice) {
        return;
    }
    // The drawing under the art moves with it.
    const CopiedDrawing drawing = copiedDrawing(document_);
    renderArt(drawing,
              [this, vectors = drawing.vectors, path = choice->path](const std::string& art) {
                  ArtPictureOptions painting = picture_;
                  painting.drawing = pictureWithDrawing_ ? vectors.get() : nullptr;
                  const FileStatus status = saveArtPicture(toFilePath(path), art, painting);
                  reportWritten(status, text::kWrotePicture, path);
              });
}

void InterchangeCommands::appendToMlt() {
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, named(mltDialog()));
    if (!choice) {
        return;
    }
    renderArt(copiedDrawing(document_), [this, path = choice->path](const std::string& art) {
        const FileStatus status = appendToMltFile(toFilePath(path), std::vector<std::string>{art});
        reportWritten(status, text::kAppendedMlt, path);
    });
}

}  // namespace penmoji
