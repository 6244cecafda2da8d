// SPDX-License-Identifier: MIT
#include "document/document.h"

#include <algorithm>

#include "document/vector_file.h"

namespace penmoji {

Document::Document() : vectors_(std::make_unique<VectorSet>()) {}

bool Document::appendPoint(int slot, Point point) {
    if (!validSlot(slot) || vectors_->lines[slot].count >= kMaxPoints) {
        return false;
    }
    VectorLine& line = vectors_->lines[slot];
    line.points[line.count++] = point;
    changed({ChangeKind::PointAppended, slot});
    return true;
}

bool Document::removeLastPoint(int slot) {
    if (!validSlot(slot) || vectors_->lines[slot].count == 0) {
        return false;
    }
    --vectors_->lines[slot].count;
    changed({ChangeKind::PointRemoved, slot});
    return true;
}

bool Document::setPoint(int slot, int index, Point point) {
    if (!validSlot(slot) || index < 0 || index >= vectors_->lines[slot].count ||
        vectors_->lines[slot].points[index] == point) {
        return false;
    }
    vectors_->lines[slot].points[index] = point;
    changed({ChangeKind::PointMoved, slot, index});
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
    std::copy(points.begin(), points.end(), line.points.begin());
    line.count = count;
    changed({count == 0 ? ChangeKind::VectorDeleted : ChangeKind::VectorReplaced, slot});
    return true;
}

bool Document::deleteVector(int slot) {
    if (!validSlot(slot) || vectors_->lines[slot].count == 0) {
        return false;
    }
    vectors_->lines[slot].clear();
    changed({ChangeKind::VectorDeleted, slot});
    return true;
}

void Document::clear() {
    vectors_->clearAll();
    changed({ChangeKind::Cleared});
}

void Document::replaceAll(const VectorSet& vectors) {
    *vectors_ = vectors;
    changed({ChangeKind::Replaced});
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
    vectors_ = std::move(vectors);
    changed({ChangeKind::Replaced});
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
