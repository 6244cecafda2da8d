// SPDX-License-Identifier: MIT
// Every kind of thing an output path can name, written through writeFileAtomically: what the
// write must do there, and that nothing else in the folder changed (no temporary left, no link
// replaced by a file, no hard link split, no permission bits lost).
//
// The tests run as root, which the kernel lets write anything; the writer refuses by the
// permission bits, so the read-only cases show the same outcome for every user.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "document/atomic_file.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOld = "old contents";
constexpr const char* kNew = "new contents";

// One entry of the folder, as far as a write could change it.
struct Entry {
    fs::file_type type = fs::file_type::none;
    std::string content;  // a file's bytes, a link's target
    fs::perms permissions = fs::perms::none;
    ino_t inode = 0;
    nlink_t links = 0;

    friend bool operator==(const Entry&, const Entry&) = default;
};

void PrintTo(const Entry& e, std::ostream* out) {
    *out << "{type " << static_cast<int>(e.type) << " \"" << e.content << "\" perms " << std::oct
         << static_cast<unsigned>(e.permissions) << std::dec << " inode " << e.inode << " links "
         << e.links << "}";
}

using Snapshot = std::map<std::string, Entry>;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Snapshot snapshot(const fs::path& dir) {
    Snapshot entries;
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(dir)) {
        struct stat status {};
        ::lstat(item.path().c_str(), &status);
        Entry entry{item.symlink_status().type(),
                    {},
                    item.symlink_status().permissions(),
                    status.st_ino,
                    status.st_nlink};
        if (entry.type == fs::file_type::regular) {
            entry.content = readAll(item.path());
        } else if (entry.type == fs::file_type::symlink) {
            entry.content = fs::read_symlink(item.path()).string();
        }
        entries[item.path().lexically_relative(dir).string()] = entry;
    }
    return entries;
}

class OutputTargetTest;

// Where the new bytes must end up on success.
enum class Lands {
    Nowhere,      // refused or failed: the folder stays exactly as it was
    NewFile,      // in a file of that name, created or replacing what was there
    SameFile,     // in that file, which keeps its inode (and so every name it has)
    OutsideOnly,  // outside the folder (a device): the folder stays as it was
};

struct TargetCase {
    const char* name;
    // Prepares the folder and names the target (relative to the folder unless absolute).
    std::function<std::string(OutputTargetTest&)> prepare;
    FileError error;
    const char* reasonPart;  // part of the reason on failure
    Lands lands;
    std::vector<const char*> landsIn;  // the entries receiving kNew
    const char* input = nullptr;       // the drawing the output was made from
};

class OutputTargetTest : public testing::Test {
public:
    fs::path path(const std::string& name) const { return dir_ / name; }
    void file(const std::string& name,
              fs::perms permissions = fs::perms::owner_read | fs::perms::owner_write) {
        writeFile(path(name), kOld);
        fs::permissions(path(name), permissions);
    }
    void link(const std::string& name, const std::string& to) {
        fs::create_symlink(to, path(name));
    }
    // A FIFO with a reader waiting, so that opening it for writing does not block.
    void fifo(const std::string& name) {
        ASSERT_EQ(::mkfifo(path(name).c_str(), 0644), 0);
        reader_ = ::open(path(name).c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader_, 0);
    }
    // An open file, as the shell opens the file of "> name" for standard output.
    int openForWriting(const std::string& name) {
        held_ = ::open(path(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        return held_;
    }
    std::string readFifo() const {
        char bytes[64] = {};
        const ssize_t got = ::read(reader_, bytes, sizeof bytes);
        return got > 0 ? std::string(bytes, static_cast<std::size_t>(got)) : std::string();
    }

protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("penmoji-target-test-" + std::to_string(std::random_device{}()));
        ASSERT_TRUE(fs::create_directory(dir_));
    }
    void TearDown() override {
        for (int descriptor : {reader_, held_}) {
            if (descriptor >= 0) {
                ::close(descriptor);
            }
        }
        // Locked folders must open again before they can be removed.
        for (const fs::directory_entry& item : fs::recursive_directory_iterator(dir_)) {
            if (item.symlink_status().type() == fs::file_type::directory) {
                fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add);
            }
        }
        fs::remove_all(dir_);
    }

