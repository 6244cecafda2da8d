// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include <QObject>

namespace penmoji {

// Work done off the GUI thread that a user may give up on: reading a picture or an SVG file,
// tracing. The work reads the stop flag where it can; where it cannot (inside a library call), it
// runs on to its end and its result is dropped, so giving up never waits for it.
class BackgroundTask final : public QObject {
    Q_OBJECT
public:
    using Ticket = quint64;
    using StopFlag = std::atomic<bool>;
    // Gives the result, or null when it stopped on the flag or could not finish.
    using Work = std::function<std::shared_ptr<const void>(const StopFlag& stop)>;

    explicit BackgroundTask(QObject* parent = nullptr);
    // Gives up the work in progress; its thread ends by itself.
    ~BackgroundTask() override;

    // Starts `work` and returns its ticket. Work in progress is asked to stop and its result is
    // never delivered; the new work starts once it has ended, so that a run of quick changes (a
    // setting stepped up and down) never keeps more than one thread busy. Of the work waiting,
    // only the latest is kept.
    Ticket start(Work work);
    // Gives up the work in progress and the work waiting: nothing is delivered for them, and
    // the next start begins at once.
    void stop();
    bool busy() const { return awaited_ != 0; }

    // The threads of work, given up or not, still running in this process: the program ends
    // without waiting for them.
    static int runningThreads();

signals:
    // The work of `ticket` ended; `result` is null when it stopped or failed.
    void finished(penmoji::BackgroundTask::Ticket ticket, std::shared_ptr<const void> result);
    void busyChanged(bool busy);

private:
    struct Waiting {
        Ticket ticket;
        Work work;
    };

    void launch(Ticket ticket, Work work);
    void deliver(Ticket ticket, std::shared_ptr<const void> result);
    void setAwaited(Ticket ticket);

    Ticket lastTicket_ = 0;
    // The ticket whose result is wanted; 0 when idle.
    Ticket awaited_ = 0;
    // The work of this task still running on its thread; 0 when none or given up.
    Ticket running_ = 0;
    std::shared_ptr<StopFlag> runningStop_;
    std::optional<Waiting> waiting_;
};

}  // namespace penmoji
