// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <set>
#include <vector>

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
//
// With `commits`, a file that goes through a temporary is not synced nor renamed here: the
// complete temporary is handed to `commits`, which puts it in place with others (see below),
// and the result says only whether it was written.
enum class DirectorySync { EachFile, ByCaller };
class GroupedCommits;
FileStatus writeFileAtomically(const std::filesystem::path& target,
                               const std::function<FileStatus(std::ostream&)>& write,
                               const std::filesystem::path& protectedFile = {},
                               DirectorySync directorySync = DirectorySync::EachFile,
                               GroupedCommits* commits = nullptr);

// Files written in full to their temporaries, put in place a group at a time: the group's files
// are synced one after another once all are written, which costs the disk about one journal
// commit for the group instead of one each; then each is renamed over its target, and the
// directories are synced once, by finish(). Until its rename a target keeps what it had, so an
// output is never seen half written. Safe to use from several threads.
class GroupedCommits {
public:
    // The files held before a group is put in place; bounds what a batch of thousands holds.
    static constexpr std::size_t kGroupSize = 32;

    GroupedCommits() = default;
    // Removes the temporaries of any files never put in place.
    ~GroupedCommits();
    GroupedCommits(const GroupedCommits&) = delete;
    GroupedCommits& operator=(const GroupedCommits&) = delete;

    // Puts every file still held in place and syncs the directories that received files.
    void finish();

    // Takes the complete, unsynced `temporary` made for `target`, to be renamed to
    // `destination` (the file `target` leads to); puts the group in place when it is full.
    void hold(const std::filesystem::path& temporary, const std::filesystem::path& destination,
              const std::filesystem::path& target);

    // A file that could not be put in place, by the target it was written for.
    struct Failure {
        std::filesystem::path target;
        FileStatus status;
    };
    // The failures so far, in no particular order; each is handed out once.
    std::vector<Failure> takeFailures();

private:
    struct Pending {
        std::filesystem::path temporary;
        std::filesystem::path destination;
        std::filesystem::path target;
    };
    void putInPlace(std::vector<Pending> group);

    std::mutex lock_;
    std::vector<Pending> held_;
    std::vector<Failure> failures_;
    std::set<std::filesystem::path> directories_;
};

// Whether the two names lead to one existing file: through symbolic links, and as two hard
// links of it.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace penmoji
