// SPDX-License-Identifier: MIT
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

TEST(VectorSetTest, ClearAllFreesEverySlot) {
    auto document = fixtures::busyDocument();
    document->clearAll();
    for (const VectorLine& line : document->lines) {
        EXPECT_EQ(line.count, 0);
    }
}

}  // namespace
}  // namespace penmoji
