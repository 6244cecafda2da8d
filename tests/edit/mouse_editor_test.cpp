#include <QTest>

#include <initializer_list>
#include <memory>

#include "edit/mouse_editor.h"

namespace penmoji {
namespace {

Point pt(QPoint p) {
    return {p.x(), p.y()};
}
QPoint qpt(Point p) {
    return {p.x, p.y};
}

void setLine(VectorSet& vectors, int slot, std::initializer_list<Point> points) {
    VectorLine& line = vectors.lines[slot];
    line.count = 0;
    for (Point p : points) {
        line.points[line.count++] = p;
    }
}

int selectedSlot(const VectorSet& vectors) {
    int found = -1;
    for (int s = 0; s < kSlotCount; ++s) {
        if (vectors.lines[s].count != 0 && vectors.lines[s].selected) {
            if (found != -1) {
                return -2;  // more than one: the editor must never leave that
            }
            found = s;
        }
    }
    return found;
}

}  // namespace

class MouseEditorTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        vectors_ = std::make_unique<VectorSet>();
        grid_ = GridSettings{};
        editor_ = std::make_unique<MouseEditor>(*vectors_, grid_);
    }

    void snapToGrid_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("size");
        QTest::addColumn<QPoint>("in");
        QTest::addColumn<QPoint>("out");
        QTest::newRow("grid off keeps the position")
            << false << 8 << QPoint(13, 12) << QPoint(13, 12);
        QTest::newRow("8: up to the nearer line") << true << 8 << QPoint(13, 12) << QPoint(16, 16);
        QTest::newRow("8: down to the nearer line") << true << 8 << QPoint(11, 19) << QPoint(8, 16);
        QTest::newRow("8: below half goes down") << true << 8 << QPoint(3, 11) << QPoint(0, 8);
        QTest::newRow("8: a half goes up") << true << 8 << QPoint(4, 12) << QPoint(8, 16);
        QTest::newRow("8: negatives toward zero") << true << 8 << QPoint(-4, -12) << QPoint(0, -8);
        QTest::newRow("8: negatives never away") << true << 8 << QPoint(-13, -3) << QPoint(-8, 0);
        QTest::newRow("12: half is 6") << true << 12 << QPoint(5, 6) << QPoint(0, 12);
        QTest::newRow("16: half is 8") << true << 16 << QPoint(-24, 24) << QPoint(-16, 32);
    }

    void snapToGrid() {
        QFETCH(bool, enabled);
        QFETCH(int, size);
        QFETCH(QPoint, in);
        QFETCH(QPoint, out);
        QCOMPARE(qpt(penmoji::snapToGrid(pt(in), GridSettings{enabled, size})), out);
    }

    void drawingStoresSnappedPointsAndFollowsTheMouse() {
        grid_ = {true, 8};
        setLine(*vectors_, 0, {{100, 100}});
        vectors_->lines[0].selected = true;
        editor_->newVector();
        QVERIFY(editor_->drawing());
        QCOMPARE(editor_->drawIndex(), 1);
        QVERIFY(vectors_->lines[1].selected);
        QVERIFY(!vectors_->lines[0].selected);

        const VectorLine& line = vectors_->lines[1];
        editor_->leftPress({13, 12}, false);
        QCOMPARE(line.count, 1);
        QCOMPARE(line.points[0], (Point{16, 16}));
        QCOMPARE(line.points[1], (Point{16, 16}));  // the floating end starts on the new point
        editor_->mouseMove({30, 2});
        QCOMPARE(line.points[1], (Point{32, 0}));
        // Outside the canvas, where only the grab delivers the mouse.
        editor_->leftPress({-13, -3}, false);
        QCOMPARE(line.count, 2);
        QCOMPARE(line.points[1], (Point{-8, 0}));

        QVERIFY(editor_->rightPress());
        QVERIFY(!editor_->drawing());
        QCOMPARE(editor_->drawIndex(), -1);
        QCOMPARE(line.count, 2);  // the floating end was never counted
        QCOMPARE(selectedSlot(*vectors_), 1);
    }

    void leftPressWhileDrawingOnlyAddsAPoint() {
        setLine(*vectors_, 0, {{10, 10}, {50, 10}});
        editor_->newVector();
        editor_->leftPress({10, 10}, false);  // on a point of slot 0
        editor_->leftPress({30, 10}, true);   // on its segment, with Shift
        QVERIFY(!editor_->dragging());
        QCOMPARE(vectors_->lines[1].count, 2);
        QCOMPARE(vectors_->lines[1].points[0], (Point{10, 10}));
        QCOMPARE(selectedSlot(*vectors_), 1);
    }

    void rightPressBeforeAnyPointLeavesTheSlotFree() {
        editor_->newVector();
        editor_->rightPress();
        QCOMPARE(vectors_->lines[0].count, 0);
        editor_->newVector();
        QCOMPARE(editor_->drawIndex(), 0);
    }

    void vectorStopsAtTwoHundredPoints() {
        editor_->newVector();
        for (int i = 0; i < kMaxPoints; ++i) {
            editor_->leftPress({i, 2 * i}, false);
        }
        const VectorLine& line = vectors_->lines[0];
        QCOMPARE(line.count, kMaxPoints);
        editor_->leftPress({-1, -1}, false);
        editor_->mouseMove({-5, -5});
        QCOMPARE(line.count, kMaxPoints);
        QCOMPARE(line.points[kMaxPoints - 1], (Point{kMaxPoints - 1, 2 * (kMaxPoints - 1)}));
        QVERIFY(editor_->rightPress());
        QCOMPARE(line.count, kMaxPoints);
    }

    void newVectorWithEverySlotInUseOnlyClearsTheSelection() {
        for (int s = 0; s < kSlotCount; ++s) {
            setLine(*vectors_, s, {{s, s}});
        }
        vectors_->lines[7].selected = true;
        editor_->newVector();
        QVERIFY(!editor_->drawing());
        QCOMPARE(selectedSlot(*vectors_), -1);
    }

    // Slot 0 and slot 1 have points 4 pixels apart; slot 2 is a lone point.
    void pointPick_data() {
        QTest::addColumn<int>("selectedBefore");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("index");
        QTest::newRow("lowest slot wins") << -1 << QPoint(12, 11) << 0 << 0;
        QTest::newRow("the selected vector wins") << 1 << QPoint(12, 11) << 1 << 0;
        QTest::newRow("a selected vector out of reach does not") << 2 << QPoint(12, 11) << 0 << 0;
        QTest::newRow("lowest point of a vector wins") << -1 << QPoint(53, 10) << 0 << 1;
        QTest::newRow("5 right and 5 below is a hit") << -1 << QPoint(105, 105) << 2 << 0;
        QTest::newRow("5 left and 5 above is a hit") << -1 << QPoint(95, 95) << 2 << 0;
        QTest::newRow("6 to the right is a miss") << -1 << QPoint(106, 100) << -1 << -1;
        QTest::newRow("6 above is a miss") << -1 << QPoint(100, 94) << -1 << -1;
    }

    void pointPick() {
        QFETCH(int, selectedBefore);
        QFETCH(QPoint, press);
        QFETCH(int, slot);
        QFETCH(int, index);
        setLine(*vectors_, 0, {{10, 10}, {50, 10}, {55, 10}});
        setLine(*vectors_, 1, {{14, 12}, {80, 80}});
        setLine(*vectors_, 2, {{100, 100}});
        if (selectedBefore >= 0) {
            vectors_->lines[selectedBefore].selected = true;
        }
        editor_->leftPress(pt(press), false);
        QCOMPARE(editor_->dragging(), slot >= 0);
        QCOMPARE(selectedSlot(*vectors_), slot);
        if (slot >= 0) {
            QCOMPARE(editor_->dragIndex(), slot);
            QCOMPARE(editor_->dragPoint(), index);
        }
    }

    // Slot 0 runs from (10, 10) to (50, 10); slot 1 is a lone point.
    void linePick_data() {
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("moving");
        QTest::newRow("on the segment selects without moving")
            << false << QPoint(30, 11) << 0 << false;
        QTest::newRow("an arm's end touching it counts") << false << QPoint(30, 14) << 0 << false;
        QTest::newRow("5 pixels off misses") << false << QPoint(30, 15) << -1 << false;
        QTest::newRow("with Shift the whole vector moves") << true << QPoint(30, 12) << 0 << true;
        QTest::newRow("with Shift a miss selects nothing") << true << QPoint(30, 30) << -1 << false;
        QTest::newRow("a lone point is no line") << true << QPoint(80, 40) << -1 << false;
    }

    void linePick() {
        QFETCH(bool, shift);
        QFETCH(QPoint, press);
        QFETCH(int, selected);
        QFETCH(bool, moving);
        setLine(*vectors_, 0, {{10, 10}, {50, 10}});
        setLine(*vectors_, 1, {{80, 40}});
        vectors_->lines[1].selected = true;
        editor_->leftPress(pt(press), shift);
        QCOMPARE(selectedSlot(*vectors_), selected);
        QCOMPARE(editor_->dragging(), moving);
        if (moving) {
            QCOMPARE(editor_->dragPoint(), -1);
        }
    }

    void loneVectorIsPickedByItsPoint() {
        setLine(*vectors_, 3, {{80, 40}});
        editor_->leftPress({84, 44}, false);
        QVERIFY(editor_->dragging());
        QCOMPARE(editor_->dragIndex(), 3);
        QCOMPARE(editor_->dragPoint(), 0);
    }

    void pointJumpsToTheSnappedMouse() {
        grid_ = {true, 8};
        setLine(*vectors_, 0, {{40, 40}, {80, 40}});
        editor_->leftPress({44, 43}, false);
        editor_->mouseMove({45, 45});
        QCOMPARE(vectors_->lines[0].points[0], (Point{48, 48}));  // the press offset is not kept
        grid_.gridEnabled = false;
        editor_->mouseMove({-7, 300});
        QCOMPARE(vectors_->lines[0].points[0], (Point{-7, 300}));
        QCOMPARE(vectors_->lines[0].points[1], (Point{80, 40}));
        QVERIFY(editor_->leftRelease());
        QVERIFY(!editor_->dragging());
        QCOMPARE(selectedSlot(*vectors_), 0);
        QVERIFY(!editor_->leftRelease());
    }

    void wholeVectorMovesFromWhereItWasAtThePress() {
        setLine(*vectors_, 0, {{10, 10}, {50, 10}, {50, 40}});
        editor_->leftPress({30, 12}, true);
        editor_->mouseMove({35, 20});
        editor_->mouseMove({33, 15});
        const VectorLine& line = vectors_->lines[0];
        QCOMPARE(line.points[0], (Point{13, 13}));
        QCOMPARE(line.points[1], (Point{53, 13}));
        QCOMPARE(line.points[2], (Point{53, 43}));
        editor_->leftRelease();
        QCOMPARE(selectedSlot(*vectors_), 0);
    }

    void wholeVectorMoveSnapsEveryPointOnItsOwn() {
        grid_ = {true, 8};
        setLine(*vectors_, 0, {{3, 3}, {21, 5}, {50, 30}});
        editor_->leftPress({12, 4}, true);
        editor_->mouseMove({13, 4});
        const VectorLine& line = vectors_->lines[0];
        QCOMPARE(line.points[0], (Point{8, 0}));
        QCOMPARE(line.points[1], (Point{24, 8}));
        QCOMPARE(line.points[2], (Point{48, 32}));
    }

    // A move whose vector is deleted or replaced through a keyboard command must not write the
    // old vector's saved points into the slot.
    void moveEndsWhenItsVectorIsReplaced() {
        setLine(*vectors_, 0, {{10, 10}, {50, 10}});
        editor_->leftPress({30, 10}, true);
        setLine(*vectors_, 0, {{1, 2}, {3, 4}, {5, 6}});
        editor_->mouseMove({60, 60});
        QVERIFY(!editor_->dragging());
        QCOMPARE(vectors_->lines[0].points[0], (Point{1, 2}));
    }

private:
    std::unique_ptr<VectorSet> vectors_;
    GridSettings grid_;
    std::unique_ptr<MouseEditor> editor_;
};

}  // namespace penmoji

QTEST_APPLESS_MAIN(penmoji::MouseEditorTest)
#include "mouse_editor_test.moc"
