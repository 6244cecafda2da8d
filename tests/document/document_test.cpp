// SPDX-License-Identifier: MIT
#include "document/document.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "document_test_util.h"

namespace penmoji {
namespace {

class ChangeLog final : public DocumentObserver {
public:
    void documentChanged(const DocumentChange& change) override { changes.push_back(change); }
    std::vector<DocumentChange> changes;
};

struct Expected {
    ChangeKind kind;
    int slot;
    int index = -1;
};

// Slot 2 holds (1, 1) (2, 2) before each case.
TEST(DocumentTest, EveryChangeIsReportedOnceAndRaisesTheRevision) {
    struct Case {
        const char* name;
        std::function<bool(Document&)> change;
        std::optional<Expected> expected;  // nothing: the call changes nothing
        int slot2Count;
    };
    const Point three[] = {{5, 5}, {6, 6}, {7, 7}};
    const std::string file = fixtures::fileBytes(*fixtures::newDocument());
    const Case cases[] = {
        {"append",
         [](Document& d) {
             return d.appendPoint(2, {3, 3});
         },
         Expected{ChangeKind::PointAppended, 2}, 3},
        {"append to a free slot",
         [](Document& d) {
             return d.appendPoint(0, {3, 3});
         },
         Expected{ChangeKind::PointAppended, 0}, 2},
        {"remove the last point", [](Document& d) { return d.removeLastPoint(2); },
         Expected{ChangeKind::PointRemoved, 2}, 1},
        {"move a point",
         [](Document& d) {
             return d.setPoint(2, 1, {9, 9});
         },
         Expected{ChangeKind::PointMoved, 2, 1}, 2},
        {"replace a vector", [&](Document& d) { return d.setVector(2, three); },
         Expected{ChangeKind::VectorReplaced, 2}, 3},
        {"delete", [](Document& d) { return d.deleteVector(2); },
         Expected{ChangeKind::VectorDeleted, 2}, 0},
        {"clear",
         [](Document& d) {
             d.clear();
             return true;
         },
         Expected{ChangeKind::Cleared, -1}, 0},
        {"replace all",
         [](Document& d) {
             d.replaceAll(VectorSet{});
             return true;
         },
         Expected{ChangeKind::Replaced, -1}, 0},
        {"open",
         [&](Document& d) {
             std::istringstream in(file);
             return d.readFrom(in).ok();
         },
         Expected{ChangeKind::Replaced, -1}, 0},
        {"a point set where it is",
         [](Document& d) {
             return d.setPoint(2, 1, {2, 2});
         },
         {},
         2},
        {"a point beyond the count",
         [](Document& d) {
             return d.setPoint(2, 2, {2, 2});
         },
         {},
         2},
        {"delete a free slot", [](Document& d) { return d.deleteVector(3); }, {}, 2},
        {"a slot out of range", [](Document& d) { return d.appendPoint(kSlotCount, {}); }, {}, 2},
        {"remove from a free slot", [](Document& d) { return d.removeLastPoint(4); }, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        const Point two[] = {{1, 1}, {2, 2}};
        ASSERT_TRUE(document.setVector(2, two));
        ChangeLog log;
        document.addObserver(&log);
        const std::uint64_t before = document.revision();

        EXPECT_EQ(c.change(document), c.expected.has_value());
        EXPECT_EQ(document.line(2).count, c.slot2Count);
        if (!c.expected) {
            EXPECT_TRUE(log.changes.empty());
            EXPECT_EQ(document.revision(), before);
            continue;
        }
        ASSERT_EQ(log.changes.size(), 1u);
        EXPECT_EQ(log.changes[0].kind, c.expected->kind);
        EXPECT_EQ(log.changes[0].slot, c.expected->slot);
        EXPECT_EQ(log.changes[0].index, c.expected->index);
        EXPECT_EQ(document.revision(), before + 1);
    }
}

// What a change replaced comes with it, as it was: observers that follow the drawing (the undo
// history, the canvas's repaints) keep no copy of their own. Slot 2 holds (1, 1) (2, 2) first.
TEST(DocumentTest, EveryChangeCarriesWhatItReplaced) {
    // Copies what the report carries while it is valid.
    class BeforeLog final : public DocumentObserver {
    public:
        void documentChanged(const DocumentChange& change) override {
            if (change.before != nullptr) {
                line = *change.before;
            }
            if (change.beforeAll != nullptr) {
                all = std::make_unique<VectorSet>(*change.beforeAll);
            }
        }
        std::optional<VectorLine> line;
        std::unique_ptr<VectorSet> all;  // large, so off the stack
    };
    struct Case {
        const char* name;
        std::function<void(Document&)> change;
        int slot;  // -1: the whole drawing was replaced
    };
    const Point three[] = {{5, 5}, {6, 6}, {7, 7}};
    const Case cases[] = {
        {"append",
         [](Document& d) {
             d.appendPoint(2, {3, 3});
         },
         2},
        {"append to a free slot",
         [](Document& d) {
             d.appendPoint(0, {3, 3});
         },
         0},
        {"remove the last point", [](Document& d) { d.removeLastPoint(2); }, 2},
        {"move a point",
         [](Document& d) {
             d.setPoint(2, 0, {9, 9});
         },
         2},
        {"replace a vector", [&](Document& d) { d.setVector(2, three); }, 2},
        {"delete", [](Document& d) { d.deleteVector(2); }, 2},
        {"clear", [](Document& d) { d.clear(); }, -1},
        {"replace all", [&](Document& d) { d.replaceAll(VectorSet{}); }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        const Point two[] = {{1, 1}, {2, 2}};
        ASSERT_TRUE(document.setVector(2, two));
        const auto was = std::make_unique<VectorSet>(document.vectors());
        BeforeLog log;
        document.addObserver(&log);

        c.change(document);
        if (c.slot < 0) {
            ASSERT_NE(log.all, nullptr);
            EXPECT_FALSE(log.line.has_value());
            EXPECT_EQ(log.all->lines[2].count, 2);
            EXPECT_TRUE(std::equal(two, two + 2, log.all->lines[2].points.begin()));
            continue;
        }
        ASSERT_TRUE(log.line.has_value());
        EXPECT_EQ(log.all, nullptr);
        const VectorLine& expected = was->lines[c.slot];
        EXPECT_EQ(log.line->count, expected.count);
        EXPECT_TRUE(std::equal(expected.points.begin(), expected.points.begin() + expected.count,
                               log.line->points.begin()));
    }
}

TEST(DocumentTest, AVectorStopsGrowingWhenFull) {
    Document document;
    for (int i = 0; i < kMaxPoints; ++i) {
        ASSERT_TRUE(document.appendPoint(0, {i, i}));
    }
    EXPECT_FALSE(document.appendPoint(0, {0, 0}));
    EXPECT_EQ(document.line(0).count, kMaxPoints);
}

TEST(DocumentTest, ARefusedOpenLeavesDocumentAndObserversUntouched) {
    Document document;
    const Point two[] = {{1, 1}, {2, 2}};
    ASSERT_TRUE(document.setVector(9, two));
    const std::string before = fixtures::fileBytes(document.vectors());
    ChangeLog log;
    document.addObserver(&log);
    const std::uint64_t revision = document.revision();

    std::istringstream damaged(std::string(799, '\0'));
    const FileStatus status = document.readFrom(damaged);
    EXPECT_EQ(status.error(), FileError::Damaged);
    EXPECT_FALSE(document.load("/nonexistent/drawing.pmj").ok());

    EXPECT_EQ(fixtures::fileBytes(document.vectors()), before);
    EXPECT_TRUE(log.changes.empty());
    EXPECT_EQ(document.revision(), revision);
}

TEST(DocumentTest, AnObserverThatLeavesIsToldNothingMore) {
    Document document;
    ChangeLog log;
    document.addObserver(&log);
    document.clear();
    document.removeObserver(&log);
    document.clear();
    EXPECT_EQ(log.changes.size(), 1u);
}

}  // namespace
}  // namespace penmoji
