// SPDX-License-Identifier: MIT
#pragma once

// The vector file (*.pmj): no header, magic number, version or trailer; every integer is a
// signed 32-bit two's-complement value stored in 4 bytes, least significant byte first.
//
//   file   := record[0] record[1] ... record[199]   (slot index order, free slots included)
//   record := count:int32  (x:int32 y:int32) * count
//
// A free slot is its count 0 alone, so an empty document is 800 zero bytes and a file holding
// n points in all is 800 + 8 * n bytes. Nothing of the editing (selection, a move in progress)
// is stored. Bytes after record[199] are ignored.
//
// A file is refused, and the document left as it was, when a count lies outside 0 to 200, when
// it ends before record[199] is complete, or when a coordinate lies outside kMinCoordinate to
// kMaxCoordinate.

#include <cstdint>
#include <filesystem>
#include <iosfwd>

#include "document/file_status.h"
#include "document/vector_set.h"

namespace penmoji {

// Every point the editor makes comes from a mouse position on some screen, and a line can only be
// moved by picking it on the canvas, so real coordinates stay within a few screen widths of the
// origin. The bound is far beyond that, yet keeps the difference of two coordinates, even in the
// glyph table's 1/16 pixel, well inside 32 bits for the code that reads the document.
inline constexpr std::int32_t kMinCoordinate = -1'000'000;
inline constexpr std::int32_t kMaxCoordinate = 1'000'000;

inline constexpr int kPointBytes = 8;

inline void encodeInt32(char* dst, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        dst[i] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
    }
}

inline std::int32_t decodeInt32(const char* src) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(src[i])) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

// A failed write shows in the stream's state, which the caller checks once at the end.
void writeInt32(std::ostream& out, std::int32_t value);
// False when the stream ends first; *value is then unchanged.
bool readInt32(std::istream& in, std::int32_t* value);

// Opens `path` and reads it into `document`; on failure the document is unchanged.
FileStatus loadVectorFile(const std::filesystem::path& path, VectorSet& document);
// Writes `document` to `path` through writeFileAtomically: a failed save leaves any file already
// at `path` as it was.
FileStatus saveVectorFile(const std::filesystem::path& path, const VectorSet& document);

}  // namespace penmoji
