// SPDX-License-Identifier: MIT
#include "document/placed_text_file.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/vector_file.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;

std::string le32(std::int32_t value) {
    std::string bytes(4, '\0');
    encodeInt32(bytes.data(), value);
    return bytes;
}

class PlacedTextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("placed-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        drawing_ = folder_ / "face.pmj";
    }
    void TearDown() override { fs::remove_all(folder_); }

    void writeSidecar(const std::string& bytes) {
        std::ofstream(placedTextPath(drawing_), std::ios::binary) << bytes;
    }
    std::string sidecarBytes() const {
        std::ifstream in(placedTextPath(drawing_), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder_;
    fs::path drawing_;
};

// A face of two rows: "(＾ω＾)" over an entity blank, and a piece left of the canvas's top.
PlacedText twoPieces() {
    return {PlacedPiece{40, 33, {{'(', 0x814F, 0x83D6, 0x814F, ')'}, {kPlacedEnSpaceCode, 0x815E}}},
            PlacedPiece{-5, -20, {{}, {0x8140, 'A'}}}};
}

TEST_F(PlacedTextFileTest, SavedTextComesBackAndEmptyTextLeavesNoFile) {
    ASSERT_TRUE(savePlacedText(drawing_, twoPieces()).ok());
    EXPECT_EQ(sidecarBytes().substr(0, 12), "PMJT" + le32(1) + le32(2));
    PlacedText read;
    ASSERT_TRUE(loadPlacedText(drawing_, read).ok());
    EXPECT_EQ(read, twoPieces());

    ASSERT_TRUE(savePlacedText(drawing_, {}).ok());
    EXPECT_FALSE(fs::exists(placedTextPath(drawing_)));
    read = twoPieces();
    ASSERT_TRUE(loadPlacedText(drawing_, read).ok());
    EXPECT_TRUE(read.empty());
}

TEST_F(PlacedTextFileTest, DamagedFileIsRefusedAndTextLeftAlone) {
    const std::string header = "PMJT" + le32(1) + le32(1);
    const std::string oneRow = le32(0) + le32(0) + le32(1);
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"a drawing", std::string(800, '\0'), "not a placed-text file"},
        {"newer version", "PMJT" + le32(2) + le32(0), "the version is 2"},
        {"ends early", header + le32(0) + le32(0), "file ends inside piece 1's row count"},
        {"no rows", header + le32(0) + le32(0) + le32(0), "row count is 0"},
        {"no character", header + oneRow + le32(1) + le32(0x0A), "holds no character code"},
        {"outside the canvas", header + le32(2'000'000) + le32(0) + le32(1) + le32(0),
         "piece 1 x is 2000000"},
        {"bytes after", header + oneRow + le32(0) + "x", "bytes follow the last piece"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeSidecar(c.bytes);
        PlacedText text = twoPieces();
        const FileStatus status = loadPlacedText(drawing_, text);
        EXPECT_EQ(status.error(), FileError::Damaged);
        EXPECT_NE(status.reason().find(c.reason), std::string::npos) << status.reason();
        EXPECT_EQ(text, twoPieces());
    }
}

TEST_F(PlacedTextFileTest, TextNoFileCouldHoldIsNotSaved) {
    writeSidecar("PMJT" + le32(1) + le32(0));
    const std::string before = sidecarBytes();
    for (const PlacedText& text :
         {PlacedText{PlacedPiece{0, 0, {}}}, PlacedText{PlacedPiece{0, 0, {{0x0A}}}},
          PlacedText{PlacedPiece{0, 0, {std::vector<std::int32_t>(801, 'A')}}}}) {
        EXPECT_EQ(savePlacedText(drawing_, text).error(), FileError::Damaged);
        EXPECT_EQ(sidecarBytes(), before);
    }
}

}  // namespace
}  // namespace penmoji
