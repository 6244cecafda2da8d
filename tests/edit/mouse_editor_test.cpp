// SPDX-License-Identifier: MIT
#include "edit/mouse_editor.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace penmoji {
namespace {

class GestureLog final : public GestureObserver {
public:
    void gestureBegan(Gesture gesture) override { events.push_back({true, gesture}); }
    void gestureEnded(Gesture gesture) override { events.push_back({false, gesture}); }

    struct Event {
        bool began;
        Gesture gesture;
        friend bool operator==(const Event&, const Event&) = default;
    };
    std::vector<Event> events;
};

class MouseEditorTest : public ::testing::Test {
protected:
    MouseEditorTest() { editor_.setGestureObserver(&gestures_); }

    void setLine(int slot, std::initializer_list<Point> points) {
        document_.setVector(slot, std::vector<Point>(points));
    }
    const VectorLine& line(int slot) const { return document_.line(slot); }
    // A press and release where nothing moves: selects what the press picks.
    void click(Point at, bool shift = false) {
        editor_.leftPress(at, shift);
        editor_.leftRelease();
    }

    Document document_;
    GridSettings grid_;
    MouseEditor editor_{document_, grid_};
    GestureLog gestures_;
};

TEST(SnapToGridTest, NearestLineForPositivesTowardZeroForNegatives) {
    struct Case {
        const char* name;
        GridSettings grid;
        Point in;
        Point out;
    };
    const Case cases[] = {
        {"grid off keeps the position", {false, 8}, {13, 12}, {13, 12}},
        {"8: up to the nearer line", {true, 8}, {13, 12}, {16, 16}},
        {"8: down to the nearer line", {true, 8}, {11, 19}, {8, 16}},
        {"8: below half goes down", {true, 8}, {3, 11}, {0, 8}},
        {"8: a half goes up", {true, 8}, {4, 12}, {8, 16}},
        {"8: negatives toward zero", {true, 8}, {-4, -12}, {0, -8}},
        {"8: negatives never away", {true, 8}, {-13, -3}, {-8, 0}},
        {"12: half is 6", {true, 12}, {5, 6}, {0, 12}},
        {"16: half is 8", {true, 16}, {-24, 24}, {-16, 32}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(snapToGrid(c.in, c.grid), c.out) << c.name;
    }
}

TEST_F(MouseEditorTest, DrawingStoresSnappedPointsAndFollowsTheMouse) {
    grid_ = {true, 8};
    setLine(0, {{100, 100}});
    click({100, 100});
    editor_.newVector();
    ASSERT_TRUE(editor_.drawing());
    EXPECT_EQ(editor_.drawIndex(), 1);
    EXPECT_EQ(editor_.selectedSlot(), 1);

    editor_.leftPress({13, 12}, false);
    EXPECT_EQ(line(1).count, 1);
    EXPECT_EQ(line(1).points[0], (Point{16, 16}));
    EXPECT_EQ(editor_.floatingEnd(), (Point{16, 16}));  // starts on the new point
    editor_.mouseMove({30, 2});
    EXPECT_EQ(editor_.floatingEnd(), (Point{32, 0}));
    // Outside the canvas, where only the grab delivers the mouse.
    editor_.leftPress({-13, -3}, false);
    EXPECT_EQ(line(1).count, 2);
    EXPECT_EQ(line(1).points[1], (Point{-8, 0}));

    EXPECT_TRUE(editor_.rightPress());
    EXPECT_FALSE(editor_.drawing());
    EXPECT_EQ(editor_.drawIndex(), -1);
    EXPECT_EQ(editor_.floatingEnd(), std::nullopt);
    EXPECT_EQ(line(1).count, 2);  // the floating end was never counted
    EXPECT_EQ(editor_.selectedSlot(), 1);
}

TEST_F(MouseEditorTest, LeftPressWhileDrawingOnlyAddsAPoint) {
    setLine(0, {{10, 10}, {50, 10}});
    editor_.newVector();
    editor_.leftPress({10, 10}, false);  // on a point of slot 0
    editor_.leftPress({30, 10}, true);   // on its segment, with Shift
    EXPECT_FALSE(editor_.dragging());
    EXPECT_EQ(line(1).count, 2);
    EXPECT_EQ(line(1).points[0], (Point{10, 10}));
    EXPECT_EQ(line(0).points[0], (Point{10, 10}));
    EXPECT_EQ(editor_.selectedSlot(), 1);
}

TEST_F(MouseEditorTest, TakingBackPointsKeepsTheVectorBeingDrawn) {
    editor_.newVector();
    EXPECT_FALSE(editor_.removeLastPoint());  // nothing drawn yet
    editor_.leftPress({10, 10}, false);
    editor_.leftPress({40, 10}, false);
    editor_.mouseMove({60, 30});
    EXPECT_TRUE(editor_.removeLastPoint());
    EXPECT_TRUE(editor_.drawing());
    EXPECT_EQ(line(0).count, 1);
    EXPECT_EQ(editor_.floatingEnd(), (Point{60, 30}));  // still with the mouse
    EXPECT_TRUE(editor_.removeLastPoint());
    EXPECT_FALSE(editor_.removeLastPoint());
    EXPECT_TRUE(editor_.drawing());
    editor_.leftPress({5, 5}, false);
    EXPECT_EQ(line(0).count, 1);
    EXPECT_EQ(line(0).points[0], (Point{5, 5}));
    EXPECT_EQ(gestures_.events.size(), 1u);  // the drawing never ended

    editor_.rightPress();
    EXPECT_FALSE(editor_.removeLastPoint());  // not drawing
    EXPECT_EQ(line(0).count, 1);
}

TEST_F(MouseEditorTest, RightPressBeforeAnyPointLeavesTheSlotFree) {
    editor_.newVector();
    editor_.rightPress();
    EXPECT_EQ(line(0).count, 0);
    editor_.newVector();
    EXPECT_EQ(editor_.drawIndex(), 0);
}

TEST_F(MouseEditorTest, VectorStopsAtTwoHundredPoints) {
    editor_.newVector();
    for (int i = 0; i < kMaxPoints; ++i) {
        editor_.leftPress({i, 2 * i}, false);
    }
    EXPECT_EQ(line(0).count, kMaxPoints);
    EXPECT_EQ(editor_.floatingEnd(), std::nullopt);
    editor_.leftPress({-1, -1}, false);
    editor_.mouseMove({-5, -5});
    EXPECT_EQ(line(0).count, kMaxPoints);
    EXPECT_EQ(line(0).points[kMaxPoints - 1], (Point{kMaxPoints - 1, 2 * (kMaxPoints - 1)}));
    EXPECT_TRUE(editor_.rightPress());
    EXPECT_EQ(line(0).count, kMaxPoints);
}

TEST_F(MouseEditorTest, NewVectorWithEverySlotInUseOnlyClearsTheSelection) {
    for (int s = 0; s < kSlotCount; ++s) {
        setLine(s, {{10 * s, 0}, {10 * s, 20}});
    }
    click({70, 10});
    ASSERT_EQ(editor_.selectedSlot(), 7);
    editor_.newVector();
    EXPECT_FALSE(editor_.drawing());
    EXPECT_EQ(editor_.selectedSlot(), -1);
}

// Slot 0 and slot 1 have points 4 pixels apart; slot 2 is a lone point.
TEST_F(MouseEditorTest, PointPickPrefersTheSelectedVectorThenTheLowestSlot) {
    struct Case {
        const char* name;
        std::optional<Point> selectFirst;
        Point press;
        int slot;
        int index;
    };
    const Case cases[] = {
        {"lowest slot wins", {}, {12, 11}, 0, 0},
        {"the selected vector wins", Point{47, 46}, {12, 11}, 1, 0},
        {"a selected vector out of reach does not", Point{100, 100}, {12, 11}, 0, 0},
        {"lowest point of a vector wins", {}, {53, 10}, 0, 1},
        {"5 right and 5 below is a hit", {}, {105, 105}, 2, 0},
        {"5 left and 5 above is a hit", {}, {95, 95}, 2, 0},
        {"6 to the right is a miss", {}, {106, 100}, -1, -1},
        {"6 above is a miss", {}, {100, 94}, -1, -1},
    };
    setLine(0, {{10, 10}, {50, 10}, {55, 10}});
    setLine(1, {{14, 12}, {80, 80}});
    setLine(2, {{100, 100}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        click({500, 500});
        if (c.selectFirst) {
            click(*c.selectFirst);
        }
        editor_.leftPress(c.press, false);
        EXPECT_EQ(editor_.dragging(), c.slot >= 0);
        EXPECT_EQ(editor_.selectedSlot(), c.slot);
        EXPECT_EQ(editor_.dragIndex(), c.slot);
        EXPECT_EQ(editor_.dragPoint(), c.index);
        editor_.leftRelease();
    }
}

// Slot 0 runs from (10, 10) to (50, 10); slot 1 is a lone point, selected before each press.
TEST_F(MouseEditorTest, LinePickSelectsAndWithShiftMovesTheWholeVector) {
    struct Case {
        const char* name;
        bool shift;
        Point press;
        int selected;
        bool moving;
    };
    const Case cases[] = {
        {"on the segment selects without moving", false, {30, 11}, 0, false},
        {"an arm's end touching it counts", false, {30, 14}, 0, false},
        {"5 pixels off misses", false, {30, 15}, -1, false},
        {"with Shift the whole vector moves", true, {30, 12}, 0, true},
        {"with Shift a miss selects nothing", true, {30, 30}, -1, false},
        {"a lone point is no line", true, {80, 40}, -1, false},
    };
    setLine(0, {{10, 10}, {50, 10}});
    setLine(1, {{80, 40}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        click({80, 40});
        ASSERT_EQ(editor_.selectedSlot(), 1);
        editor_.leftPress(c.press, c.shift);
        EXPECT_EQ(editor_.selectedSlot(), c.selected);
        EXPECT_EQ(editor_.dragging(), c.moving);
        if (c.moving) {
            EXPECT_EQ(editor_.dragPoint(), -1);
        }
        editor_.leftRelease();
    }
}

TEST_F(MouseEditorTest, PointJumpsToTheSnappedMouse) {
    grid_ = {true, 8};
    setLine(0, {{40, 40}, {80, 40}});
    editor_.leftPress({44, 43}, false);
    editor_.mouseMove({45, 45});
    EXPECT_EQ(line(0).points[0], (Point{48, 48}));  // the press offset is not kept
    grid_.gridEnabled = false;
    editor_.mouseMove({-7, 300});
    EXPECT_EQ(line(0).points[0], (Point{-7, 300}));
    EXPECT_EQ(line(0).points[1], (Point{80, 40}));
    EXPECT_TRUE(editor_.leftRelease());
    EXPECT_FALSE(editor_.dragging());
    EXPECT_EQ(editor_.selectedSlot(), 0);
    EXPECT_FALSE(editor_.leftRelease());
}

TEST_F(MouseEditorTest, WholeVectorMovesFromWhereItWasAtThePress) {
    setLine(0, {{10, 10}, {50, 10}, {50, 40}});
    editor_.leftPress({30, 12}, true);
    editor_.mouseMove({35, 20});
    editor_.mouseMove({33, 15});
    EXPECT_EQ(line(0).points[0], (Point{13, 13}));
    EXPECT_EQ(line(0).points[1], (Point{53, 13}));
    EXPECT_EQ(line(0).points[2], (Point{53, 43}));
    editor_.leftRelease();
    EXPECT_EQ(editor_.selectedSlot(), 0);
}

TEST_F(MouseEditorTest, WholeVectorMoveSnapsEveryPointOnItsOwn) {
    grid_ = {true, 8};
    setLine(0, {{3, 3}, {21, 5}, {50, 30}});
    editor_.leftPress({12, 4}, true);
    editor_.mouseMove({13, 4});
    EXPECT_EQ(line(0).points[0], (Point{8, 0}));
    EXPECT_EQ(line(0).points[1], (Point{24, 8}));
    EXPECT_EQ(line(0).points[2], (Point{48, 32}));
}

TEST_F(MouseEditorTest, EveryGestureIsMarkedFromItsFirstEventToItsLast) {
    using Event = GestureLog::Event;
    setLine(0, {{10, 10}, {50, 10}});
    editor_.newVector();
    editor_.leftPress({0, 40}, false);
    editor_.rightPress();
    editor_.leftPress({10, 10}, false);
    editor_.mouseMove({12, 12});
    editor_.leftRelease();
    editor_.leftPress({30, 12}, true);
    editor_.leftRelease();
    click({300, 300});  // picks nothing: no gesture
    const std::vector<Event> expected = {
        {true, Gesture::DrawVector}, {false, Gesture::DrawVector}, {true, Gesture::MovePoint},
        {false, Gesture::MovePoint}, {true, Gesture::MoveVector},  {false, Gesture::MoveVector},
    };
    EXPECT_EQ(gestures_.events, expected);
}

// A change made elsewhere (a menu command, a key) that takes away the vector under the pen ends
// the gesture, so the next event cannot write into whatever took the vector's place.
TEST_F(MouseEditorTest, ChangesThatTakeTheVectorAwayEndTheGesture) {
    struct Case {
        const char* name;
        // Takes away the vector in `slot`.
        void (*change)(Document&, int slot);
    };
    const Case cases[] = {
        {"deleted", [](Document& d, int slot) { d.deleteVector(slot); }},
        {"cleared", [](Document& d, int) { d.clear(); }},
        {"replaced by an opened drawing",
         [](Document& d, int) {
             std::istringstream file(std::string(800, '\0'));
             ASSERT_TRUE(d.readFrom(file).ok());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document_.clear();
        setLine(0, {{10, 10}, {50, 10}});
        editor_.newVector();
        editor_.leftPress({5, 60}, false);
        c.change(document_, 1);
        EXPECT_FALSE(editor_.drawing());
        EXPECT_EQ(editor_.selectedSlot(), -1);
        EXPECT_EQ(gestures_.events.back(), (GestureLog::Event{false, Gesture::DrawVector}));
        editor_.leftPress({7, 70}, false);
        editor_.rightPress();
        EXPECT_EQ(line(1).count, 0);

        setLine(0, {{10, 10}, {50, 10}});
        editor_.leftPress({30, 10}, true);
        ASSERT_TRUE(editor_.dragging());
        c.change(document_, 0);
        EXPECT_FALSE(editor_.dragging());
        editor_.mouseMove({60, 60});
        EXPECT_EQ(line(0).count, 0);
    }
}

TEST_F(MouseEditorTest, DeletingAnotherVectorLeavesTheGestureAlone) {
    setLine(0, {{10, 10}, {50, 10}});
    editor_.newVector();
    editor_.leftPress({5, 60}, false);
    document_.deleteVector(0);
    EXPECT_TRUE(editor_.drawing());
    editor_.leftPress({7, 70}, false);
    EXPECT_EQ(line(1).count, 2);
}

}  // namespace
}  // namespace penmoji
