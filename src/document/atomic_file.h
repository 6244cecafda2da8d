// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

#include "document/file_status.h"

namespace penmoji {

// Writes a file so that a failure at any point leaves what was at `target` untouched, whatever
// kind of thing `target` names:
//
// - a regular file, or no file yet: `write` fills a new temporary file beside it, which is
//   flushed, synced to disk and renamed over the target; the directory is synced after. The
//   replacement keeps the old file's permission bits and, where allowed, its owner.
// - a symbolic link (also one whose file does not exist yet): the same, for the file the link
//   leads to; the link stays.
// - a regular file with further hard links: the temporary is completed first, then copied into
//   the file in place, so that every name keeps showing the same file. The room for the new
//   bytes is claimed first: on a disk without it the file keeps its old bytes.
// - a character device, a FIFO, or a link into /proc such as /dev/stdout: written where it is,
//   appending, never replaced. A FIFO without a reader waits for one, as a shell's redirection
//   does.
//
// Refused, with FileError::CannotOpen and nothing written: a file or a directory that the
// permission bits forbid to write (even when running as root, which the kernel would let
// through), a directory or any other kind of file as the target, a missing directory, and a
// target that is the same file as `protectedFile` (the input the output was made from).
//
// The result is the first failure: the one `write` returns, then any error left in the stream,
// then a failed sync, close, rename or copy. A temporary is removed whenever the write fails,
// including when `write` throws.
//
// With DirectorySync::ByCaller the directory of `target` is not synced after the rename: a
// caller that puts many files into one directory syncs it once, after the last. A file that a
// link led into another directory still has that directory synced.
enum class DirectorySync { EachFile, ByCaller };
FileStatus writeFileAtomically(const std::filesystem::path& target,
                               const std::function<FileStatus(std::ostream&)>& write,
                               const std::filesystem::path& protectedFile = {},
                               DirectorySync directorySync = DirectorySync::EachFile);

// Whether the two names lead to one existing file: through symbolic links, and as two hard
// links of it.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace penmoji
