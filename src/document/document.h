// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "document/file_status.h"
#include "document/vector_set.h"

namespace penmoji {

// What one change to a document did, so that observers redo only what it touched.
enum class ChangeKind {
    PointAppended,   // `slot` gained a point at its end
    PointRemoved,    // `slot` lost its last point
    PointMoved,      // point `index` of `slot` moved
    VectorReplaced,  // every point of `slot` was replaced (a vector moved, or one restored)
    VectorDeleted,   // `slot` is free now
    Cleared,         // every slot is free
    Replaced,        // every slot was replaced (a file was opened)
};

struct DocumentChange {
    ChangeKind kind;
    int slot = -1;   // -1 for a change of the whole document
    int index = -1;  // the point, for PointMoved
    // What the change replaced, valid while the observers are told: the slot as it was, or for
    // a change of the whole document every slot as it was. Observers that follow the drawing
    // need no copy of their own.
    const VectorLine* before = nullptr;
    const VectorSet* beforeAll = nullptr;

    bool wholeDocument() const { return slot < 0; }
    // True when the change took away or swapped the vector that `s` held, so that anything
    // following that vector (a drawing, a move, a selection) no longer has it.
    bool removes(int s) const {
        return wholeDocument() || (slot == s && kind == ChangeKind::VectorDeleted);
    }
};

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // Called after every change, once the document is in its new state.
    virtual void documentChanged(const DocumentChange& change) = 0;
};

// The drawing being edited: owns the vectors and is the only way to change them. Every change
// raises the revision and is reported to the observers; a call that would change nothing (a
// slot out of range, a full vector, a point set where it already is) reports nothing.
class Document {
public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const VectorSet& vectors() const { return *vectors_; }
    const VectorLine& line(int slot) const { return vectors_->lines[slot]; }
    // Counts the changes since the document was made.
    std::uint64_t revision() const { return revision_; }

    // The slot a new vector goes into: the lowest free one, or nothing when all are in use. The
    // slot stays free until its first point is appended.
    std::optional<int> startVector() const { return vectors_->firstFree(); }
    bool appendPoint(int slot, Point point);
    bool removeLastPoint(int slot);
    bool setPoint(int slot, int index, Point point);
    // Replaces every point of a slot: moves a vector, or puts a deleted one back.
    bool setVector(int slot, std::span<const Point> points);
    bool deleteVector(int slot);
    void clear();
    void replaceAll(const VectorSet& vectors);
    // Replaces the drawing with a vector file's; on failure nothing changes and nobody is told.
    FileStatus readFrom(std::istream& in);
    FileStatus load(const std::filesystem::path& path);

    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

private:
    static bool validSlot(int slot) { return slot >= 0 && slot < kSlotCount; }
    void changed(DocumentChange change);
    // Reports a change of one slot, with the slot as it was.
    void slotChanged(ChangeKind kind, int slot, const VectorLine& before, int index = -1);
    // Takes over a drawing that was read in full.
    void adopt(std::unique_ptr<VectorSet> vectors);

    std::unique_ptr<VectorSet> vectors_;
    std::uint64_t revision_ = 0;
    std::vector<DocumentObserver*> observers_;
};

}  // namespace penmoji
