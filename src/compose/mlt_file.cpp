#include "compose/mlt_file.h"

#include <ostream>
#include <system_error>

#include "document/atomic_file.h"
#include "document/posix_file.h"

namespace penmoji {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSeparator = "[SPLIT]";

bool endsWithLineBreak(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// The whole file, or nothing read and a failure. A missing file reads as empty.
FileStatus readExisting(const std::filesystem::path& path, std::string& bytes) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        bytes.clear();
        return FileStatus::success();
    }
    return posix::readRegularFile(path, bytes, SIZE_MAX);
}

}  // namespace

std::string appendMltPages(std::string_view existing, std::span<const std::string> pages) {
    std::string file(existing);
    for (const std::string& given : pages) {
        const std::string_view page = std::string_view(given).substr(0, given.find('\0'));
        if (!file.empty()) {
            if (!endsWithLineBreak(file)) {
                file += kLineBreak;
            }
            file += kSeparator;
            file += kLineBreak;
        }
        file += page;
        if (!endsWithLineBreak(page)) {
            file += kLineBreak;
        }
    }
    return file;
}

FileStatus appendToMltFile(const std::filesystem::path& path, std::span<const std::string> pages) {
    std::string existing;
    if (FileStatus status = readExisting(path, existing); !status.ok()) {
        return status;
    }
    const std::string bytes = appendMltPages(existing, pages);
    return writeFileAtomically(path, [&](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return out ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, "write error");
    });
}

}  // namespace penmoji
