// SPDX-License-Identifier: MIT
#include "document/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <new>
#include <ostream>
#include <random>
#include <set>
#include <string>

#include "document/vector_file.h"
#include "document_test_util.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;
using fixtures::busyDocument;
using fixtures::fileBytes;
using fixtures::newDocument;
using fixtures::sameState;

class SaveAndLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("penmoji-document-test-" + std::to_string(std::random_device{}()));
        ASSERT_TRUE(fs::create_directory(dir_));
        target_ = dir_ / "drawing.pmj";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::set<std::string> filesInDir() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    static void writeRaw(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path dir_;
    fs::path target_;
};

TEST_F(SaveAndLoadTest, SaveReplacesTheTargetAndLoadRestoresTheDocument) {
    writeRaw(target_, "the previous file");
    auto document = newDocument();
    document->lines[5] = {.count = 2, .points = {Point{-7, 8}, Point{9, -10}}};

    ASSERT_TRUE(saveVectorFile(target_, *document).ok());
    EXPECT_EQ(contents(target_), fileBytes(*document));
    EXPECT_EQ(filesInDir(), std::set<std::string>{"drawing.pmj"});

    auto loaded = busyDocument();
    ASSERT_TRUE(loadVectorFile(target_, *loaded).ok());
    EXPECT_TRUE(sameState(*loaded, *document));
}

TEST_F(SaveAndLoadTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const struct {
        const char* name;
        std::function<FileStatus(std::ostream&)> write;
        std::string reasonPrefix;
    } cases[] = {
        {"writer reports failure",
         [](std::ostream& out) {
             out << "partial";
             return FileStatus::failure(FileError::WriteError, "injected failure");
         },
         "injected failure"},
        {"stream goes bad under the writer",
         [](std::ostream& out) {
             out << "partial";
             out.setstate(std::ios::badbit);
             return FileStatus::success();
         },
         "write error on "},
        {"document refused",
         [](std::ostream& out) {
             auto document = newDocument();
             document->lines[0].count = -1;
             return document->writeTo(out);
         },
         "record 0 has point count -1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeRaw(target_, "the previous file");
        const FileStatus status = writeFileAtomically(target_, c.write);
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.reason().rfind(c.reasonPrefix, 0), 0u) << status.reason();
        EXPECT_EQ(contents(target_), "the previous file");
        EXPECT_EQ(filesInDir(), std::set<std::string>{"drawing.pmj"});
    }
    // A writer cut short by an exception (memory running out) leaves nothing behind either.
    EXPECT_THROW((void)writeFileAtomically(target_,
                                           [](std::ostream& out) -> FileStatus {
                                               out << "partial";
                                               throw std::bad_alloc();
                                           }),
                 std::bad_alloc);
    EXPECT_EQ(contents(target_), "the previous file");
    EXPECT_EQ(filesInDir(), std::set<std::string>{"drawing.pmj"});
}

TEST_F(SaveAndLoadTest, SaveIntoAMissingDirectoryFailsWithoutCreatingAnything) {
    const FileStatus status = saveVectorFile(dir_ / "missing" / "drawing.pmj", *newDocument());
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.reason().rfind("cannot create ", 0), 0u) << status.reason();
    EXPECT_TRUE(filesInDir().empty());
}

TEST_F(SaveAndLoadTest, FailedLoadKeepsTheDocument) {
    writeRaw(target_, std::string(799, '\0'));
    const struct {
        fs::path path;
        std::string reason;
    } cases[] = {
        {dir_ / "absent.pmj", "cannot open " + (dir_ / "absent.pmj").string() + ": no such file"},
        {target_, "file ends inside record 199"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto document = busyDocument();
        const FileStatus status = loadVectorFile(c.path, *document);
        EXPECT_EQ(status.reason(), c.reason);
        EXPECT_TRUE(sameState(*document, *busyDocument()));
    }
}

// A batch's files: held until their group fills or finish() comes, each target keeping its old
// bytes until then; a file that cannot be renamed fails alone and leaves no temporary.
TEST_F(SaveAndLoadTest, GroupedCommitsPutEachFileInPlaceOrNameItsFailure) {
    constexpr std::size_t kFiles = 2 * GroupedCommits::kGroupSize + 3;
    const auto name = [](std::size_t i) { return "out" + std::to_string(i) + ".txt"; };
    const auto writeText = [](std::string text) {
        return [text](std::ostream& out) {
            out << text;
            return FileStatus::success();
        };
    };
    writeRaw(dir_ / name(kFiles - 1), "old");
    GroupedCommits commits;
    for (std::size_t i = 0; i < kFiles; ++i) {
        const FileStatus status = writeFileAtomically(dir_ / name(i), writeText("new " + name(i)),
                                                      {}, DirectorySync::ByCaller, &commits);
        ASSERT_TRUE(status.ok()) << status.reason();
    }
    // A writer that fails among them: nothing of it is held.
    const FileStatus refused = writeFileAtomically(
        dir_ / "refused.txt",
        [](std::ostream& out) {
            out << "partial";
            return FileStatus::failure(FileError::WriteError, "stopped");
        },
        {}, DirectorySync::ByCaller, &commits);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(contents(dir_ / name(0)), "new " + name(0));  // its group was full
    EXPECT_EQ(contents(dir_ / name(kFiles - 1)), "old");    // still held
    EXPECT_FALSE(fs::exists(dir_ / name(kFiles - 2)));
    // A target that became a directory while its file was held cannot be replaced.
    fs::create_directories(dir_ / name(kFiles - 2) / "inside");

    commits.finish();
    const std::vector<GroupedCommits::Failure> failures = commits.takeFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].target, dir_ / name(kFiles - 2));
    EXPECT_TRUE(failures[0].status.reason().starts_with("cannot replace "))
        << failures[0].status.reason();
    EXPECT_TRUE(commits.takeFailures().empty());
    std::set<std::string> expected{name(kFiles - 2)};
    for (std::size_t i = 0; i < kFiles; ++i) {
        if (i != kFiles - 2) {
            EXPECT_EQ(contents(dir_ / name(i)), "new " + name(i));
            expected.insert(name(i));
        }
    }
    EXPECT_EQ(filesInDir(), expected);  // no temporary, and nothing of the refused file
}

// Files never put in place (a batch that ends before finish()) leave no temporaries and the
// targets as they were.
TEST_F(SaveAndLoadTest, GroupedCommitsDroppedUnfinishedRemoveTheirTemporaries) {
    writeRaw(target_, "old");
    {
        GroupedCommits commits;
        for (const fs::path& file : {target_, dir_ / "new.txt"}) {
            ASSERT_TRUE(writeFileAtomically(
                            file,
                            [](std::ostream& out) {
                                out << "new";
                                return FileStatus::success();
                            },
                            {}, DirectorySync::ByCaller, &commits)
                            .ok());
        }
        EXPECT_EQ(filesInDir().size(), 3u);  // the old file and two temporaries
    }
    EXPECT_EQ(filesInDir(), std::set<std::string>{"drawing.pmj"});
    EXPECT_EQ(contents(target_), "old");
}

}  // namespace
}  // namespace penmoji