    void run(const TargetCase& c);

    fs::path dir_;
    int reader_ = -1;
    int held_ = -1;
};

FileStatus writeNew(const fs::path& target, const fs::path& input) {
    return writeFileAtomically(
        target,
        [](std::ostream& out) {
            out << kNew;
            return FileStatus::success();
        },
        input);
}

void OutputTargetTest::run(const TargetCase& c) {
    SCOPED_TRACE(c.name);
    const fs::path target = dir_ / c.prepare(*this);
    Snapshot expected = snapshot(dir_);

    const FileStatus status = writeNew(target, c.input ? path(c.input) : fs::path());
    EXPECT_EQ(status.error(), c.error) << status.reason();
    EXPECT_NE(status.reason().find(c.reasonPart), std::string::npos) << status.reason();

    const Snapshot after = snapshot(dir_);
    for (const char* name : c.landsIn) {
        Entry& entry = expected[name];
        entry.content = kNew;
        if (c.lands == Lands::NewFile) {
            // A new file: new inode, and the creation's bits where nothing was there before.
            const bool existed = entry.type != fs::file_type::none;
            entry.type = fs::file_type::regular;
            entry.inode = after.count(name) ? after.at(name).inode : 0;
            entry.links = 1;
            if (!existed && after.count(name)) {
                entry.permissions = after.at(name).permissions;
            }
        }
    }
    EXPECT_EQ(after, expected);
}

