// SPDX-License-Identifier: MIT
#include "compose/mlt_file.h"

#include <ostream>
#include <streambuf>
#include <system_error>

#include "compose/unbuffered_filter.h"
#include "document/atomic_file.h"
#include "document/posix_file.h"

namespace penmoji {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kSeparator = "[SPLIT]";

bool endsWithLineBreak(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

std::string hexByte(unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {'0', 'x', kDigits[byte >> 4], kDigits[byte & 15]};
}

// Passes bytes on, minding the last one: the separator and a page's end depend on it.
class LastByteBuffer final : public UnbufferedFilter {
public:
    explicit LastByteBuffer(std::ostream& out) : out_(out) {}
    bool empty() const { return empty_; }
    bool endsWithLineBreak() const { return !empty_ && isLineBreak(last_); }
    void restart() { empty_ = true; }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        if (count > 0) {
            out_.write(bytes, count);
            last_ = bytes[count - 1];
            empty_ = false;
        }
        return out_ ? count : 0;
    }
    int sync() override { return out_.flush() ? 0 : -1; }

private:
    std::ostream& out_;
    char last_ = 0;
    bool empty_ = true;
};

// Copies the existing file (none when missing) into `out`, refusing one that is not Shift_JIS
// text, then adds the pages that `writePages` writes, each after a separator.
FileStatus appendPages(
    const std::filesystem::path& path,
    const std::function<FileStatus(std::ostream&, LastByteBuffer&)>& writePages) {
    std::error_code error;
    const bool existing = std::filesystem::exists(path, error);
    // Refused before the writer opens it: a FIFO would hold the write up waiting for a reader.
    if (existing) {
        if (FileStatus status = posix::checkRegularFile(path); !status.ok()) {
            return status;
        }
    }
    return writeFileAtomically(path, [&](std::ostream& out) {
        LastByteBuffer tracked(out);
        std::ostream copy(&tracked);
        if (existing) {
            ShiftJisTextCheck check;
            if (FileStatus status = posix::readRegularFileInChunks(
                    path,
                    [&](std::string_view chunk) {
                        check.feed(chunk);
                        copy.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                        return copy ? FileStatus::success()
                                    : FileStatus::failure(FileError::WriteError, "write error");
                    });
                !status.ok()) {
                return status;
            }
            if (const auto refusal = check.refusal()) {
                return FileStatus::failure(FileError::CannotOpen,
                                           "cannot add Shift_JIS pages to " + path.string() +
                                               ": it is not Shift_JIS text (" + *refusal + ")");
            }
        }
        return writePages(copy, tracked);
    });
}

// Starts a page: the separator on a line of its own, unless the file is empty so far.
void startPage(std::ostream& out, const LastByteBuffer& tracked) {
    if (tracked.empty()) {
        return;
    }
    if (!tracked.endsWithLineBreak()) {
        out << kLineBreak;
    }
    out << kSeparator << kLineBreak;
}

// Ends a page with a line break when it has none, so the next separator is on its own line.
void endPage(std::ostream& out, const LastByteBuffer& tracked, bool pageEmpty) {
    if (pageEmpty || !tracked.endsWithLineBreak()) {
        out << kLineBreak;
    }
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
    return appendPages(path, [&](std::ostream& out, LastByteBuffer& tracked) {
        for (const std::string& given : pages) {
            const std::string_view page = std::string_view(given).substr(0, given.find('\0'));
            startPage(out, tracked);
            out.write(page.data(), static_cast<std::streamsize>(page.size()));
            endPage(out, tracked, page.empty());
        }
        out.flush();
        return out ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, "write error");
    });
}

FileStatus appendStreamedPageToMltFile(const std::filesystem::path& path,
                                       const std::function<FileStatus(std::ostream&)>& writePage) {
    return appendPages(path, [&](std::ostream& out, LastByteBuffer& tracked) {
        startPage(out, tracked);
        tracked.restart();
        if (FileStatus status = writePage(out); !status.ok()) {
            return status;
        }
        endPage(out, tracked, tracked.empty());
        out.flush();
        return out ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, "write error");
    });
}

void ShiftJisTextCheck::feed(std::string_view bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!refusal_) {
            if (byte == 0) {
                refusal_ = "it holds NUL bytes: binary data or UTF-16 text";
            } else if (offset_ == 0 && (byte == 0xFF || byte == 0xFE) && bytes.size() > 1 &&
                       (static_cast<unsigned char>(bytes[1]) ^ byte) == 0x01) {
                refusal_ = "it is UTF-16 text";
            } else if (inDoubleByte_) {
                if (byte < 0x40 || byte == 0x7F || byte > 0xFC) {
                    refusal_ = "byte " + hexByte(byte) + " at " + std::to_string(offset_) +
                               " cannot follow a lead byte";
                }
                inDoubleByte_ = false;
            } else if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
                inDoubleByte_ = true;
            } else if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD) {
                refusal_ =
                    "byte " + hexByte(byte) + " at " + std::to_string(offset_) + " is no character";
            }
        }
        if (utf8_) {
            if (utf8Due_ > 0) {
                utf8_ = (byte & 0xC0) == 0x80;
                --utf8Due_;
            } else if (byte >= 0x80) {
                beyondAscii_ = true;
                utf8Due_ = byte >= 0xC2 && byte <= 0xDF   ? 1
                           : byte >= 0xE0 && byte <= 0xEF ? 2
                           : byte >= 0xF0 && byte <= 0xF4 ? 3
                                                          : -1;
                utf8_ = utf8Due_ > 0;
            }
        }
        ++offset_;
    }
}

std::optional<std::string> ShiftJisTextCheck::refusal() const {
    // Japanese text in UTF-8 is often also a valid byte sequence of Shift_JIS.
    if (utf8_ && utf8Due_ == 0 && beyondAscii_) {
        return "it is UTF-8 text";
    }
    if (refusal_) {
        return refusal_;
    }
    if (inDoubleByte_) {
        return "it ends inside a character";
    }
    return std::nullopt;
}

}  // namespace penmoji
