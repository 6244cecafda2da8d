// SPDX-License-Identifier: MIT
#include "app/render_service.h"

#include <atomic>
#include <chrono>
#include <new>
#include <optional>

#include "app/app_texts.h"
#include "compose/incremental_rendering.h"
#include "compose/streamed_rendering.h"

namespace penmoji {

// The thread that renders. It sleeps until given a job, renders it, posts the result to the
// service and sleeps again; a newer job or the end of the service stops the current rendering
// at its next cursor position. It keeps its last rendering, so that a job differing from the
// last in a few places matches only the rows those places reach.
class RenderService::Worker final : public QThread {
public:
    explicit Worker(RenderService& service) : service_(service) {}

    ~Worker() override {
        {
            QMutexLocker lock(&mutex_);
            abort_ = true;
            stop_ = true;
            wakeUp_.wakeOne();
        }
        wait();
    }

    void post(Ticket ticket, RenderJob job) {
        QMutexLocker lock(&mutex_);
        pending_ = std::move(job);
        pendingTicket_ = ticket;
        stop_ = true;
        if (!isRunning()) {
            start(QThread::LowPriority);
        } else {
            wakeUp_.wakeOne();
        }
    }

    void stopCurrent() {
        QMutexLocker lock(&mutex_);
        pending_.reset();
        stop_ = true;
    }

protected:
    void run() override {
        for (;;) {
            RenderJob job;
            Ticket ticket = 0;
            {
                QMutexLocker lock(&mutex_);
                while (!pending_ && !abort_) {
                    wakeUp_.wait(&mutex_);
                }
                if (abort_) {
                    return;
                }
                job = std::move(*pending_);
                pending_.reset();
                ticket = pendingTicket_;
                stop_ = false;
            }
            renderOne(ticket, job);
        }
    }

private:
    // Passes progress on at most every few dozen milliseconds and answers the stop flag.
    class Progress final : public ProgressReceiver {
    public:
        Progress(Worker& worker, Ticket ticket) : worker_(worker), ticket_(ticket) {}

        void reportProgress(std::int64_t position, std::int64_t total) override {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastReport_ < std::chrono::milliseconds(40)) {
                return;
            }
            lastReport_ = now;
            QMetaObject::invokeMethod(
                &worker_.service_, [service = &worker_.service_, ticket = ticket_, position,
                                    total] { service->reportProgress(ticket, position, total); });
        }

        bool stopRequested() override { return worker_.stop_.load(std::memory_order_relaxed); }

    private:
        Worker& worker_;
        Ticket ticket_;
        std::chrono::steady_clock::time_point lastReport_{};
    };

    // Never throws: memory running out ends this rendering with a message, not the program.
    void renderOne(Ticket ticket, const RenderJob& job) {
        std::shared_ptr<const RenderOutcome> outcome;
        QString failure;
        try {
            Progress progress(*this, ticket);
            RandomGenerator random = job.random;
            CheckedRendering rendered;
            rendered = incremental_.render(*job.vectors, job.settings, random, progress,
                                           job.placed ? *job.placed : PlacedText{});
            if (rendered.result) {
                outcome = std::make_shared<const RenderOutcome>(
                    RenderOutcome{std::move(*rendered.result), random});
            } else if (rendered.end == RenderEnd::OutOfMemory) {
                failure = QString::fromUtf8(text::kOutOfMemory);
            }
        } catch (const std::bad_alloc&) {
            outcome.reset();
            failure = QString::fromUtf8(text::kOutOfMemory);
        }
        QMetaObject::invokeMethod(&service_, [service = &service_, ticket, outcome, failure] {
            service->deliver(ticket, outcome, failure);
        });
    }

    RenderService& service_;
    IncrementalRendering incremental_;  // the worker thread's own
    QMutex mutex_;
    QWaitCondition wakeUp_;
    std::optional<RenderJob> pending_;
    Ticket pendingTicket_ = 0;
    bool abort_ = false;
    std::atomic<bool> stop_ = false;
};

RenderService::RenderService(QObject* parent) : QObject(parent), worker_(new Worker(*this)) {}

RenderService::~RenderService() {
    delete worker_;
}

RenderService::Ticket RenderService::render(RenderJob job) {
    const Ticket ticket = ++lastTicket_;
    const Ticket superseded = busyTicket_;
    worker_->post(ticket, std::move(job));
    setBusyTicket(ticket);
    if (superseded != 0) {
        emit dropped(superseded);
    }
    return ticket;
}

void RenderService::stop() {
    const Ticket stopped = busyTicket_;
    worker_->stopCurrent();
    setBusyTicket(0);
    if (stopped != 0) {
        emit dropped(stopped);
    }
}

void RenderService::deliver(Ticket ticket, std::shared_ptr<const RenderOutcome> outcome,
                            const QString& failure) {
    // A result that was superseded or stopped after the worker posted it is never shown.
    if (ticket != busyTicket_) {
        return;
    }
    setBusyTicket(0);
    if (outcome) {
        emit finished(ticket, outcome);
    } else if (!failure.isEmpty()) {
        emit failed(ticket, failure);
    } else {
        emit dropped(ticket);
    }
}

void RenderService::reportProgress(Ticket ticket, qint64 position, qint64 total) {
    if (ticket == busyTicket_) {
        emit progressed(position, total);
    }
}

void RenderService::setBusyTicket(Ticket ticket) {
    const bool wasBusy = busy();
    busyTicket_ = ticket;
    if (busy() != wasBusy) {
        emit busyChanged(busy());
    }
}

}  // namespace penmoji