TEST_F(OutputTargetTest, EveryKindOfTarget) {
    using enum Lands;
    const auto ok = FileError::None;
    const auto refused = FileError::CannotOpen;
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    const fs::perms locked = fs::perms::owner_read | fs::perms::owner_exec;
    const TargetCase cases[] = {
        {"regular file, replaced with its permission bits",
         [](OutputTargetTest& t) {
             t.file("out.txt",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
             return "out.txt";
         },
         ok,
         "",
         NewFile,
         {"out.txt"}},
        {"no file yet", [](OutputTargetTest&) { return "out.txt"; }, ok, "", NewFile, {"out.txt"}},
        {"symbolic link: the file it leads to is replaced, the link stays",
         [](OutputTargetTest& t) {
             t.file("real.txt");
             t.link("out.txt", "real.txt");
             return "out.txt";
         },
         ok,
         "",
         NewFile,
         {"real.txt"}},
        {"dangling link: the file it names is created, the link stays",
         [](OutputTargetTest& t) {
             fs::create_directory(t.path("sub"));
             t.link("out.txt", "sub/made.txt");
             return "out.txt";
         },
         ok,
         "",
         NewFile,
         {"sub/made.txt"}},
        {"links in a loop",
         [](OutputTargetTest& t) {
             t.link("out.txt", "loop.txt");
             t.link("loop.txt", "out.txt");
             return "out.txt";
         },
         refused,
         "too many levels of symbolic links",
         Nowhere,
         {}},
        {"hard link: both names keep one file",
         [](OutputTargetTest& t) {
             t.file("out.txt");
             fs::create_hard_link(t.path("out.txt"), t.path("twin.txt"));
             return "out.txt";
         },
         ok,
         "",
         SameFile,
         {"out.txt", "twin.txt"}},
        {"read-only file",
         [=](OutputTargetTest& t) {
             t.file("out.txt", readOnly);
             return "out.txt";
         },
         refused,
         "permission denied",
         Nowhere,
         {}},
        {"read-only file behind a link",
         [=](OutputTargetTest& t) {
             t.file("real.txt", readOnly);
             t.link("out.txt", "real.txt");
             return "out.txt";
         },
         refused,
         "permission denied",
         Nowhere,
         {}},
        {"directory",
         [](OutputTargetTest& t) {
             fs::create_directory(t.path("out.txt"));
             t.file("out.txt/inside");
             return "out.txt";
         },
         refused,
         "is a directory",
         Nowhere,
         {}},
        {"file in a folder that may not be written",
         [=](OutputTargetTest& t) {
             fs::create_directory(t.path("locked"));
             t.file("locked/out.txt");
             fs::permissions(t.path("locked"), locked);
             return "locked/out.txt";
         },
         refused,
         "permission denied",
         Nowhere,
         {}},
        {"new file in a folder that may not be written",
         [=](OutputTargetTest& t) {
             fs::create_directory(t.path("locked"));
             fs::permissions(t.path("locked"), locked);
             return "locked/out.txt";
         },
         refused,
         "permission denied",
         Nowhere,
         {}},
        {"missing folder",
         [](OutputTargetTest&) { return "missing/out.txt"; },
         refused,
         "no such file or directory",
         Nowhere,
         {}},
        {"FIFO: written into, never replaced",
         [](OutputTargetTest& t) {
             t.fifo("out.fifo");
             return "out.fifo";
         },
         ok,
         "",
         OutsideOnly,
         {}},
        {"open file behind a /dev/fd link, as /dev/stdout: written in place",
         [](OutputTargetTest& t) {
             return "/dev/fd/" + std::to_string(t.openForWriting("shell.txt"));
         },
         ok,
         "",
         SameFile,
         {"shell.txt"}},
        {"the input through a symbolic link",
         [](OutputTargetTest& t) {
             t.file("drawing.pmj");
             t.link("out.pmj", "drawing.pmj");
             return "out.pmj";
         },
         refused,
         "is the input file",
         Nowhere,
         {},
         "drawing.pmj"},
        {"the input through a hard link",
         [](OutputTargetTest& t) {
             t.file("drawing.pmj");
             fs::create_hard_link(t.path("drawing.pmj"), t.path("out.pmj"));
             return "out.pmj";
         },
         refused,
         "is the input file",
         Nowhere,
         {},
         "drawing.pmj"},
        {"another file than the input",
         [](OutputTargetTest& t) {
             t.file("drawing.pmj");
             return "out.txt";
         },
         ok,
         "",
         NewFile,
         {"out.txt"},
         "drawing.pmj"},
    };
    for (const TargetCase& c : cases) {
        run(c);
        if (std::string(c.name).starts_with("FIFO")) {
            EXPECT_EQ(readFifo(), kNew);
        }
        TearDown();
        SetUp();
    }
}

// Devices live outside the test's folder; only their kind can be checked afterwards.
TEST(OutputDeviceTest, DevicesAreWrittenWhereTheyAre) {
    for (const char* device : {"/dev/null", "/dev/full"}) {
        SCOPED_TRACE(device);
        if (::access(device, W_OK) != 0) {
            GTEST_SKIP() << device << " cannot be written here";
        }
        const FileStatus status = writeNew(device, {});
        if (std::string(device) == "/dev/full") {
            // Every write fails there: the failure is reported, nothing is replaced.
            EXPECT_EQ(status.error(), FileError::WriteError);
            EXPECT_NE(status.reason().find("no space left on device"), std::string::npos)
                << status.reason();
        } else {
            EXPECT_TRUE(status.ok()) << status.reason();
        }
        EXPECT_TRUE(fs::is_character_file(fs::symlink_status(device)));
    }
}

TEST(SameFileTest, FollowsLinksAndNeedsAnExistingFile) {
    const fs::path dir =
        fs::temp_directory_path() / ("penmoji-same-file-" + std::to_string(std::random_device{}()));
    fs::create_directory(dir);
    writeFile(dir / "a", "a");
    writeFile(dir / "b", "a");
    fs::create_symlink("a", dir / "soft");
    fs::create_hard_link(dir / "a", dir / "hard");
    EXPECT_TRUE(sameFile(dir / "a", dir / "soft"));
    EXPECT_TRUE(sameFile(dir / "hard", dir / "soft"));
    EXPECT_TRUE(sameFile(dir / "a", dir / "." / "a"));
    EXPECT_FALSE(sameFile(dir / "a", dir / "b"));
    EXPECT_FALSE(sameFile(dir / "a", dir / "absent"));
    EXPECT_FALSE(sameFile(dir / "absent", dir / "absent"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace penmoji
