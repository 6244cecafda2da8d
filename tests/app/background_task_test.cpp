// SPDX-License-Identifier: MIT
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

#include "app/background_task.h"

namespace penmoji {
namespace {

using Ticket = BackgroundTask::Ticket;

std::shared_ptr<const void> number(int value) {
    return std::make_shared<const int>(value);
}

int valueOf(const QList<QVariant>& finished) {
    const auto result = finished.at(1).value<std::shared_ptr<const void>>();
    return result ? *std::static_pointer_cast<const int>(result) : -1;
}

}  // namespace

class BackgroundTaskTest : public QObject {
    Q_OBJECT

private slots:
    void init() { qRegisterMetaType<std::shared_ptr<const void>>(); }
    void cleanup() { QTRY_COMPARE(BackgroundTask::runningThreads(), 0); }

    void workRunsOffTheGuiThreadAndItsResultComesBack();
    void newerWorkWaitsForTheOlderToStopAndOnlyItsResultComes();
    void givenUpWorkIsNeverWaitedForNorDelivered();
};

void BackgroundTaskTest::workRunsOffTheGuiThreadAndItsResultComesBack() {
    BackgroundTask task;
    QSignalSpy finished(&task, &BackgroundTask::finished);
    QThread* ranOn = nullptr;
    const Ticket ticket = task.start([&](const BackgroundTask::StopFlag&) {
        ranOn = QThread::currentThread();
        return number(7);
    });
    QVERIFY(task.busy());
    QVERIFY(finished.wait(5000));
    QVERIFY(ranOn != nullptr && ranOn != QThread::currentThread());
    QCOMPARE(finished.at(0).at(0).value<Ticket>(), ticket);
    QCOMPARE(valueOf(finished.at(0)), 7);
    QVERIFY(!task.busy());
}

// Settings stepped quickly: the work in progress is asked to stop, the latest waits for it, and
// the one in between never runs.
void BackgroundTaskTest::newerWorkWaitsForTheOlderToStopAndOnlyItsResultComes() {
    BackgroundTask task;
    QSignalSpy finished(&task, &BackgroundTask::finished);
    QSemaphore started;
    std::atomic<int> runs = 0;
    task.start([&](const BackgroundTask::StopFlag& stop) {
        ++runs;
        started.release();
        while (!stop) {
            QThread::msleep(1);
        }
        return number(1);
    });
    QVERIFY(started.tryAcquire(1, 5000));
    task.start([&](const BackgroundTask::StopFlag&) {
        ++runs;
        return number(2);
    });
    const Ticket latest = task.start([&](const BackgroundTask::StopFlag&) {
        ++runs;
        return number(3);
    });
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).value<Ticket>(), latest);
    QCOMPARE(valueOf(finished.at(0)), 3);
    QCOMPARE(runs.load(), 2);
}

// Work stuck where it cannot look at the flag (inside a library) is given up on: the next work
// starts at once beside it, and the stuck one's result is dropped when it finally comes.
void BackgroundTaskTest::givenUpWorkIsNeverWaitedForNorDelivered() {
    BackgroundTask task;
    QSignalSpy finished(&task, &BackgroundTask::finished);
    QSemaphore release;
    task.start([&](const BackgroundTask::StopFlag&) {
        release.acquire();
        return number(1);
    });
    task.stop();
    QVERIFY(!task.busy());
    task.start([](const BackgroundTask::StopFlag&) { return number(2); });
    QVERIFY(finished.wait(5000));
    QCOMPARE(valueOf(finished.at(0)), 2);
    // The second thread ends just after its result is posted.
    QTRY_COMPARE(BackgroundTask::runningThreads(), 1);
    release.release();
    QTRY_COMPARE(BackgroundTask::runningThreads(), 0);
    QTest::qWait(20);
    QCOMPARE(finished.size(), 1);

    // A task destroyed with work in progress: the work ends by itself, unseen.
    {
        BackgroundTask gone;
        gone.start([&](const BackgroundTask::StopFlag&) {
            release.acquire();
            return number(3);
        });
    }
    release.release();
    // The semaphore is the work's until it ends.
    QTRY_COMPARE(BackgroundTask::runningThreads(), 0);
}

}  // namespace penmoji

QTEST_MAIN(penmoji::BackgroundTaskTest)
#include "background_task_test.moc"
