// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <memory>
#include <optional>
#include <string>

#include <QPointer>
#include <QSize>
#include <QString>

#include "app/background_task.h"
#include "app/copied_art.h"
#include "app/progress_dialog.h"
#include "app/user_interaction.h"
#include "interchange/art_picture.h"

class QWidget;

namespace penmoji {

class EditorDocument;
class FileStatus;
struct SvgImport;
struct SvgImportReport;
struct VectorSet;
class CanvasView;
class CommandRegistry;
class DrawingSaving;
class FileRenderer;
class UserInteraction;

// The File menu's exchanges with other programs: SVG in and out, the art as a picture and as a
// new page of an MLT collection. The art is rendered as re-render does, through the file
// renderer. An imported picture replaces the drawing, as opening a file does; it is read off
// the GUI thread behind the progress window, whose キャンセル leaves the drawing as it was.
class InterchangeCommands final {
public:
    InterchangeCommands(EditorDocument& document, UserInteraction& interaction, CanvasView& view,
                        QWidget& window, FileRenderer& renderer, DrawingSaving& saving,
                        CommandRegistry& commands);
    ~InterchangeCommands();

    // The import being read, for its progress window and its result; idle otherwise.
    BackgroundTask& importer() { return importer_; }
    // The progress window of the import being read; null when none is.
    CProgressDialog* importProgress() const { return progress_; }

private:
    void importSvg();
    void importRead(const std::shared_ptr<const SvgImport>& imported);
    void importCancelled();
    void closeImportProgress();
    void exportSvg();
    void exportPicture();
    void appendToMlt();
    // Renders the art of `drawing` (copiedDrawing()) as it is copied and gives it to `use`;
    // nothing when the rendering was cancelled or failed.
    void renderArt(CopiedDrawing drawing, std::function<void(const std::string&)> use);
    // `setup` with the drawing's name and the file's extension, in the drawing's folder.
    FileDialogSetup named(FileDialogSetup setup) const;
    // The canvas pixels the window shows, which a fitted picture fills.
    QSize visibleCanvas() const;
    // A box to click away, for failures and what must be read.
    void message(const QString& text);
    // The status bar, for what went as asked.
    void report(const QString& text);
    // `done` (its %1 the file's name) in the status bar, or the failure in a box.
    void reportWritten(const FileStatus& status, const char* done, const QString& path);

    EditorDocument& document_;
    UserInteraction& interaction_;
    CanvasView& view_;
    QWidget& window_;
    FileRenderer& renderer_;
    DrawingSaving& saving_;
    // The picture settings last chosen, for the next picture.
    ArtPictureOptions picture_;
    bool pictureWithDrawing_ = false;
    BackgroundTask importer_;
    QPointer<CProgressDialog> progress_;
    // The file being imported, for what is said after.
    QString importPath_;
    bool windowWasActive_ = false;
};

// What an SVG import did, for the message after it: empty when every outline came in whole.
QString svgImportNotice(const SvgImportReport& report);

}  // namespace penmoji
