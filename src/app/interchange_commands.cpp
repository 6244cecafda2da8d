#include "app/interchange_commands.h"

#include <algorithm>
#include <vector>

#include <QWidget>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/file_failure_text.h"
#include "app/file_paths.h"
#include "app/picture_options_dialog.h"
#include "app/render_commands.h"
#include "app/user_interaction.h"
#include "canvas/edit_canvas.h"
#include "compose/mlt_file.h"
#include "compose/vector_svg.h"
#include "interchange/svg_import.h"

namespace penmoji {
namespace {

constexpr int kCommands[] = {command::kImportSvg, command::kExportSvg, command::kExportPicture,
                             command::kAppendMlt};

FileDialogSetup svgDialog() {
    return {{QString::fromUtf8("SVG (*.svg)"), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("svg")};
}

FileDialogSetup pictureDialog() {
    return {{QString::fromUtf8("PNG 画像 (*.png)")}, QStringLiteral("png")};
}

FileDialogSetup mltDialog() {
    return {{QString::fromUtf8("MLT (*.mlt)"), QString::fromUtf8(text::kAllFilesFilter)},
            QStringLiteral("mlt"),
            false};
}

constexpr char kFitQuestion[] =
    "キャンバスの大きさに合わせて読み込みますか？\n"
    "(いいえ: SVG の 1 単位を 1 ピクセルとして読み込みます)";

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
    if (report.ignoredItems > 0) {
        lines << QString::fromUtf8("画像 %1 個は線がないため読み込みませんでした。")
                     .arg(report.ignoredItems);
    }
    if (report.clampedPoints > 0) {
        lines << QString::fromUtf8("座標の範囲を超えた %1 点を端に寄せました。")
                     .arg(report.clampedPoints);
    }
    if (lines.isEmpty()) {
        return {};
    }
    lines.prepend(QString::fromUtf8("%1 本の線から %2 本のベクトルを作りました。")
                      .arg(report.outlines)
                      .arg(report.vectors));
    return lines.join(QLatin1Char('\n'));
}

InterchangeCommands::InterchangeCommands(AppState& state, UserInteraction& interaction,
                                         CEditCanvas& canvas, QWidget& window,
                                         RenderCommands& render)
    : state_(state), interaction_(interaction), canvas_(canvas), window_(window), render_(render) {}

bool InterchangeCommands::handlesCommand(int id) const {
    return std::find(std::begin(kCommands), std::end(kCommands), id) != std::end(kCommands);
}

CommandState InterchangeCommands::commandState(int) const {
    return {true, false};
}

void InterchangeCommands::executeCommand(int id) {
    switch (id) {
        case command::kImportSvg:
            importSvg();
            break;
        case command::kExportSvg:
            exportSvg();
            break;
        case command::kExportPicture:
            exportPicture();
            break;
        case command::kAppendMlt:
            appendToMlt();
            break;
        default:
            break;
    }
}

void InterchangeCommands::message(const QString& text) {
    interaction_.showMessage(&window_, text);
}

void InterchangeCommands::importSvg() {
    const std::optional<FileChoice> choice = interaction_.chooseFileToOpen(&window_, svgDialog());
    if (!choice) {
        return;
    }
    const bool fit = interaction_.askYesNo(&window_, QString::fromUtf8(kFitQuestion));
    const SvgImport imported = importSvgFile(
        choice->path, fit ? SvgPlacement::FitCanvas : SvgPlacement::Actual, canvas_.size());
    if (!imported.status.ok()) {
        message(fileFailureText(text::kCannotOpenFile, imported.status));
        return;
    }
    // The import replaces the drawing as one change, so that one undo step takes it back.
    state_.document.document().replaceAll(*imported.vectors);
    canvas_.setGlyphBoxes({});
    const QString notice = svgImportNotice(imported.report);
    message(notice.isEmpty() ? QString::fromUtf8(text::kFinished) : notice);
}

void InterchangeCommands::exportSvg() {
    const std::optional<FileChoice> choice = interaction_.chooseFileToSave(&window_, svgDialog());
    if (!choice) {
        return;
    }
    const FileStatus status = saveVectorSvg(toFilePath(choice->path), state_.document.vectors());
    message(status.ok() ? QString::fromUtf8(text::kFinished)
                        : fileFailureText(text::kOutputWriteError, status));
}

std::optional<std::string> InterchangeCommands::renderArt() {
    const std::shared_ptr<const RenderOutcome> outcome = render_.renderWithProgress();
    if (!outcome) {
        return std::nullopt;
    }
    // As render-as: the written art used up its dots, and the canvas shows what it was made of.
    state_.random = outcome->random;
    canvas_.setGlyphBoxes(outcome->result.boxes);
    canvas_.preview().setPreviewText(outcome->result.text);
    return outcome->result.text;
}

void InterchangeCommands::exportPicture() {
    CPictureOptionsDialog options(&window_);
    ArtPictureOptions shown = picture_;
    shown.drawing = pictureWithDrawing_ ? &state_.document.vectors() : nullptr;
    options.loadFrom(shown);
    if (interaction_.runDialog(options) != QDialog::Accepted) {
        return;
    }
    options.storeInto(picture_);
    pictureWithDrawing_ = options.withDrawing();
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToSave(&window_, pictureDialog());
    if (!choice) {
        return;
    }
    const std::optional<std::string> art = renderArt();
    if (!art) {
        return;
    }
    ArtPictureOptions painting = picture_;
    painting.drawing = pictureWithDrawing_ ? &state_.document.vectors() : nullptr;
    const FileStatus status = saveArtPicture(toFilePath(choice->path), *art, painting);
    message(status.ok() ? QString::fromUtf8(text::kFinished)
                        : fileFailureText(text::kOutputWriteError, status));
}

void InterchangeCommands::appendToMlt() {
    const std::optional<FileChoice> choice = interaction_.chooseFileToSave(&window_, mltDialog());
    if (!choice) {
        return;
    }
    const std::optional<std::string> art = renderArt();
    if (!art) {
        return;
    }
    const FileStatus status =
        appendToMltFile(toFilePath(choice->path), std::vector<std::string>{*art});
    message(status.ok() ? QString::fromUtf8(text::kFinished)
                        : fileFailureText(text::kOutputWriteError, status));
}

}  // namespace penmoji
