// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "app/command_target.h"
#include "app/render_service.h"

class QMainWindow;

namespace penmoji {

struct AppState;
class CEditCanvas;
class UserInteraction;

// The commands that render into a file and the render settings: render as, re-render and the
// settings dialog. The rendering runs on the render service while the window keeps painting.
class RenderCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    RenderCommands(AppState& state, UserInteraction& interaction, CEditCanvas& canvas,
                   QMainWindow& window);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

    // The output file of the last render-as that was written, and its extension.
    const QString& renderPath() const { return renderPath_; }
    const QString& renderExtension() const { return renderExtension_; }
    RenderService& service() { return service_; }
    // Renders `job`, showing progress; nothing if it was cancelled or failed (a failure, such as
    // running out of memory, is told to the user). The window keeps painting meanwhile; only
    // the progress dialog's Cancel takes input.
    std::shared_ptr<const RenderOutcome> renderWithProgress(RenderJob job);
    // Renders the drawing as it is now for a file, as render-as does: with progress, the dots
    // going on where the last file left them, the result shown and reported as rendered.
    std::shared_ptr<const RenderOutcome> renderForFile();
    // Renders `drawing`, the art as it is copied, for a file: with progress and the dots going
    // on as renderForFile's, while the canvas and the preview keep the drawing where it is.
    std::shared_ptr<const RenderOutcome> renderCopiedForFile(
        std::shared_ptr<const VectorSet> drawing);
    // Another drawing took the place of the one rendered last (opened, initialised, imported):
    // re-render asks before it writes this drawing over that one's art.
    void drawingReplaced();

signals:
    // The file re-render will write changed.
    void renderPathChanged(const QString& path);
    // The render settings changed; what was rendered before is out of date.
    void settingsChanged();
    // A rendering was written to a file.
    void rendered(const std::shared_ptr<const penmoji::RenderOutcome>& outcome);
    // A file took the next dots; the live renderings start from where it left them.
    void dotsAdvanced();
    void busyChanged(bool busy);

private:
    void renderAs();
    void reRender();
    // Renders into `path`; false, after telling the user, when the file was not written (a
    // cancelled rendering is not told).
    bool renderToFile(const QString& path, const QString& extension);
    // Makes `path` the file re-render writes, once something was written to it.
    void setRenderTarget(const QString& path, const QString& extension);
    void runRenderOptionsDialog();
    void message(const QString& text);

    AppState& state_;
    UserInteraction& interaction_;
    CEditCanvas& canvas_;
    QMainWindow& window_;
    RenderService service_;
    QString renderPath_;
    QString renderExtension_;
    // The render target holds the art of a drawing that is no longer the one being edited.
    bool targetOfEarlierDrawing_ = false;
};

}  // namespace penmoji
