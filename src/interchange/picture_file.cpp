// SPDX-License-Identifier: MIT
#include "interchange/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstdint>

#include "document/posix_file.h"

namespace penmoji {
namespace {

// Far beyond any photograph's file; the pixels are bounded apart from this.
constexpr std::uintmax_t kMostPictureFileBytes = std::uintmax_t{512} << 20;

// The bytes the decoded pixels take at four bytes a pixel, as Qt reckons its limit.
bool exceedsAllocationLimit(QSize size) {
    const int limitMegabytes = QImageReader::allocationLimit();
    if (limitMegabytes <= 0 || !size.isValid()) {
        return false;
    }
    const auto bytes =
        static_cast<std::uint64_t>(size.width()) * static_cast<std::uint64_t>(size.height()) * 4;
    return bytes > (static_cast<std::uint64_t>(limitMegabytes) << 20);
}

}  // namespace

PictureRead readPictureFile(const std::filesystem::path& path) {
    PictureRead result;
    std::string bytes;
    if (const FileStatus status = posix::readRegularFile(path, bytes, kMostPictureFileBytes);
        !status.ok()) {
        result.error = status.reason();
        return result;
    }
    QByteArray data = QByteArray::fromStdString(bytes);
    bytes = {};
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Photographs come turned as the camera held them.
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (exceedsAllocationLimit(size)) {
        result.error = "cannot read the picture: too large (" + std::to_string(size.width()) +
                       " × " + std::to_string(size.height()) + " pixels)";
        return result;
    }
    result.image = reader.read();
    if (result.image.isNull()) {
        result.error = "cannot read the picture: " + reader.errorString().toStdString();
    }
    return result;
}

}  // namespace penmoji
