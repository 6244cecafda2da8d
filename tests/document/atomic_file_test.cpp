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

}  // namespace
}  // namespace penmoji
