// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QPointer>

#include "app/copied_art.h"
#include "app/render_service.h"

class QMainWindow;

namespace penmoji {

class CProgressDialog;
class EditorDocument;
class UserInteraction;

// Renders the art that goes into files (render-as, re-render, the exports, a copy made before
// the live rendering caught up) off the GUI thread, behind a progress window that keeps the
// main window from taking input meanwhile and whose Cancel stops the rendering. Each call
// returns at once; the outcome arrives once, through `done`: null when the rendering was
// cancelled or failed (a failure is told to the user). One rendering at a time: while one is
// under way, another is refused.
class FileRenderer final : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(std::shared_ptr<const RenderOutcome>)>;

    FileRenderer(EditorDocument& document, UserInteraction& interaction, QMainWindow& window);
    ~FileRenderer() override;

    bool busy() const { return pending_ != 0; }
    // The drawing as it is now, for a file: the dots go on where the last file left them, and
    // the result is the one the canvas and the preview show.
    bool renderDrawing(Done done);
    // `drawing` (the art as it is copied) for a file: the dots go on as above, while the canvas
    // and the preview keep the drawing where it is.
    bool renderCopied(CopiedDrawing drawing, Done done);
    // `drawing` with the dots of the next file, which it leaves for that file.
    bool renderWithoutDots(CopiedDrawing drawing, Done done);

signals:
    void busyChanged(bool busy);
    // A rendering of the drawing as it is was written to a file: what the window shows.
    void rendered(const std::shared_ptr<const penmoji::RenderOutcome>& outcome);

private:
    enum class Dots { Advance, Keep };
    bool start(RenderJob job, Dots dots, bool shown, Done done);
    void finish(std::shared_ptr<const RenderOutcome> outcome, const QString& failure);

    EditorDocument& document_;
    UserInteraction& interaction_;
    QMainWindow& window_;
    RenderService service_;
    RenderService::Ticket pending_ = 0;
    Dots dots_ = Dots::Keep;
    bool shown_ = false;
    Done done_;
    QPointer<CProgressDialog> progress_;
    bool windowWasActive_ = false;
};

}  // namespace penmoji
