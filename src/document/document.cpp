// SPDX-License-Identifier: MIT
#include "document/document.h"

#include <algorithm>
#include <utility>

#include "document/vector_file.h"

namespace penmoji {

Document::Document() : vectors_(std::make_unique<VectorSet>()) {}

bool Document::appendPoint(int slot, Point point) {
    if (!validSlot(slot) || vectors_->lines[slot].count >= kMaxPoints) {
        return false;
    }
    VectorLine& line = vectors_->lines[slot];
    const VectorLine before = line;
    line.points[line.count++] = point;
    slotChanged(ChangeKind::PointAppended, slot, before);
    return true;
}

bool Document::removeLastPoint(int slot) {
    if (!validSlot(slot) || vectors_->lines[slot].count == 0) {
        return false;
    }
    const VectorLine before = vectors_->lines[slot];
    --vectors_->lines[slot].count;
    slotChanged(ChangeKind::PointRemoved, slot, before);
    return true;
}

bool Document::setPoint(int slot, int index, Point point) {
    if (!validSlot(slot) || index < 0 || index >= vectors_->lines[slot].count ||
        vectors_->lines[slot].points[index] == point) {
        return false;
    }
    const VectorLine before = vectors_->lines[slot];
    vectors_->lines[slot].points[index] = point;
    slotChanged(ChangeKind::PointMoved, slot, before, index);
    return true;
}

bool Document::setVector(int slot, std::span<const Point> points) {
    if (!validSlot(slot) || points.size() > kMaxPoints) {
        return false;
    }
    VectorLine& line = vectors_->lines[slot];
    const auto count = static_cast<std::int32_t>(points.size());
    if (line.count == count && std::equal(points.begin(), points.end(), line.points.begin())) {
        return false;
    }
    const VectorLine before = line;
    std::copy(points.begin(), points.end(), line.points.begin());
    line.count = count;
    slotChanged(count == 0 ? ChangeKind::VectorDeleted : ChangeKind::VectorReplaced, slot, before);
    return true;
}

bool Document::deleteVector(int slot) {
    if (!validSlot(slot) || vectors_->lines[slot].count == 0) {
        return false;
    }
    const VectorLine before = vectors_->lines[slot];
    vectors_->lines[slot].clear();
    slotChanged(ChangeKind::VectorDeleted, slot, before);
    return true;
}

// The old drawing is kept aside until the observers were told, as what the change replaced.
void Document::clear() {
    const std::unique_ptr<VectorSet> before =
        std::exchange(vectors_, std::make_unique<VectorSet>());
    changed({.kind = ChangeKind::Cleared, .beforeAll = before.get()});
}

void Document::replaceAll(const VectorSet& vectors) {
    adopt(std::make_unique<VectorSet>(vectors));
}

// The reader leaves its target alone on failure, so reading into the live drawing would do; a
// separate one keeps the observers from ever seeing a half-made change.
FileStatus Document::readFrom(std::istream& in) {
    auto read = std::make_unique<VectorSet>();
    FileStatus status = read->readFrom(in);
    if (status.ok()) {
        adopt(std::move(read));
    }
    return status;
}

FileStatus Document::load(const std::filesystem::path& path) {
    auto read = std::make_unique<VectorSet>();
    FileStatus status = loadVectorFile(path, *read);
    if (status.ok()) {
        adopt(std::move(read));
    }
    return status;
}

void Document::adopt(std::unique_ptr<VectorSet> vectors) {
    const std::unique_ptr<VectorSet> before = std::exchange(vectors_, std::move(vectors));
    changed({.kind = ChangeKind::Replaced, .beforeAll = before.get()});
}

void Document::slotChanged(ChangeKind kind, int slot, const VectorLine& before, int index) {
    changed({.kind = kind, .slot = slot, .index = index, .before = &before});
}

void Document::addObserver(DocumentObserver* observer) {
    observers_.push_back(observer);
}

void Document::removeObserver(DocumentObserver* observer) {
    std::erase(observers_, observer);
}

void Document::changed(DocumentChange change) {
    ++revision_;
    // An observer may come or go while being told.
    const std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) {
            observer->documentChanged(change);
        }
    }
}

}  // namespace penmoji
