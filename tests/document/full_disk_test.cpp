// SPDX-License-Identifier: MIT
// Writes on a disk that is nearly full: a small tmpfs of its own, mounted in a child process's
// private mount namespace (a user namespace makes that possible without root). Where the
// system allows neither, the tests are skipped.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include "document/atomic_file.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;

constexpr int kSkipped = 77;

bool writeText(const char* path, const std::string& text) {
    const int file = ::open(path, O_WRONLY | O_CLOEXEC);
    if (file < 0) {
        return false;
    }
    const bool written = ::write(file, text.data(), text.size()) == ssize_t(text.size());
    ::close(file);
    return written;
}

// Gives this process a mount namespace of its own, as root or through a user namespace.
bool enterPrivateMounts() {
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (uid == 0) {
        if (::unshare(CLONE_NEWNS) != 0) {
            return false;
        }
    } else if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
               !writeText("/proc/self/setgroups", "deny") ||
               !writeText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
               !writeText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
        return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `body` in a child with a tmpfs of `kilobytes` at `dir`; what it prints to the pipe
// comes back as the result, or nullopt when the disk could not be made.
std::optional<std::string> onSmallDisk(const fs::path& dir, int kilobytes,
                                       const std::function<std::string()>& body) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        if (!enterPrivateMounts() ||
            ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            ::_exit(kSkipped);
        }
        const std::string result = body();
        (void)!::write(pipeEnds[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return result;
}

// A file with a second name, rewritten in place with new bytes on a 64 KiB disk that already
// holds the old 20 KiB and a filler: either the new bytes arrive whole under both names, or
// the old ones stay, never a part of either.
TEST(FullDiskTest, AHardLinkedFileRewrittenInPlaceIsNeverDamaged) {
    struct Case {
        const char* name;
        int fillerKilobytes;
        bool fits;
    };
    // The temporary (32 KiB) fits beside the old file and the filler in every case; the old
    // bytes only make room once they are gone.
    const Case cases[] = {{"room for both", 0, true}, {"room for the temporary only", 8, false}};
    const std::string oldBytes(20 * 1024, 'o');
    const std::string newBytes(32 * 1024, 'n');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = fs::temp_directory_path() /
                             ("penmoji-full-disk-" + std::to_string(std::random_device{}()));
        fs::create_directory(dir);
        const auto outcome = onSmallDisk(dir, 64, [&] {
            writeFile(dir / "out.txt", oldBytes);
            fs::create_hard_link(dir / "out.txt", dir / "twin.txt");
            if (c.fillerKilobytes > 0) {
                writeFile(dir / "filler", std::string(c.fillerKilobytes * 1024, 'f'));
            }
            const FileStatus status = writeFileAtomically(dir / "out.txt", [&](std::ostream& out) {
                out << newBytes;
                return FileStatus::success();
            });
            const std::string out = readAll(dir / "out.txt");
            const std::string verdict = out == newBytes   ? "new"
                                        : out == oldBytes ? "old"
                                                          : "damaged";
            const bool linked = fs::hard_link_count(dir / "out.txt") == 2 &&
                                fs::equivalent(dir / "out.txt", dir / "twin.txt");
            const bool tidy =
                std::distance(fs::directory_iterator(dir), {}) == (c.fillerKilobytes > 0 ? 3 : 2);
            return verdict + (linked ? " linked" : " split") + (tidy ? " tidy" : " leftover") +
                   "|" + status.reason();
        });
        fs::remove_all(dir);
        if (!outcome) {
            GTEST_SKIP() << "no private tmpfs can be mounted here";
        }
        const std::string state = outcome->substr(0, outcome->find('|'));
        const std::string reason = outcome->substr(outcome->find('|') + 1);
        if (c.fits) {
            EXPECT_EQ(state, "new linked tidy") << reason;
            EXPECT_EQ(reason, "");
        } else {
            EXPECT_EQ(state, "old linked tidy");
            EXPECT_NE(reason.find("no space left on device"), std::string::npos) << reason;
        }
    }
}

// A writer that stops at its stream's failure knows no reason; the one reported is the disk's.
TEST(FullDiskTest, AWriterStoppedByAFullDiskReportsNoSpace) {
    const fs::path dir =
        fs::temp_directory_path() / ("penmoji-full-disk-" + std::to_string(std::random_device{}()));
    fs::create_directory(dir);
    const auto outcome = onSmallDisk(dir, 16, [&] {
        const FileStatus status = writeFileAtomically(dir / "out.txt", [](std::ostream& out) {
            for (int i = 0; i < 64 && out; ++i) {
                out << std::string(1024, 'n') << std::flush;
            }
            return out ? FileStatus::success()
                       : FileStatus::failure(FileError::WriteError, "write error");
        });
        return status.reason() + "|" +
               std::to_string(std::distance(fs::directory_iterator(dir), {}));
    });
    fs::remove_all(dir);
    if (!outcome) {
        GTEST_SKIP() << "no private tmpfs can be mounted here";
    }
    EXPECT_EQ(*outcome, "write error on " + (dir / "out.txt").string() +
                            ": no space left on device|0");
}

}  // namespace
}  // namespace penmoji
