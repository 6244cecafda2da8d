// SPDX-License-Identifier: MIT
#include "compose/mlt_file.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "compose/unicode_blanks.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder of the test's own: another checkout may run the same test at the same time.
fs::path freshDir(const std::string& name) {
    return fs::path(testing::TempDir()) / (name + "-" + std::to_string(getpid()));
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(MltFileTest, AppendKeepsTheExistingPagesByteForByte) {
    const fs::path dir = freshDir("penmoji-mlt");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "art.mlt";
    // Two pages with Shift_JIS text, a trailing blank and no line break at the very end.
    const std::string existing = "\x81\x40\x83\x41 \r\n\x81\x50\r\n[SPLIT]\r\n  (\x81\x4b)\t";
    writeBytes(file, existing);

    const std::vector<std::string> pages = {"\x81\x40/\r\n\x81\x40\\\r\n", std::string("x\0y", 3)};
    ASSERT_TRUE(appendToMltFile(file, pages).ok());
    const std::string after = readBytes(file);
    ASSERT_EQ(after.substr(0, existing.size()), existing);
    EXPECT_EQ(after.substr(existing.size()),
              "\r\n[SPLIT]\r\n\x81\x40/\r\n\x81\x40\\\r\n[SPLIT]\r\nx\r\n");

    const fs::path fresh = dir / "new.mlt";
    ASSERT_TRUE(appendToMltFile(fresh, std::vector<std::string>{"a\r\n"}).ok());
    EXPECT_EQ(readBytes(fresh), "a\r\n");

    // A directory cannot be read as a file: nothing is written.
    EXPECT_FALSE(appendToMltFile(dir, pages).ok());
}

// A page streamed in lands as the same page given whole does, after any kind of ending.
TEST(MltFileTest, AStreamedPageIsAddedAsAWholeOne) {
    const fs::path dir = freshDir("penmoji-mlt-streamed");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string page = "\x81\x40/\r\n\x81\x40\\";
    for (const std::string existing : {"", "a", "a\r\n", "\x81\x40\r"}) {
        SCOPED_TRACE(existing);
        writeBytes(dir / "whole.mlt", existing);
        writeBytes(dir / "streamed.mlt", existing);
        ASSERT_TRUE(appendToMltFile(dir / "whole.mlt", std::vector<std::string>{page}).ok());
        ASSERT_TRUE(appendStreamedPageToMltFile(dir / "streamed.mlt", [&](std::ostream& out) {
                        out << page.substr(0, 3) << page.substr(3);
                        return FileStatus::success();
                    }).ok());
        EXPECT_EQ(readBytes(dir / "streamed.mlt"), readBytes(dir / "whole.mlt"));
    }
}

// Shift_JIS pages added to other text would make a file that no reader shows right.
TEST(MltFileTest, AFileThatIsNotShiftJisTextIsRefusedAndKept) {
    const fs::path dir = freshDir("penmoji-mlt-refused");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;  // empty: accepted
    } cases[] = {
        {"Shift_JIS", "\x81\x40\x83\x41\xB1\r\n[SPLIT]\r\nabc", ""},
        {"ASCII", "plain\r\n", ""},
        {"PNG", "\x89PNG\r\n\x1a\n" + std::string("\0\0\0\x0dIHDR", 8),
         "it holds NUL bytes: binary data or UTF-16 text"},
        {"UTF-8", "\xE3\x81\x82\xE3\x81\x84\r\n", "it is UTF-8 text"},
        {"UTF-8 with a mark",
         "\xEF\xBB\xBF"
         "abc",
         "it is UTF-8 text"},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "a\0b\0",
                     6),
         "it is UTF-16 text"},
        {"UTF-16 big-endian", std::string("\xFE\xFF\0a", 4), "it is UTF-16 text"},
        {"stray byte", "ab\xFF", "byte 0xFF at 2 is no character"},
        {"cut character", "ab\x82", "it ends inside a character"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir / "art.mlt";
        writeBytes(file, c.bytes);
        const FileStatus status = appendToMltFile(file, std::vector<std::string>{"x\r\n"});
        if (std::string(c.reason).empty()) {
            EXPECT_TRUE(status.ok()) << status.reason();
            continue;
        }
        EXPECT_EQ(status.reason(), "cannot add Shift_JIS pages to " + file.string() +
                                       ": it is not Shift_JIS text (" + c.reason + ")");
        EXPECT_EQ(readBytes(file), c.bytes);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
    }
}

TEST(UnicodeBlanksTest, EntityBlanksBecomeTheirCharacters) {
    EXPECT_EQ(replaceEntityBlanks("a&nbsp;b&ensp;&thinsp;&amp;&nbsp"),
              "a\xC2\xA0"
              "b\xE2\x80\x82\xE2\x80\x89&amp;&nbsp");
}

// The streamed output hands the text over in blocks that may end inside an entity.
TEST(UnicodeBlanksTest, AnEntitySplitBetweenPiecesIsStillReplaced) {
    const std::string text = "&&thinsp;x&ens&ensp;&nbsp";
    const std::string whole = replaceEntityBlanks(text);
    EXPECT_EQ(whole, "&\xE2\x80\x89x&ens\xE2\x80\x82&nbsp");
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        for (std::size_t second = cut; second <= text.size(); ++second) {
            SCOPED_TRACE(std::to_string(cut) + ", " + std::to_string(second));
            std::string out;
            EntityBlankReplacer replacer;
            replacer.feed(std::string_view(text).substr(0, cut), out);
            replacer.feed(std::string_view(text).substr(cut, second - cut), out);
            replacer.feed(std::string_view(text).substr(second), out);
            replacer.finish(out);
            EXPECT_EQ(out, whole);
        }
    }
}

}  // namespace
}  // namespace penmoji
