// SPDX-License-Identifier: MIT
#include "document/atomic_file.h"

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "document/posix_file.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;

// Where the bytes go once links are followed, and how they get there.
enum class Route {
    NewFile,      // nothing there yet: a temporary renamed into place
    Replace,      // a regular file with one name: a temporary renamed over it
    CopyInPlace,  // a regular file with further hard links: a temporary copied into it
    InPlace,      // a device, a FIFO or a process's open file: written where it is
};

struct Destination {
    fs::path path;
    Route route = Route::NewFile;
};

// As many links as the kernel follows before it gives up.
constexpr int kMaxLinks = 40;

FileStatus refusal(std::string reason) {
    return FileStatus::failure(FileError::CannotOpen, std::move(reason));
}

fs::path directoryOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// The links in /proc (/dev/stdout leads to /proc/self/fd/1) stand for files a process has open,
// pipes and terminals among them, which have no name to rename over.
bool isProcessLink(const fs::path& link) {
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(fs::absolute(directoryOf(link)), error);
    const auto first = ++folder.begin();
    return !error && first != folder.end() && *first == "proc";
}

// Follows `target` through any symbolic links to the place that will receive the bytes.
FileStatus findDestination(const fs::path& target, Destination& destination) {
    fs::path path = target;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (status.type() == fs::file_type::not_found) {
            destination = {path, Route::NewFile};
            return FileStatus::success();
        }
        if (error) {
            return refusal("cannot examine " + path.string() + ": " + posix::describe(error));
        }
        switch (status.type()) {
            case fs::file_type::symlink: {
                if (isProcessLink(path)) {
                    destination = {path, Route::InPlace};
                    return FileStatus::success();
                }
                const fs::path next = fs::read_symlink(path, error);
                if (error) {
                    return refusal("cannot read the link " + path.string() + ": " +
                                   posix::describe(error));
                }
                path = next.is_absolute() ? next : directoryOf(path) / next;
                continue;
            }
            case fs::file_type::regular:
                destination = {path, fs::hard_link_count(path, error) > 1 ? Route::CopyInPlace
                                                                          : Route::Replace};
                return FileStatus::success();
            case fs::file_type::character:
            case fs::file_type::fifo:
                destination = {path, Route::InPlace};
                return FileStatus::success();
            case fs::file_type::directory:
                return refusal("cannot write " + target.string() + ": is a directory");
            default:
                return refusal("cannot write " + target.string() +
                               ": neither a regular file, a character device nor a FIFO");
        }
    }
    return refusal("cannot write " + target.string() + ": too many levels of symbolic links");
}

// Refuses what the permission bits forbid even when the kernel would allow it (to root), so
// that a file made read-only stays unchanged whoever runs the program.
FileStatus checkWritable(const fs::path& path, const std::string& what) {
    std::error_code error;
    const fs::perms permissions = fs::status(path, error).permissions();
    if (error) {
        return refusal(what + ": " + posix::describe(error));
    }
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((permissions & kAnyWrite) == fs::perms::none) {
        return refusal(what + ": permission denied");
    }
    if (const std::error_code denied = posix::writeAccess(path)) {
        return refusal(what + ": " + posix::describe(denied));
    }
    return FileStatus::success();
}

// A writer that gave up because the stream failed knows only that it failed; the file knows
// why ("no space left on device"), which is what the user needs to hear.
FileStatus withSystemReason(const FileStatus& status, const posix::OutputFile& file,
                            const fs::path& target) {
    const std::error_code error = file.error();
    if (!error || status.error() != FileError::WriteError) {
        return status;
    }
    return FileStatus::failure(FileError::WriteError,
                               "write error on " + target.string() + ": " + posix::describe(error));
}

// Removes the temporary unless it was handed over, also when the writer throws.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& path() const { return path_; }
    void release() { path_.clear(); }

private:
    fs::path path_;
};

// A hidden name beside the destination, so that the rename stays within one file system and a
// leftover is not mistaken for a document; the random part keeps two writers of one file (two
// running editors) apart, and creating it exclusively keeps any existing file safe.
std::unique_ptr<posix::OutputFile> createTemporary(const fs::path& destination,
                                                   fs::perms permissions,
                                                   std::optional<TemporaryFile>& temporary,
                                                   std::error_code& error) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate =
            directoryOf(destination) /
            ("." + destination.filename().string() + "." + std::to_string(random()) + ".tmp");
        auto file = posix::OutputFile::createNew(candidate, permissions, error);
        if (file) {
            temporary.emplace(candidate);
            return file;
        }
        if (error != std::errc::file_exists) {
            return nullptr;
        }
    }
    return nullptr;
}

