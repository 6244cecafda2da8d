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

class EditorDocument;
class UserInteraction;

// The commands that render into a file and the render settings: render as, re-render and the
// settings dialog. The rendering runs on the render service while the window keeps painting.
class RenderCommands final : public QObject, public CommandTarget {
    Q_OBJECT
public:
    RenderCommands(EditorDocument& document, UserInteraction& interaction, QMainWindow& window);

    bool handlesCommand(int id) const override;
    void executeCommand(int id) override;
    CommandState commandState(int id) const override;

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

signals:
    // A rendering was written to a file.
    void rendered(const std::shared_ptr<const penmoji::RenderOutcome>& outcome);
    void busyChanged(bool busy);

private:
    void renderAs();
    void reRender();
    // Renders into `path`; false, after telling the user, when the file was not written (a
    // cancelled rendering is not told).
    bool renderToFile(const QString& path, const QString& extension);
    void runRenderOptionsDialog();
    void message(const QString& text);

    EditorDocument& document_;
    UserInteraction& interaction_;
    QMainWindow& window_;
    RenderService service_;
};

}  // namespace penmoji
