// SPDX-License-Identifier: MIT
#include "document/vector_file.h"

#include <array>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "document/atomic_file.h"
#include "document/posix_file.h"

namespace penmoji {
namespace {

// The largest drawing takes 320,800 bytes; what a file holds after its last record is not read,
// so some room is left for it, but not the gigabytes a sparse file can claim.
constexpr std::uintmax_t kMostVectorFileBytes = 16 << 20;

bool inBound(std::int32_t coordinate) {
    return coordinate >= kMinCoordinate && coordinate <= kMaxCoordinate;
}

std::string boundText() {
    return std::to_string(kMinCoordinate) + " to " + std::to_string(kMaxCoordinate);
}

FileStatus checkCount(int slot, std::int32_t count) {
    if (count >= 0 && count <= kMaxPoints) {
        return FileStatus::success();
    }
    return FileStatus::failure(FileError::Damaged, "record " + std::to_string(slot) +
                                                       " has point count " + std::to_string(count) +
                                                       " (allowed 0 to " +
                                                       std::to_string(kMaxPoints) + ")");
}

FileStatus checkPoint(int slot, int index, Point point) {
    if (inBound(point.x) && inBound(point.y)) {
        return FileStatus::success();
    }
    return FileStatus::failure(
        FileError::Damaged, "record " + std::to_string(slot) + ", point " + std::to_string(index) +
                                " (" + std::to_string(point.x) + ", " + std::to_string(point.y) +
                                ") lies outside " + boundText());
}

// A device error also stops the read short; it should not be blamed on the file's contents.
FileStatus endsEarly(const std::istream& in, int slot) {
    const char* what = in.bad() ? "read error inside record " : "file ends inside record ";
    return FileStatus::failure(in.bad() ? FileError::ReadError : FileError::Damaged,
                               what + std::to_string(slot));
}

// The file as read, before it replaces the document: counts plus the points of all records one
// after another, which is at most half the size of a VectorSet and usually far less.
struct ParsedFile {
    std::array<std::int32_t, kSlotCount> counts{};
    std::vector<Point> points;
};

// What a file that is no drawing holds, told by its first four bytes; empty when unknown.
std::string_view otherKindOfFile(std::int32_t firstCount) {
    struct Signature {
        std::string_view bytes;
        std::string_view kind;
    };
    static constexpr Signature kSignatures[] = {
        {"\x89PNG", "a PNG picture"},
        {"\xFF\xD8\xFF", "a JPEG picture"},
        {"GIF8", "a GIF picture"},
        {"BM", "a BMP picture"},
        {"\x1F\x8B", "gzip data (an .svgz picture?)"},
        {"<?xm", "XML text (an SVG picture?)"},
        {"<svg", "an SVG picture"},
        {"%PDF", "a PDF document"},
        {"PK\x03\x04", "a ZIP archive"},
    };
    std::array<char, 4> first;
    encodeInt32(first.data(), firstCount);
    const std::string_view start(first.data(), first.size());
    for (const Signature& signature : kSignatures) {
        if (start.starts_with(signature.bytes)) {
            return signature.kind;
        }
    }
    return {};
}

FileStatus readRecord(std::istream& in, int slot, ParsedFile& file) {
    std::int32_t count = 0;
    if (!readInt32(in, &count)) {
        return endsEarly(in, slot);
    }
    if (FileStatus status = checkCount(slot, count); !status.ok()) {
        // A drawing starts with a point count; anything else at the start is no drawing at
        // all, which the user should hear rather than the count it would make.
        if (slot == 0) {
            const std::string_view kind = otherKindOfFile(count);
            return FileStatus::failure(
                FileError::Damaged,
                "not a Penmoji drawing: " +
                    (kind.empty() ? status.reason() : "it holds " + std::string(kind)));
        }
        return status;
    }
    std::array<char, kMaxPoints * kPointBytes> bytes;
    const std::streamsize size = std::streamsize{count} * kPointBytes;
    in.read(bytes.data(), size);
    if (in.gcount() != size) {
        return endsEarly(in, slot);
    }
    for (int i = 0; i < count; ++i) {
        const char* pair = bytes.data() + i * kPointBytes;
        const Point point{decodeInt32(pair), decodeInt32(pair + 4)};
        if (FileStatus status = checkPoint(slot, i, point); !status.ok()) {
            return status;
        }
        file.points.push_back(point);
    }
    file.counts[slot] = count;
    return FileStatus::success();
}

}  // namespace

void writeInt32(std::ostream& out, std::int32_t value) {
    std::array<char, 4> bytes;
    encodeInt32(bytes.data(), value);
    out.write(bytes.data(), bytes.size());
}

bool readInt32(std::istream& in, std::int32_t* value) {
    std::array<char, 4> bytes;
    in.read(bytes.data(), bytes.size());
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        return false;
    }
    *value = decodeInt32(bytes.data());
    return true;
}

FileStatus VectorSet::writeTo(std::ostream& out) const {
    // Checked in full first so that a refused document leaves no partial file behind.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const VectorLine& line = lines[slot];
        if (FileStatus status = checkCount(slot, line.count); !status.ok()) {
            return status;
        }
        for (int i = 0; i < line.count; ++i) {
            if (FileStatus status = checkPoint(slot, i, line.points[i]); !status.ok()) {
                return status;
            }
        }
    }
    for (const VectorLine& line : lines) {
        writeInt32(out, line.count);
        for (int i = 0; i < line.count; ++i) {
            writeInt32(out, line.points[i].x);
            writeInt32(out, line.points[i].y);
        }
    }
    // Most write errors (a full disk) only surface when the buffer goes out.
    out.flush();
    if (!out) {
        return FileStatus::failure(FileError::WriteError, "write error");
    }
    return FileStatus::success();
}

FileStatus VectorSet::readFrom(std::istream& in) {
    ParsedFile file;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (FileStatus status = readRecord(in, slot, file); !status.ok()) {
            return status;
        }
    }
    auto next = file.points.cbegin();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        VectorLine& line = lines[slot];
        line = VectorLine{};
        line.count = file.counts[slot];
        for (int i = 0; i < line.count; ++i) {
            line.points[i] = *next++;
        }
    }
    return FileStatus::success();
}

FileStatus loadVectorFile(const std::filesystem::path& path, VectorSet& document) {
    std::string bytes;
    if (FileStatus status = posix::readRegularFile(path, bytes, kMostVectorFileBytes);
        !status.ok()) {
        return status;
    }
    std::istringstream in(std::move(bytes));
    return document.readFrom(in);
}

FileStatus saveVectorFile(const std::filesystem::path& path, const VectorSet& document) {
    return writeFileAtomically(path, [&](std::ostream& out) { return document.writeTo(out); });
}

}  // namespace penmoji