FileStatus writeThroughTemporary(const Destination& destination,
                                 const std::function<FileStatus(std::ostream&)>& write,
                                 bool syncDirectory, const fs::path& target,
                                 GroupedCommits* commits) {
    const fs::path directory = directoryOf(destination.path);
    if (FileStatus status =
            checkWritable(directory, "cannot create a file in " + directory.string());
        !status.ok()) {
        return status;
    }
    const bool existing = destination.route != Route::NewFile;
    constexpr fs::perms kNewFile = fs::perms::owner_read | fs::perms::owner_write |
                                   fs::perms::group_read | fs::perms::group_write |
                                   fs::perms::others_read | fs::perms::others_write;
    std::error_code error;
    const fs::perms permissions =
        existing ? fs::status(destination.path, error).permissions() : kNewFile;

    std::optional<TemporaryFile> temporary;
    auto file = createTemporary(destination.path, permissions, temporary, error);
    if (!file) {
        return refusal("cannot create a file in " + directory.string() + ": " +
                       posix::describe(error));
    }
    if (existing) {
        // The new file is created through the umask; the old one's bits are what the user chose.
        fs::permissions(temporary->path(), permissions, error);
        file->takeOwnerOf(destination.path);
    }
    if (FileStatus status = write(file->stream()); !status.ok()) {
        return withSystemReason(status, *file, destination.path);
    }
    if (commits != nullptr && destination.route != Route::CopyInPlace) {
        if (FileStatus status = file->finishUnsynced(destination.path.string()); !status.ok()) {
            return status;
        }
        commits->hold(temporary->path(), destination.path, target);
        temporary->release();
        return FileStatus::success();
    }
    if (FileStatus status = file->finish(destination.path.string()); !status.ok()) {
        return status;
    }
    if (destination.route == Route::CopyInPlace) {
        return posix::overwriteInPlace(temporary->path(), destination.path);
    }
    fs::rename(temporary->path(), destination.path, error);
    if (error) {
        return FileStatus::failure(
            FileError::WriteError,
            "cannot replace " + destination.path.string() + ": " + posix::describe(error));
    }
    temporary->release();
    // The file is in place whatever happens here; a failed sync only leaves the rename less
    // certain to survive a power loss, which is no reason to report the save as failed.
    if (syncDirectory) {
        (void)posix::syncDirectory(directory);
    }
    return FileStatus::success();
}

FileStatus writeInPlace(const fs::path& path,
                        const std::function<FileStatus(std::ostream&)>& write) {
    if (FileStatus status = checkWritable(path, "cannot write " + path.string()); !status.ok()) {
        return status;
    }
    std::error_code error;
    const auto file = posix::OutputFile::openExisting(path, false, error);
    if (!file) {
        return refusal("cannot open " + path.string() + ": " + posix::describe(error));
    }
    if (FileStatus status = write(file->stream()); !status.ok()) {
        return withSystemReason(status, *file, path);
    }
    return file->finish(path.string());
}

}  // namespace

FileStatus writeFileAtomically(const fs::path& target,
                               const std::function<FileStatus(std::ostream&)>& write,
                               const fs::path& protectedFile, DirectorySync directorySync,
                               GroupedCommits* commits) {
    if (!target.has_filename()) {
        return refusal("no file name in " + target.string());
    }
    if (!protectedFile.empty() && sameFile(target, protectedFile)) {
        return refusal("cannot write " + target.string() + ": it is the input file " +
                       protectedFile.string());
    }
    Destination destination;
    if (FileStatus status = findDestination(target, destination); !status.ok()) {
        return status;
    }
    if (destination.route == Route::InPlace) {
        return writeInPlace(destination.path, write);
    }
    if (destination.route != Route::NewFile) {
        if (FileStatus status =
                checkWritable(destination.path, "cannot write " + destination.path.string());
            !status.ok()) {
            return status;
        }
    }
    const bool syncDirectory = directorySync == DirectorySync::EachFile ||
                               directoryOf(destination.path) != directoryOf(target);
    return writeThroughTemporary(destination, write, syncDirectory, target, commits);
}

GroupedCommits::~GroupedCommits() {
    for (const Pending& pending : held_) {
        std::error_code ignored;
        fs::remove(pending.temporary, ignored);
    }
}

void GroupedCommits::hold(const fs::path& temporary, const fs::path& destination,
                          const fs::path& target) {
    std::vector<Pending> full;
    {
        const std::lock_guard guard(lock_);
        held_.push_back({temporary, destination, target});
        if (held_.size() < kGroupSize) {
            return;
        }
        full.swap(held_);
    }
    // Outside the lock: the other threads go on writing the next group meanwhile.
    putInPlace(std::move(full));
}

void GroupedCommits::putInPlace(std::vector<Pending> group) {
    std::vector<Failure> failed;
    std::set<fs::path> directories;
    // All synced before any is renamed: the first sync commits the journal for most of the
    // group, whose bytes the disk has been writing since each file was closed.
    std::vector<bool> synced(group.size());
    for (std::size_t i = 0; i < group.size(); ++i) {
        const Pending& pending = group[i];
        if (const std::error_code error = posix::syncFile(pending.temporary)) {
            failed.push_back({pending.target,
                              FileStatus::failure(FileError::WriteError,
                                                  "write error on " + pending.destination.string() +
                                                      ": " + posix::describe(error))});
            continue;
        }
        synced[i] = true;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        const Pending& pending = group[i];
        std::error_code error;
        if (synced[i]) {
            fs::rename(pending.temporary, pending.destination, error);
            if (!error) {
                directories.insert(directoryOf(pending.destination));
                continue;
            }
            failed.push_back({pending.target,
                              FileStatus::failure(FileError::WriteError,
                                                  "cannot replace " + pending.destination.string() +
                                                      ": " + posix::describe(error))});
        }
        fs::remove(pending.temporary, error);
    }
    const std::lock_guard guard(lock_);
    failures_.insert(failures_.end(), failed.begin(), failed.end());
    directories_.merge(directories);
}

void GroupedCommits::finish() {
    std::vector<Pending> rest;
    {
        const std::lock_guard guard(lock_);
        rest.swap(held_);
    }
    putInPlace(std::move(rest));
    std::set<fs::path> directories;
    {
        const std::lock_guard guard(lock_);
        directories.swap(directories_);
    }
    for (const fs::path& directory : directories) {
        // The files are in place whatever happens here, as with each file's own sync.
        (void)posix::syncDirectory(directory);
    }
}

std::vector<GroupedCommits::Failure> GroupedCommits::takeFailures() {
    const std::lock_guard guard(lock_);
    return std::exchange(failures_, {});
}

bool sameFile(const fs::path& a, const fs::path& b) {
    return posix::sameFile(a, b);
}

}  // namespace penmoji
