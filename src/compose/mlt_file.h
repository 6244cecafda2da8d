#pragma once

#include <filesystem>
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
// failure leaves the pages already there as they were. A file that cannot be read is refused
// before anything is written.
FileStatus appendToMltFile(const std::filesystem::path& path, std::span<const std::string> pages);

}  // namespace penmoji
