// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QObject>

#include "app/render_service.h"

namespace penmoji {

class EditorDocument;

// Keeps a rendering of the drawing as it is now, made in the background after every change
// that alters it. Each starts from a copy of the dot generator of the saved files, so it shows
// exactly what the next render-as would write and advances nothing. A burst of changes makes
// one rendering: requests are gathered until the event loop is free again, and a newer one
// drops an unfinished one.
class LiveRendering final : public QObject {
    Q_OBJECT
public:
    // What is rendered: the drawing where it is, for the canvas and the preview, or the art as
    // it is copied (copiedDrawing()), for the figures.
    enum class Framing { AsDrawn, AsCopied };

    explicit LiveRendering(const EditorDocument& document, QObject* parent = nullptr,
                           Framing framing = Framing::AsDrawn);

    bool enabled() const { return enabled_; }
    // The newest finished rendering, or nothing while none matches the drawing and settings.
    const std::shared_ptr<const RenderOutcome>& current() const { return current_; }
    // True when current() is the drawing and settings as they are now.
    bool upToDate() const { return current_ && !requested_ && !service_.busy(); }
    RenderService& service() { return service_; }

public slots:
    // Switching on renders at once; switching off drops what is shown.
    void setEnabled(bool enabled);
    // The drawing or the settings changed: what is shown is out of date.
    void invalidate();

signals:
    // A new rendering is shown, or (null) none is.
    void updated(const std::shared_ptr<const penmoji::RenderOutcome>& outcome);

private:
    void startRendering();

    const EditorDocument& document_;
    Framing framing_;
    RenderService service_;
    std::shared_ptr<const RenderOutcome> current_;
    bool enabled_ = true;
    bool requested_ = false;
};

}  // namespace penmoji
