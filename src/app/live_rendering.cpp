// SPDX-License-Identifier: MIT
#include "app/live_rendering.h"

#include <QTimer>

#include "app/copied_art.h"
#include "app/document_render_job.h"
#include "canvas/editor_document.h"

namespace penmoji {

LiveRendering::LiveRendering(const EditorDocument& document, QObject* parent, Framing framing)
    : QObject(parent), document_(document), framing_(framing) {
    connect(&service_, &RenderService::finished, this,
            [this](RenderService::Ticket, std::shared_ptr<const RenderOutcome> outcome) {
                current_ = std::move(outcome);
                emit updated(current_);
            });
}

void LiveRendering::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled_) {
        invalidate();
    } else {
        service_.stop();
        current_.reset();
        emit updated(current_);
    }
}

void LiveRendering::invalidate() {
    if (!enabled_ || requested_) {
        return;
    }
    requested_ = true;
    QTimer::singleShot(0, this, &LiveRendering::startRendering);
}

void LiveRendering::startRendering() {
    requested_ = false;
    if (!enabled_) {
        return;
    }
    service_.render(framing_ == Framing::AsCopied ? renderJobOf(document_, copiedDrawing(document_))
                                                  : renderJobOf(document_));
}

}  // namespace penmoji
