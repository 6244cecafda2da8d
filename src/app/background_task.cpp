// SPDX-License-Identifier: MIT
#include "app/background_task.h"

#include <new>
#include <thread>

#include <QCoreApplication>
#include <QPointer>

namespace penmoji {
namespace {

std::atomic<int> threadsRunning{0};

}  // namespace

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask() {
    stop();
}

int BackgroundTask::runningThreads() {
    return threadsRunning.load();
}

BackgroundTask::Ticket BackgroundTask::start(Work work) {
    const Ticket ticket = ++lastTicket_;
    setAwaited(ticket);
    if (running_ != 0) {
        runningStop_->store(true);
        waiting_ = Waiting{ticket, std::move(work)};
    } else {
        launch(ticket, std::move(work));
    }
    return ticket;
}

void BackgroundTask::stop() {
    waiting_.reset();
    if (running_ != 0) {
        runningStop_->store(true);
        running_ = 0;
        runningStop_.reset();
    }
    setAwaited(0);
}

void BackgroundTask::launch(Ticket ticket, Work work) {
    auto stop = std::make_shared<StopFlag>(false);
    running_ = ticket;
    runningStop_ = stop;
    // The result goes back through the application object, which outlives this task: the task
    // may be gone by then, which the guard tells on the GUI thread.
    QPointer<BackgroundTask> guard(this);
    QCoreApplication* application = QCoreApplication::instance();
    ++threadsRunning;
    std::thread([guard = std::move(guard), application, ticket, work = std::move(work),
                 stop = std::move(stop)]() mutable {
        std::shared_ptr<const void> result;
        try {
            result = work(*stop);
        } catch (const std::bad_alloc&) {
            result.reset();
        }
        // The work's captures (a picture, a file's bytes) are let go here, not on the GUI thread.
        work = nullptr;
        QMetaObject::invokeMethod(
            application,
            [guard = std::move(guard), ticket, result = std::move(result)] {
                if (guard) {
                    guard->deliver(ticket, result);
                }
            },
            Qt::QueuedConnection);
        --threadsRunning;
    }).detach();
}

void BackgroundTask::deliver(Ticket ticket, std::shared_ptr<const void> result) {
    if (ticket == running_) {
        running_ = 0;
        runningStop_.reset();
        if (waiting_) {
            Waiting next = std::move(*waiting_);
            waiting_.reset();
            launch(next.ticket, std::move(next.work));
        }
    }
    // A result that was superseded or given up after the work ended is never shown.
    if (ticket != awaited_) {
        return;
    }
    setAwaited(0);
    emit finished(ticket, std::move(result));
}

void BackgroundTask::setAwaited(Ticket ticket) {
    const bool wasBusy = busy();
    awaited_ = ticket;
    if (busy() != wasBusy) {
        emit busyChanged(busy());
    }
}

}  // namespace penmoji
