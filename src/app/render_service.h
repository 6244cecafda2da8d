// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/render_settings.h"
#include "document/placed_text.h"
#include "document/vector_set.h"

namespace penmoji {

// One rendering to make: a snapshot of the drawing and its placed text, never the live
// document, and the dot generator to start from.
struct RenderJob {
    std::shared_ptr<const VectorSet> vectors;
    RenderSettings settings;
    RandomGenerator random;
    // Null or empty: no placed text.
    std::shared_ptr<const PlacedText> placed;
};

// A finished rendering and the dot generator as the rendering left it.
struct RenderOutcome {
    RenderResult result;
    RandomGenerator random;
};

// Renders on a worker thread, the latest request winning: a new request stops the one in
// progress, whose result is then never delivered. Results and progress arrive on the thread
// the service lives in.
class RenderService final : public QObject {
    Q_OBJECT
public:
    using Ticket = quint64;

    explicit RenderService(QObject* parent = nullptr);
    // Stops the rendering in progress and waits for the worker to end.
    ~RenderService() override;

    // Starts rendering `job` and returns its ticket; the rendering in progress, if any, is
    // dropped.
    Ticket render(RenderJob job);
    // Drops the rendering in progress; nothing is delivered for it.
    void stop();
    bool busy() const { return busyTicket_ != 0; }

signals:
    void progressed(qint64 position, qint64 total);
    void finished(penmoji::RenderService::Ticket ticket,
                  std::shared_ptr<const penmoji::RenderOutcome> outcome);
    // A rendering that was stopped or superseded: no result will come for it.
    void dropped(penmoji::RenderService::Ticket ticket);
    // A rendering that could not be made (memory ran out), with the message for the user; the
    // drawing and everything else is as it was.
    void failed(penmoji::RenderService::Ticket ticket, QString message);
    void busyChanged(bool busy);

private:
    class Worker;
    friend class Worker;

    // A null outcome with an empty message: stopped; with a message: failed.
    void deliver(Ticket ticket, std::shared_ptr<const RenderOutcome> outcome,
                 const QString& failure);
    void reportProgress(Ticket ticket, qint64 position, qint64 total);
    void setBusyTicket(Ticket ticket);

    Worker* worker_;
    Ticket lastTicket_ = 0;
    // The ticket whose result is awaited; 0 when idle.
    Ticket busyTicket_ = 0;
};

}  // namespace penmoji
