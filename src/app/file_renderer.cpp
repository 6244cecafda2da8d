// SPDX-License-Identifier: MIT
#include "app/file_renderer.h"

#include <utility>

#include <QMainWindow>

#include "app/document_render_job.h"
#include "app/progress_dialog.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"

namespace penmoji {

FileRenderer::FileRenderer(EditorDocument& document, UserInteraction& interaction,
                           QMainWindow& window)
    : document_(document), interaction_(interaction), window_(window) {
    connect(&service_, &RenderService::finished, this,
            [this](RenderService::Ticket ticket, std::shared_ptr<const RenderOutcome> outcome) {
                if (ticket == pending_) {
                    finish(std::move(outcome), {});
                }
            });
    connect(&service_, &RenderService::dropped, this, [this](RenderService::Ticket ticket) {
        if (ticket == pending_) {
            finish(nullptr, {});
        }
    });
    connect(&service_, &RenderService::failed, this,
            [this](RenderService::Ticket ticket, const QString& why) {
                if (ticket == pending_) {
                    finish(nullptr, why);
                }
            });
}

FileRenderer::~FileRenderer() {
    // Nothing is delivered once the window that asked for it is going.
    pending_ = 0;
    delete progress_;
}

bool FileRenderer::renderDrawing(Done done) {
    return start(renderJobOf(document_), Dots::Advance, true, std::move(done));
}

bool FileRenderer::renderCopied(CopiedDrawing drawing, Done done) {
    return start(renderJobOf(document_, std::move(drawing)), Dots::Advance, false, std::move(done));
}

bool FileRenderer::renderWithoutDots(CopiedDrawing drawing, Done done) {
    return start(renderJobOf(document_, std::move(drawing)), Dots::Keep, false, std::move(done));
}

bool FileRenderer::start(RenderJob job, Dots dots, bool shown, Done done) {
    if (busy()) {
        return false;
    }
    dots_ = dots;
    shown_ = shown;
    done_ = std::move(done);
    windowWasActive_ = window_.isActiveWindow();
    progress_ = new CProgressDialog(&window_);
    connect(&service_, &RenderService::progressed, progress_, &CProgressDialog::reportProgress);
    // The service's stop reports the rendering dropped, which ends it here.
    connect(progress_, &CProgressDialog::cancelled, &service_, &RenderService::stop);
    progress_->show();
    pending_ = service_.render(std::move(job));
    emit busyChanged(true);
    return true;
}

void FileRenderer::finish(std::shared_ptr<const RenderOutcome> outcome, const QString& failure) {
    pending_ = 0;
    if (progress_) {
        // It may be in the middle of telling of its Cancel, so it goes once that is done.
        progress_->hide();
        progress_->setParent(nullptr);
        progress_->deleteLater();
    }
    // Some window systems leave no window active when the progress window goes; the keys,
    // Ctrl+R above all, must keep working without a click.
    if (windowWasActive_ && !window_.isActiveWindow()) {
        window_.activateWindow();
    }
    emit busyChanged(false);
    // Cancelled: nothing needs saying.
    if (!failure.isEmpty()) {
        interaction_.showMessage(&window_, failure);
    }
    if (outcome) {
        if (dots_ == Dots::Advance) {
            // The next file goes on with the dot sequence where this one left it.
            document_.advanceDots(outcome->random);
        }
        if (shown_) {
            emit rendered(outcome);
        }
    }
    const Done done = std::exchange(done_, {});
    if (done) {
        done(std::move(outcome));
    }
}

}  // namespace penmoji
