#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

#include "document/file_status.h"

namespace penmoji {

// Writes a file so that a failure at any point leaves what was at `target` untouched: `write`
// fills a temporary file beside the target, which replaces the target only once every byte has
// been written, flushed and the file closed without error. On failure the temporary is removed.
//
// The result is the first failure: the one `write` returns, then any error left in the stream,
// then a failed close or rename. Durability across a power loss is not promised; the standard
// library offers no way to sync a file to disk.
FileStatus writeFileAtomically(const std::filesystem::path& target,
                               const std::function<FileStatus(std::ostream&)>& write);

}  // namespace penmoji
