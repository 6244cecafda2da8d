#include "compose/mlt_file.h"

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

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(MltFileTest, AppendKeepsTheExistingPagesByteForByte) {
    const fs::path dir = fs::path(testing::TempDir()) / "penmoji-mlt";
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
