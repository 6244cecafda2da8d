// SPDX-License-Identifier: MIT
#include "document/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <limits>
#include <streambuf>
#include <utility>

namespace penmoji::posix {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// Retries what a signal interrupted.
int openRetrying(const char* path, int flags, mode_t mode) {
    int descriptor;
    do {
        descriptor = ::open(path, flags, mode);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

}  // namespace

// A stream buffer straight over a file descriptor. The first failed write is kept and every
// later one refused, so that the stream's bad state and the reason stay together.
class OutputFile::Buffer final : public std::streambuf {
public:
    explicit Buffer(int descriptor) : descriptor_(descriptor) {
        setp(space_.data(), space_.data() + space_.size());
    }
    ~Buffer() override { close(); }

    int descriptor() const { return descriptor_; }
    const std::error_code& error() const { return error_; }

    std::error_code close() {
        std::error_code error;
        if (descriptor_ >= 0 && ::close(descriptor_) != 0 && errno != EINTR) {
            error = lastError();
        }
        descriptor_ = -1;
        return error;
    }

protected:
    int_type overflow(int_type ch) override {
        if (!drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    bool drain() {
        const char* next = pbase();
        while (!error_ && next < pptr()) {
            const ssize_t written = ::write(descriptor_, next, static_cast<size_t>(pptr() - next));
            if (written > 0) {
                next += written;
            } else if (written < 0 && errno != EINTR) {
                error_ = lastError();
            }
        }
        setp(space_.data(), space_.data() + space_.size());
        return !error_;
    }

    int descriptor_;
    std::error_code error_;
    std::array<char, 1 << 16> space_{};
};

OutputFile::OutputFile(int descriptor)
    : buffer_(std::make_unique<Buffer>(descriptor)), stream_(buffer_.get()) {}

OutputFile::~OutputFile() = default;

std::unique_ptr<OutputFile> OutputFile::createNew(const std::filesystem::path& path,
                                                  std::filesystem::perms permissions,
                                                  std::error_code& error) {
    const int descriptor =
        openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     static_cast<mode_t>(permissions & std::filesystem::perms::mask));
    if (descriptor < 0) {
        error = lastError();
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<OutputFile>(new OutputFile(descriptor));
}

std::unique_ptr<OutputFile> OutputFile::openExisting(const std::filesystem::path& path,
                                                     bool truncate, std::error_code& error) {
    const int descriptor =
        openRetrying(path.c_str(), O_WRONLY | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND), 0);
    if (descriptor < 0) {
        error = lastError();
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<OutputFile>(new OutputFile(descriptor));
}

std::ostream& OutputFile::stream() {
    return stream_;
}

void OutputFile::takeOwnerOf(const std::filesystem::path& model) {
    struct stat status {};
    if (::stat(model.c_str(), &status) == 0) {
        (void)::fchown(buffer_->descriptor(), status.st_uid, status.st_gid);
    }
}

std::error_code OutputFile::error() const {
    return buffer_->error();
}

FileStatus OutputFile::finish(const std::string& what) {
    return close(what, true);
}

FileStatus OutputFile::finishUnsynced(const std::string& what) {
    return close(what, false);
}

FileStatus OutputFile::close(const std::string& what, bool synced) {
    stream_.flush();
    std::error_code error = buffer_->error();
    if (!error && !stream_) {
        // The writer itself put the stream in a bad state.
        return FileStatus::failure(FileError::WriteError, "write error on " + what);
    }
    // Devices, pipes and terminals cannot be synced, and need not be.
    if (synced && !error && ::fsync(buffer_->descriptor()) != 0 && errno != EINVAL &&
        errno != EROFS) {
        error = lastError();
    }
    if (!synced && !error) {
        // Only a start: the disk writes while the next file is rendered. Where this is not
        // supported the later sync does all the work.
        (void)::sync_file_range(buffer_->descriptor(), 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    if (const std::error_code closing = buffer_->close(); !error) {
        error = closing;
    }
    if (error) {
        return FileStatus::failure(FileError::WriteError,
                                   "write error on " + what + ": " + describe(error));
    }
    return FileStatus::success();
}

namespace {

// Opens `path` with `flags` and syncs it. Devices and pipes cannot be synced, nor a read-only
// file system's files, and need not be.
std::error_code syncOpened(const std::filesystem::path& path, int flags) {
    const int descriptor = openRetrying(path.c_str(), flags | O_RDONLY | O_CLOEXEC, 0);
    if (descriptor < 0) {
        return lastError();
    }
    std::error_code error;
    if (::fsync(descriptor) != 0 && errno != EINVAL && errno != EROFS) {
        error = lastError();
    }
    ::close(descriptor);
    return error;
}

}  // namespace

std::error_code syncFile(const std::filesystem::path& path) {
    return syncOpened(path, O_NOFOLLOW);
}

std::error_code syncDirectory(const std::filesystem::path& directory) {
    return syncOpened(directory, O_DIRECTORY);
}

std::error_code writeAccess(const std::filesystem::path& path) {
    std::error_code error;
    if (::access(path.c_str(), W_OK) != 0) {
        error = lastError();
    }
    return error;
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace {

// Closes the descriptor whichever way the read ends.
class ReadDescriptor {
public:
    explicit ReadDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~ReadDescriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    ReadDescriptor(const ReadDescriptor&) = delete;
    ReadDescriptor& operator=(const ReadDescriptor&) = delete;
    int get() const { return descriptor_; }
    int release() { return std::exchange(descriptor_, -1); }

private:
    int descriptor_;
};

FileStatus tooLargeFile(const std::filesystem::path& path, std::uintmax_t size,
                        std::uintmax_t mostBytes) {
    return FileStatus::failure(FileError::CannotOpen, "cannot open " + path.string() +
                                                          ": too large (" + describeSize(size) +
                                                          ", more than " + describeSize(mostBytes) +
                                                          ")");
}

std::string openFailureText(int number) {
    switch (number) {
        case ENOENT:
            return "no such file";
        case EISDIR:
            return "is a directory";
        default:
            return describe({number, std::generic_category()});
    }
}

}  // namespace

namespace {

// Opens `path` for reading when it is a regular file of at most `mostBytes`, refusing anything
// else before a byte is read.
FileStatus openRegularFile(const std::filesystem::path& path, std::uintmax_t mostBytes,
                           int& descriptor, std::uintmax_t& size) {
    const std::string cannotOpen = "cannot open " + path.string() + ": ";
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    ReadDescriptor file(openRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
    if (file.get() < 0) {
        return FileStatus::failure(FileError::CannotOpen, cannotOpen + openFailureText(errno));
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        return FileStatus::failure(FileError::CannotOpen, cannotOpen + describe(lastError()));
    }
    if (S_ISDIR(status.st_mode)) {
        return FileStatus::failure(FileError::CannotOpen, cannotOpen + "is a directory");
    }
    if (!S_ISREG(status.st_mode)) {
        return FileStatus::failure(FileError::CannotOpen, cannotOpen + "is not a regular file");
    }
    size = static_cast<std::uintmax_t>(status.st_size);
    if (size > mostBytes) {
        return tooLargeFile(path, size, mostBytes);
    }
    descriptor = file.release();
    return FileStatus::success();
}

// Reads the open file to its end, a chunk at a time.
FileStatus readChunks(const std::filesystem::path& path, int descriptor, std::uintmax_t mostBytes,
                      const std::function<FileStatus(std::string_view)>& take) {
    std::array<char, 1 << 16> chunk{};
    std::uintmax_t total = 0;
    while (true) {
        const ssize_t count = ::read(descriptor, chunk.data(), chunk.size());
        if (count > 0) {
            total += static_cast<std::uintmax_t>(count);
            if (total > mostBytes) {
                return tooLargeFile(path, total, mostBytes);
            }
            if (FileStatus status = take({chunk.data(), static_cast<std::size_t>(count)});
                !status.ok()) {
                return status;
            }
        } else if (count == 0) {
            return FileStatus::success();
        } else if (errno != EINTR) {
            return FileStatus::failure(FileError::ReadError, "read error in " + path.string() +
                                                                 ": " + describe(lastError()));
        }
    }
}

}  // namespace

FileStatus readRegularFile(const std::filesystem::path& path, std::string& bytes,
                           std::uintmax_t mostBytes) {
    int descriptor = -1;
    std::uintmax_t size = 0;
    if (FileStatus status = openRegularFile(path, mostBytes, descriptor, size); !status.ok()) {
        return status;
    }
    const ReadDescriptor file(descriptor);
    std::string read;
    read.reserve(static_cast<std::size_t>(size));
    if (FileStatus status = readChunks(path, file.get(), mostBytes,
                                       [&](std::string_view chunk) {
                                           read.append(chunk);
                                           return FileStatus::success();
                                       });
        !status.ok()) {
        return status;
    }
    bytes = std::move(read);
    return FileStatus::success();
}

FileStatus readRegularFileInChunks(const std::filesystem::path& path,
                                   const std::function<FileStatus(std::string_view)>& take) {
    constexpr std::uintmax_t kAnySize = std::numeric_limits<std::uintmax_t>::max();
    int descriptor = -1;
    std::uintmax_t size = 0;
    if (FileStatus status = openRegularFile(path, kAnySize, descriptor, size); !status.ok()) {
        return status;
    }
    const ReadDescriptor file(descriptor);
    return readChunks(path, file.get(), kAnySize, take);
}

FileStatus checkRegularFile(const std::filesystem::path& path) {
    int descriptor = -1;
    std::uintmax_t size = 0;
    if (FileStatus status =
            openRegularFile(path, std::numeric_limits<std::uintmax_t>::max(), descriptor, size);
        !status.ok()) {
        return status;
    }
    ::close(descriptor);
    return FileStatus::success();
}

std::string describeSize(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKilo = 1000;
    if (bytes < 10 * kKilo) {
        return std::to_string(bytes) + " bytes";
    }
    const char* units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    std::size_t unit = 0;
    for (bytes /= kKilo; bytes >= 10 * kKilo && unit + 1 < std::size(units); bytes /= kKilo) {
        ++unit;
    }
    return std::to_string(bytes) + " " + units[unit];
}

FileStatus overwriteInPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
    const std::string cannotRewrite = "cannot rewrite " + to.string() + ": ";
    const auto failure = [&](const std::string& reason) {
        return FileStatus::failure(FileError::WriteError, cannotRewrite + reason);
    };
    const ReadDescriptor source(openRetrying(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0));
    // Non-blocking: should a FIFO have taken the file's place meanwhile, it is refused below
    // rather than waited on.
    const ReadDescriptor target(openRetrying(to.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0));
    struct stat sourceStatus {};
    struct stat targetStatus {};
    if (source.get() < 0 || ::fstat(source.get(), &sourceStatus) != 0 ||
        !S_ISREG(sourceStatus.st_mode)) {
        return failure("the completed temporary file cannot be read");
    }
    if (target.get() < 0 || ::fstat(target.get(), &targetStatus) != 0) {
        return failure(describe(lastError()));
    }
    if (!S_ISREG(targetStatus.st_mode)) {
        return failure("is no longer a regular file");
    }
    // Truncating first and then running out of space would leave neither the old bytes nor the
    // new ones under any of the file's names.
    if (sourceStatus.st_size > 0) {
        if (const int error = ::posix_fallocate(target.get(), 0, sourceStatus.st_size);
            error != 0) {
            // The C library's fallback for file systems without fallocate may have made the
            // file longer before it failed.
            (void)::ftruncate(target.get(), targetStatus.st_size);
            return failure(describe({error, std::generic_category()}) +
                           "; the file was left as it was");
        }
    }
    std::array<char, 1 << 16> chunk{};
    off_t offset = 0;
    while (true) {
        const ssize_t count = ::read(source.get(), chunk.data(), chunk.size());
        if (count == 0) {
            break;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure(describe(lastError()));
        }
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = ::pwrite(target.get(), chunk.data() + done,
                                             static_cast<size_t>(count - done), offset);
            if (written < 0 && errno != EINTR) {
                return failure(describe(lastError()));
            }
            if (written > 0) {
                done += written;
                offset += written;
            }
        }
    }
    if (::ftruncate(target.get(), offset) != 0 || ::fsync(target.get()) != 0) {
        return failure(describe(lastError()));
    }
    return FileStatus::success();
}

std::string describe(const std::error_code& error) {
    std::string text = error.message();
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

}  // namespace penmoji::posix
