// SPDX-License-Identifier: MIT
#pragma once

// The only place in the core that speaks to the operating system below the standard library:
// what std::filesystem and std::ofstream cannot do for a safe write (create a file only if it
// does not exist, sync a file or a directory to disk, ask the kernel whether a file may be
// written, keep a replaced file's owner, tell whether two names are one file). Everything above
// it stays standard C++.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

#include "document/file_status.h"

namespace penmoji::posix {

// A file open for writing, with a stream over it. Writes are buffered; a failed write puts the
// stream in its bad state and keeps the system's reason for finish().
class OutputFile {
public:
    // A new file that must not exist yet (never follows a link), with the given permission bits
    // (less the umask).
    static std::unique_ptr<OutputFile> createNew(const std::filesystem::path& path,
                                                 std::filesystem::perms permissions,
                                                 std::error_code& error);
    // An existing file written where it is, without creating or replacing it. `truncate` empties
    // a regular file first; without it, writes append, as to a device, a pipe or a terminal.
    static std::unique_ptr<OutputFile> openExisting(const std::filesystem::path& path,
                                                    bool truncate, std::error_code& error);

    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream();
    // Gives the file the owner and group of `model`, where allowed (as root, or a group the
    // user belongs to); failing that is no error.
    void takeOwnerOf(const std::filesystem::path& model);
    // The system's reason the first failed write failed (a full disk), if one has.
    std::error_code error() const;
    // Flushes the stream, syncs the file to disk (where the file can be synced) and closes it.
    // The first failure of any of them, or of an earlier write, is the result; `what` names the
    // file in the reason.
    FileStatus finish(const std::string& what);
    // As finish(), but the file is not synced: its bytes are only handed to the disk to write,
    // for a later syncFile() of many such files to find mostly written.
    FileStatus finishUnsynced(const std::string& what);

private:
    class Buffer;
    explicit OutputFile(int descriptor);
    FileStatus close(const std::string& what, bool synced);

    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
};

// Syncs a regular file's bytes to disk by its name.
std::error_code syncFile(const std::filesystem::path& path);

// Syncs a directory's entries to disk, so that a rename into it survives a power loss.
std::error_code syncDirectory(const std::filesystem::path& directory);

// Whether the kernel would let this process write `path` (for a directory: create and rename
// entries in it). Root passes this check whatever the permission bits say.
std::error_code writeAccess(const std::filesystem::path& path);

// Whether the two names lead to one file (links followed, hard links included). False when
// either does not exist.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The whole of a regular file, or nothing read and a failure naming the file ("cannot open a.pmj:
// no such file"). Anything else is refused before a byte is read: a FIFO or a device could block
// forever or never end, and a directory has no bytes to give. So is a file of more than
// `mostBytes` bytes (a sparse file can claim terabytes), also one that grows past it while read.
FileStatus readRegularFile(const std::filesystem::path& path, std::string& bytes,
                           std::uintmax_t mostBytes);

// Reads a regular file as readRegularFile does, but a chunk at a time, handing each chunk to
// `take` as it comes, so that a file of any size is read in little memory. The first failure,
// the reader's or `take`'s, ends the read and is the result.
FileStatus readRegularFileInChunks(const std::filesystem::path& path,
                                   const std::function<FileStatus(std::string_view)>& take);

// Whether readRegularFileInChunks would read `path`: the same refusals, nothing read.
FileStatus checkRegularFile(const std::filesystem::path& path);

// A file's size in words for a reason: "12 MB", "900 bytes".
std::string describeSize(std::uintmax_t bytes);

// Rewrites the existing regular file `to` in place with the bytes of the regular file `from`,
// keeping its inode and so every hard link to it. The room for the new bytes is claimed before
// a byte of the old is overwritten: when the disk has not got it, `to` is left as it was.
FileStatus overwriteInPlace(const std::filesystem::path& from, const std::filesystem::path& to);

// The system's description of an error, starting in lower case to fit into a reason.
std::string describe(const std::error_code& error);

}  // namespace penmoji::posix
