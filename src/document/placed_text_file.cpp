// SPDX-License-Identifier: MIT
#include "document/placed_text_file.h"

#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

#include "document/atomic_file.h"
#include "document/posix_file.h"
#include "document/vector_file.h"

namespace penmoji {
namespace {

constexpr std::string_view kMagic = "PMJT";
constexpr std::int32_t kVersion = 1;
// Far above the largest file the bounds allow in practice (a few megabytes), far below what a
// sparse file can claim.
constexpr std::uintmax_t kMostPlacedTextBytes = 64 << 20;

bool isPlacedCode(std::int32_t code) {
    return (code >= 0x20 && code <= 0xFF) || (code >= 0x8140 && code <= 0xFCFC) ||
           code == kPlacedEnSpaceCode || code == kPlacedThinSpaceCode || code == kPlacedNbspCode;
}

bool inBound(std::int32_t coordinate) {
    return coordinate >= kMinCoordinate && coordinate <= kMaxCoordinate;
}

// Reads the file's integers in order; the first failure is kept and every later read fails.
class PlacedTextReader {
public:
    explicit PlacedTextReader(std::string_view bytes) : bytes_(bytes) {}

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    bool atEnd() const { return offset_ == bytes_.size(); }

    bool magic() {
        if (bytes_.substr(0, kMagic.size()) != kMagic) {
            return fail("not a placed-text file");
        }
        offset_ = kMagic.size();
        return true;
    }

    // The next integer, checked to lie within low to high; `what` names it in the error.
    std::int32_t next(std::int32_t low, std::int32_t high, const std::string& what) {
        if (failed()) {
            return 0;
        }
        if (bytes_.size() - offset_ < 4) {
            fail("file ends inside " + what);
            return 0;
        }
        const std::int32_t value = decodeInt32(bytes_.data() + offset_);
        offset_ += 4;
        if (value < low || value > high) {
            fail(what + " is " + std::to_string(value) + " (allowed " + std::to_string(low) +
                 " to " + std::to_string(high) + ")");
            return 0;
        }
        return value;
    }

    std::int32_t nextCode(const std::string& what) {
        const std::int32_t code = next(0, 0xFFFF, what);
        if (!failed() && !isPlacedCode(code)) {
            fail(what + " holds no character code (" + std::to_string(code) + ")");
        }
        return code;
    }

    bool fail(std::string reason) {
        if (error_.empty()) {
            error_ = std::move(reason);
        }
        return false;
    }

private:
    std::string_view bytes_;
    std::size_t offset_ = 0;
    std::string error_;
};

PlacedPiece readPiece(PlacedTextReader& in, const std::string& name) {
    PlacedPiece piece;
    piece.x = in.next(kMinCoordinate, kMaxCoordinate, name + " x");
    piece.y = in.next(kMinCoordinate, kMaxCoordinate, name + " y");
    const std::int32_t rows = in.next(1, kMostPlacedRows, name + "'s row count");
    for (std::int32_t r = 0; r < rows && !in.failed(); ++r) {
        const std::string rowName = name + ", row " + std::to_string(r + 1);
        const std::int32_t length = in.next(0, kMostPlacedCodesPerRow, rowName + "'s length");
        std::vector<std::int32_t>& row = piece.rows.emplace_back();
        for (std::int32_t c = 0; c < length && !in.failed(); ++c) {
            row.push_back(in.nextCode(rowName + ", character " + std::to_string(c + 1)));
        }
    }
    return piece;
}

FileStatus parsePlacedText(std::string_view bytes, PlacedText& text) {
    PlacedTextReader in(bytes);
    PlacedText read;
    if (in.magic()) {
        in.next(kVersion, kVersion, "the version");
        const std::int32_t count = in.next(0, kMostPlacedPieces, "the piece count");
        for (std::int32_t p = 0; p < count && !in.failed(); ++p) {
            read.push_back(readPiece(in, "piece " + std::to_string(p + 1)));
        }
        if (!in.failed() && !in.atEnd()) {
            in.fail("bytes follow the last piece");
        }
    }
    if (in.failed()) {
        return FileStatus::failure(FileError::Damaged, in.error());
    }
    text = std::move(read);
    return FileStatus::success();
}

void writePiece(std::ostream& out, const PlacedPiece& piece) {
    writeInt32(out, piece.x);
    writeInt32(out, piece.y);
    writeInt32(out, static_cast<std::int32_t>(piece.rows.size()));
    for (const std::vector<std::int32_t>& row : piece.rows) {
        writeInt32(out, static_cast<std::int32_t>(row.size()));
        for (std::int32_t code : row) {
            writeInt32(out, code);
        }
    }
}

// What a file written from `text` would break, so that nothing is saved that cannot be read.
std::string unsavable(const PlacedText& text) {
    if (text.size() > static_cast<std::size_t>(kMostPlacedPieces)) {
        return "more than " + std::to_string(kMostPlacedPieces) + " pieces";
    }
    for (const PlacedPiece& piece : text) {
        if (!inBound(piece.x) || !inBound(piece.y) || piece.rows.empty() ||
            piece.rows.size() > static_cast<std::size_t>(kMostPlacedRows)) {
            return "a piece lies outside the canvas or has no rows or too many";
        }
        for (const std::vector<std::int32_t>& row : piece.rows) {
            if (row.size() > static_cast<std::size_t>(kMostPlacedCodesPerRow)) {
                return "a row of a piece is longer than a row of the rendering";
            }
            for (std::int32_t code : row) {
                if (!isPlacedCode(code)) {
                    return "a piece holds a code that is no character";
                }
            }
        }
    }
    return {};
}

}  // namespace

std::filesystem::path placedTextPath(const std::filesystem::path& drawingPath) {
    std::filesystem::path path = drawingPath;
    path += ".placed";
    return path;
}

FileStatus loadPlacedText(const std::filesystem::path& drawingPath, PlacedText& text) {
    const std::filesystem::path path = placedTextPath(drawingPath);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        text.clear();
        return FileStatus::success();
    }
    std::string bytes;
    if (FileStatus read = posix::readRegularFile(path, bytes, kMostPlacedTextBytes); !read.ok()) {
        return read;
    }
    FileStatus parsed = parsePlacedText(bytes, text);
    if (!parsed.ok()) {
        return FileStatus::failure(parsed.error(),
                                   path.filename().string() + ": " + parsed.reason());
    }
    return parsed;
}

FileStatus savePlacedText(const std::filesystem::path& drawingPath, const PlacedText& text) {
    const std::filesystem::path path = placedTextPath(drawingPath);
    if (text.empty()) {
        std::error_code error;
        std::filesystem::remove(path, error);
        if (error) {
            return FileStatus::failure(FileError::WriteError, "cannot remove " + path.string() +
                                                                  ": " + posix::describe(error));
        }
        return FileStatus::success();
    }
    if (const std::string reason = unsavable(text); !reason.empty()) {
        return FileStatus::failure(FileError::Damaged, reason);
    }
    return writeFileAtomically(path, [&text](std::ostream& out) {
        out.write(kMagic.data(), static_cast<std::streamsize>(kMagic.size()));
        writeInt32(out, kVersion);
        writeInt32(out, static_cast<std::int32_t>(text.size()));
        for (const PlacedPiece& piece : text) {
            writePiece(out, piece);
        }
        return FileStatus::success();
    });
}

}  // namespace penmoji
