// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/file_status.h"

namespace penmoji {

// The text-art collection file (*.mlt): pages of Shift_JIS text, each two separated by a line
// holding only "[SPLIT]". Lines end in CR LF; the last page may end with or without one.

// The file's bytes with `pages` added after its last page. The bytes already there are kept
// exactly as they are: the separator goes on a line of its own, after a CR LF only when the file
// does not end in a line break already. Each new page is written as given but for a missing
// final CR LF, which is added so that the next separator stays on its own line. A page's NUL and
// everything after it are left out. With no bytes before, the first page starts the file.
std::string appendMltPages(std::string_view existing, std::span<const std::string> pages);

// Adds `pages` to the file at `path` (created when missing) through writeFileAtomically, so a
// failure leaves the pages already there as they were. The pages already there are copied a
// chunk at a time, never held whole. Refused, with the file as it was: a file that cannot be
// read, and one that is not Shift_JIS text (binary data, UTF-16, UTF-8 beyond ASCII), which
// Shift_JIS pages added to it would turn into a mix no reader shows right.
FileStatus appendToMltFile(const std::filesystem::path& path, std::span<const std::string> pages);

// Adds one page that `writePage` writes as it is made (a rendering streamed into the file), as
// appendToMltFile adds a page given whole. A failure `writePage` returns is the result.
FileStatus appendStreamedPageToMltFile(const std::filesystem::path& path,
                                       const std::function<FileStatus(std::ostream&)>& writePage);

// Why `bytes` are not Shift_JIS text, or nothing when they are: fed a chunk at a time.
class ShiftJisTextCheck {
public:
    void feed(std::string_view bytes);
    // Once every chunk was fed.
    std::optional<std::string> refusal() const;

private:
    std::uint64_t offset_ = 0;
    std::optional<std::string> refusal_;
    bool inDoubleByte_ = false;
    // The UTF-8 reading: how many continuation bytes are still due, whether the bytes are still
    // UTF-8 and whether any was beyond ASCII.
    int utf8Due_ = 0;
    bool utf8_ = true;
    bool beyondAscii_ = false;
};

}  // namespace penmoji
