// SPDX-License-Identifier: MIT
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <random>

#include "allocation_limit.h"
#include "app/render_service.h"

namespace penmoji {
namespace {

using Outcome = std::shared_ptr<const RenderOutcome>;

std::shared_ptr<const VectorSet> smallDrawing() {
    auto vectors = std::make_shared<VectorSet>();
    VectorLine& line = vectors->lines[0];
    line.count = 3;
    line.points[0] = {10, 10};
    line.points[1] = {60, 40};
    line.points[2] = {120, 12};
    return vectors;
}

// Long strokes scattered over the largest canvas a file may hold: minutes of work.
std::shared_ptr<const VectorSet> endlessDrawing() {
    auto vectors = std::make_shared<VectorSet>();
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> coordinate(0, 1'000'000);
    for (VectorLine& line : vectors->lines) {
        line.count = kMaxPoints;
        for (Point& p : line.points) {
            p = {coordinate(random), coordinate(random)};
        }
    }
    return vectors;
}

// Five columns 8,000 pixels tall: 500 rows with gaps of up to 2,700 pixels.
std::shared_ptr<const VectorSet> columnsDrawing() {
    auto vectors = std::make_shared<VectorSet>();
    const std::int32_t columns[] = {0, 23, 74, 305, 3000};
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        VectorLine& line = vectors->lines[i];
        line.count = 2;
        line.points[0] = {columns[i], 0};
        line.points[1] = {columns[i], 8000};
    }
    return vectors;
}

}  // namespace

class RenderServiceTest : public QObject {
    Q_OBJECT

private slots:
    void deliversWhatRenderTextMakes() {
        RenderService service;
        QSignalSpy finished(&service, &RenderService::finished);
        RandomGenerator start;
        start.next();  // a generator carried over from an earlier rendering
        RenderSettings settings;
        settings.useDots = true;
        const RenderService::Ticket ticket =
            service.render({smallDrawing(), settings, start, nullptr});
        QVERIFY(service.busy());
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!service.busy());

        RandomGenerator direct = start;
        NoProgress quiet;
        const std::optional<RenderResult> expected =
            renderText(*smallDrawing(), settings, direct, quiet);
        QCOMPARE(finished[0][0].value<RenderService::Ticket>(), ticket);
        const Outcome outcome = finished[0][1].value<Outcome>();
        QCOMPARE(outcome->result.text, expected->text);
        QCOMPARE(outcome->result.boxes.boxCount(), expected->boxes.boxCount());
        RandomGenerator after = outcome->random;
        QCOMPARE(after.next(), direct.next());
    }

    // Placed text goes into the rendering as renderText puts it; the drawing renders as it
    // does without pieces once they are gone, whatever was kept from the rendering with them.
    void rendersThePlacedTextOfTheJob() {
        RenderService service;
        QSignalSpy finished(&service, &RenderService::finished);
        const RenderSettings settings;
        const auto placed = std::make_shared<const PlacedText>(
            PlacedText{{30, 40, {{0x8197, 0x41}}}, {200, 300, {{0x42}}}});
        const std::shared_ptr<const VectorSet> drawing = smallDrawing();
        service.render({drawing, settings, {}, nullptr});
        service.render({drawing, settings, {}, placed});
        QTRY_COMPARE(finished.count(), 1);
        service.render({drawing, settings, {}, nullptr});
        QTRY_COMPARE(finished.count(), 2);

        NoProgress quiet;
        RandomGenerator with, without;
        const std::optional<RenderResult> expectedWith =
            renderText(*drawing, settings, with, quiet, *placed);
        const std::optional<RenderResult> expectedWithout =
            renderText(*drawing, settings, without, quiet);
        QCOMPARE(finished[0][1].value<Outcome>()->result.text, expectedWith->text);
        QCOMPARE(finished[1][1].value<Outcome>()->result.text, expectedWithout->text);
        QVERIFY(expectedWith->text != expectedWithout->text);
    }

    // Whether the first rendering is still running or already finished and waiting to be
    // delivered, the newer request wins.
    void aSupersededRequestIsNeverDelivered_data() {
        QTest::addColumn<bool>("firstIsLong");
        QTest::newRow("still running") << true;
        QTest::newRow("already done") << false;
    }

    void aSupersededRequestIsNeverDelivered() {
        QFETCH(bool, firstIsLong);
        RenderService service;
        QSignalSpy finished(&service, &RenderService::finished);
        QSignalSpy dropped(&service, &RenderService::dropped);
        const RenderService::Ticket first =
            service.render({firstIsLong ? endlessDrawing() : smallDrawing(), {}, {}, nullptr});
        if (!firstIsLong) {
            QThread::msleep(50);  // the worker is done; its result waits in the event queue
        }
        const RenderService::Ticket second = service.render({smallDrawing(), {}, {}, nullptr});
        QTRY_COMPARE(finished.count(), 1);
        QTest::qWait(50);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished[0][0].value<RenderService::Ticket>(), second);
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped[0][0].value<RenderService::Ticket>(), first);
    }

    // The worker can only take the next job once the endless one has given up.
    void aStopEndsALongRendering() {
        RenderService service;
        QSignalSpy progressed(&service, &RenderService::progressed);
        QSignalSpy finished(&service, &RenderService::finished);
        service.render({endlessDrawing(), {}, {}, nullptr});
        QTRY_VERIFY(progressed.count() > 0);
        QElapsedTimer stopping;
        stopping.start();
        service.stop();
        QVERIFY(!service.busy());
        const RenderService::Ticket next = service.render({smallDrawing(), {}, {}, nullptr});
        QTRY_COMPARE(finished.count(), 1);
        qInfo("stop and a small rendering after it took %lld ms", stopping.elapsed());
        QCOMPARE(finished[0][0].value<RenderService::Ticket>(), next);
    }

    // Memory running out ends that rendering with the message, never the program; the service
    // goes on working.
    void runningOutOfMemoryIsReportedAsAFailure() {
        RenderService service;
        QSignalSpy finished(&service, &RenderService::finished);
        QSignalSpy failed(&service, &RenderService::failed);
        QSignalSpy dropped(&service, &RenderService::dropped);
        RenderService::Ticket ticket = 0;
        {
            // Far less than the text of 500 rows of long gaps needs.
            const testing_support::AllocationLimit limit(64 << 10,
                                                         testing_support::LimitedThreads::Others);
            ticket = service.render({columnsDrawing(), {}, {}, nullptr});
            QTRY_COMPARE(failed.count(), 1);
        }
        QCOMPARE(failed[0][0].value<RenderService::Ticket>(), ticket);
        QCOMPARE(failed[0][1].toString(), QString::fromUtf8("メモリが足りません"));
        QVERIFY(!service.busy());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(dropped.count(), 0);

        service.render({columnsDrawing(), {}, {}, nullptr});
        QTRY_COMPARE(finished.count(), 1);
    }

    void destroyingTheServiceStopsItsWorker() {
        auto service = std::make_unique<RenderService>();
        QSignalSpy progressed(service.get(), &RenderService::progressed);
        service->render({endlessDrawing(), {}, {}, nullptr});
        QTRY_VERIFY(progressed.count() > 0);
        service.reset();  // would hang here if the worker did not stop
    }
};

}  // namespace penmoji

QTEST_MAIN(penmoji::RenderServiceTest)
#include "render_service_test.moc"
