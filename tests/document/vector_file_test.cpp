// SPDX-License-Identifier: MIT
#include "document/vector_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

#include "document_test_util.h"

namespace penmoji {
namespace {

using fixtures::busyDocument;
using fixtures::fileBytes;
using fixtures::newDocument;
using fixtures::sameState;

std::string le32(std::int32_t value) {
    std::string bytes(4, '\0');
    encodeInt32(bytes.data(), value);
    return bytes;
}

// The one vector in slot 5 with the points (10, 20), (30, 40), (-1, 7).
std::unique_ptr<VectorSet> slotFiveDocument() {
    auto document = newDocument();
    VectorLine& line = document->lines[5];
    line.count = 3;
    line.points[0] = {10, 20};
    line.points[1] = {30, 40};
    line.points[2] = {-1, 7};
    return document;
}

std::string slotFiveFile() {
    std::string bytes(20, '\0');
    bytes += std::string("\x03\x00\x00\x00", 4);
    bytes += std::string("\x0a\x00\x00\x00\x14\x00\x00\x00", 8);
    bytes += std::string("\x1e\x00\x00\x00\x28\x00\x00\x00", 8);
    bytes += std::string("\xff\xff\xff\xff\x07\x00\x00\x00", 8);
    bytes += std::string(776, '\0');
    return bytes;
}

FileStatus readBytes(VectorSet& document, const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    return document.readFrom(in);
}

TEST(Int32CodingTest, LittleEndianTwosComplement) {
    const struct {
        std::int32_t value;
        const char* bytes;
    } cases[] = {
        {0, "\x00\x00\x00\x00"},          {1, "\x01\x00\x00\x00"},
        {-1, "\xff\xff\xff\xff"},         {0x12345678, "\x78\x56\x34\x12"},
        {INT32_MAX, "\xff\xff\xff\x7f"},  {INT32_MIN, "\x00\x00\x00\x80"},
        {-1'000'000, "\xc0\xbd\xf0\xff"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string expected(c.bytes, 4);
        std::ostringstream out(std::ios::binary);
        writeInt32(out, c.value);
        EXPECT_EQ(out.str(), expected);

        std::istringstream in(expected, std::ios::binary);
        std::int32_t read = 42;
        ASSERT_TRUE(readInt32(in, &read));
        EXPECT_EQ(read, c.value);
    }
}

TEST(Int32CodingTest, ShortReadFailsAndLeavesTheValue) {
    for (const std::string bytes : {"", "\x01", "\x01\x02", "\x01\x02\x03"}) {
        std::istringstream in(bytes, std::ios::binary);
        std::int32_t value = 42;
        EXPECT_FALSE(readInt32(in, &value)) << bytes.size() << " bytes";
        EXPECT_EQ(value, 42);
    }
}

TEST(VectorFileTest, EmptyDocumentIs800ZeroBytes) {
    EXPECT_EQ(fileBytes(*newDocument()), std::string(800, '\0'));
}

TEST(VectorFileTest, WritesTheSlotFiveExampleByteForByte) {
    auto document = slotFiveDocument();
    // Points beyond the count are not stored.
    document->lines[5].points[3] = {99, 99};
    EXPECT_EQ(fileBytes(*document), slotFiveFile());
}

TEST(VectorFileTest, ReadingReplacesTheWholeDocument) {
    auto document = busyDocument();
    ASSERT_TRUE(readBytes(*document, slotFiveFile()).ok());
    EXPECT_TRUE(sameState(*document, *slotFiveDocument()));
}

TEST(VectorFileTest, BytesAfterTheLastRecordAreIgnored) {
    auto document = newDocument();
    ASSERT_TRUE(readBytes(*document, slotFiveFile() + le32(7) + "garbage").ok());
    EXPECT_TRUE(sameState(*document, *slotFiveDocument()));
}

TEST(VectorFileTest, RoundTripKeepsSlotsPointsAndBounds) {
    auto document = newDocument();
    document->lines[0] = {.count = 1, .points = {Point{kMinCoordinate, kMaxCoordinate}}};
    document->lines[2] = {.count = 2, .points = {Point{-3, -4}, Point{0, -1}}};
    VectorLine& full = document->lines[kSlotCount - 1];
    full.count = kMaxPoints;
    for (int i = 0; i < kMaxPoints; ++i) {
        full.points[i] = {i - 100, 1000 * i};
    }
    const std::string bytes = fileBytes(*document);
    ASSERT_EQ(bytes.size(), 800u + 8u * (1 + 2 + kMaxPoints));

    auto reread = busyDocument();
    ASSERT_TRUE(readBytes(*reread, bytes).ok());
    EXPECT_TRUE(sameState(*reread, *document));
    EXPECT_EQ(fileBytes(*reread), bytes);
}

// Byte offsets into slotFiveFile(): record 5's count at 20, its points from 24; record 199's
// count in the last 4 bytes.
std::string patched(std::string bytes, std::size_t offset, std::int32_t value) {
    bytes.replace(offset, 4, le32(value));
    return bytes;
}

TEST(VectorFileTest, RefusesBrokenFilesAndKeepsTheDocument) {
    const std::string good = slotFiveFile();
    const struct {
        const char* name;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {"empty", "", "file ends inside record 0"},
        {"count -1", patched(good, 0, -1),
         "not a Penmoji drawing: record 0 has point count -1 (allowed 0 to 200)"},
        {"a PNG picture", "\x89PNG\r\n\x1a\n", "not a Penmoji drawing: it holds a PNG picture"},
        {"an .svgz picture", std::string("\x1f\x8b\x08\x00", 4) + good,
         "not a Penmoji drawing: it holds gzip data (an .svgz picture?)"},
        {"count 201", patched(good, 20, 201), "record 5 has point count 201 (allowed 0 to 200)"},
        {"lowest count", patched(good, good.size() - 4, INT32_MIN),
         "record 199 has point count -2147483648 (allowed 0 to 200)"},
        {"ends in a point", good.substr(0, 35), "file ends inside record 5"},
        {"ends in the last count", good.substr(0, good.size() - 1), "file ends inside record 199"},
        {"count longer than the file", patched(good, 20, 200), "file ends inside record 5"},
        {"x above the bound", patched(good, 32, kMaxCoordinate + 1),
         "record 5, point 1 (1000001, 40) lies outside -1000000 to 1000000"},
        {"y below the bound", patched(good, 44, kMinCoordinate - 1),
         "record 5, point 2 (-1, -1000001) lies outside -1000000 to 1000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto document = busyDocument();
        const auto before = busyDocument();
        const FileStatus status = readBytes(*document, c.bytes);
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.reason(), c.reason);
        EXPECT_TRUE(sameState(*document, *before));
    }
}

// Hands out `bytes`, then fails as a device does; the stream turns the throw into badbit.
class FailingDeviceBuffer : public std::streambuf {
public:
    explicit FailingDeviceBuffer(std::string bytes) : bytes_(std::move(bytes)) {}

protected:
    int_type underflow() override {
        if (served_) {
            throw std::runtime_error("device error");
        }
        served_ = true;
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
        return traits_type::to_int_type(bytes_[0]);
    }

private:
    std::string bytes_;
    bool served_ = false;
};

TEST(VectorFileTest, ReadErrorIsNotBlamedOnTheFile) {
    FailingDeviceBuffer buffer(slotFiveFile().substr(0, 30));
    std::istream in(&buffer);
    auto document = busyDocument();
    EXPECT_EQ(document->readFrom(in).reason(), "read error inside record 5");
    EXPECT_TRUE(sameState(*document, *busyDocument()));
}

TEST(VectorFileTest, WriteRefusesDocumentsTheReaderWouldRefuse) {
    const struct {
        const char* name;
        VectorLine line;
        std::string reason;
    } cases[] = {
        {"negative count", {.count = -1}, "record 9 has point count -1 (allowed 0 to 200)"},
        {"count 201", {.count = 201}, "record 9 has point count 201 (allowed 0 to 200)"},
        {"x beyond the bound",
         {.count = 2, .points = {Point{0, 0}, Point{kMinCoordinate - 1, 5}}},
         "record 9, point 1 (-1000001, 5) lies outside -1000000 to 1000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto document = slotFiveDocument();
        document->lines[9] = c.line;
        std::ostringstream out(std::ios::binary);
        const FileStatus status = document->writeTo(out);
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.reason(), c.reason);
        EXPECT_TRUE(out.str().empty()) << "a refused document must write nothing";
    }
}

// Accepts `capacity` bytes, then fails every write, as a full disk does.
class FullDiskBuffer : public std::streambuf {
public:
    explicit FullDiskBuffer(std::streamsize capacity) : capacity_(capacity) {}

protected:
    std::streamsize xsputn(const char*, std::streamsize count) override {
        const std::streamsize taken = std::min(count, capacity_);
        capacity_ -= taken;
        return taken;
    }
    int_type overflow(int_type ch) override {
        return xsputn(nullptr, 1) == 1 ? traits_type::not_eof(ch) : traits_type::eof();
    }

private:
    std::streamsize capacity_;
};

TEST(VectorFileTest, WriteErrorsAreReported) {
    for (const std::streamsize capacity : {0, 20, 823}) {
        SCOPED_TRACE(capacity);
        FullDiskBuffer buffer(capacity);
        std::ostream out(&buffer);
        const FileStatus status = slotFiveDocument()->writeTo(out);
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.reason(), "write error");
    }
}

// Here the failure only shows when the stream's buffer is flushed.
TEST(VectorFileTest, WriteErrorOnAFullDeviceIsReported) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    std::ofstream out("/dev/full", std::ios::binary);
    ASSERT_TRUE(out.is_open());
    EXPECT_EQ(slotFiveDocument()->writeTo(out).reason(), "write error");
}

}  // namespace
}  // namespace penmoji
