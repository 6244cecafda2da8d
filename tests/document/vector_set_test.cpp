#include "document/vector_set.h"

#include <gtest/gtest.h>

#include "document_test_util.h"

namespace penmoji {
namespace {

using fixtures::newDocument;

TEST(VectorSetTest, FirstFreeIsTheLowestSlotWithNoPoints) {
    auto document = newDocument();
    EXPECT_EQ(document->firstFree(), 0);

    for (VectorLine& line : document->lines) {
        line.count = 1;
    }
    EXPECT_EQ(document->firstFree(), std::nullopt);

    document->lines[150].count = 0;
    document->lines[137].count = 0;
    EXPECT_EQ(document->firstFree(), 137);
}

TEST(VectorSetTest, DeleteSelectedFreesOnlySelectedSlotsAndKeepsTheOthersInPlace) {
    auto document = newDocument();
    document->lines[3] = {.selected = true, .count = 2, .points = {Point{1, 2}, Point{3, 4}}};
    document->lines[4] = {.selected = false, .count = 2, .points = {Point{5, 6}, Point{7, 8}}};
    const VectorLine untouched = document->lines[4];

    document->deleteSelected();

    EXPECT_EQ(document->lines[3].count, 0);
    EXPECT_FALSE(document->lines[3].selected);
    EXPECT_EQ(document->lines[4].count, untouched.count);
    EXPECT_EQ(document->lines[4].points, untouched.points);
    EXPECT_EQ(document->firstFree(), 0);

    // With nothing selected the command changes nothing.
    document->deleteSelected();
    EXPECT_EQ(document->lines[4].count, 2);
}

TEST(VectorSetTest, ClearAllFreesAndUnselectsEverySlot) {
    auto document = fixtures::busyDocument();
    document->clearAll();
    for (const VectorLine& line : document->lines) {
        EXPECT_EQ(line.count, 0);
        EXPECT_FALSE(line.selected);
    }
}

}  // namespace
}  // namespace penmoji
