// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>

namespace penmoji {

// Why a file could not be read or written, for callers that act on the cause.
enum class FileError {
    None,
    CannotOpen,  // the file could not be opened or created (missing, no permission, a directory)
    Damaged,     // its contents break the format's rules (or would, for a document being saved)
    ReadError,   // the device failed while reading
    WriteError,  // the device failed while writing, flushing, closing or replacing
};

// Outcome of reading or writing a file: success, or failure with its cause and a one-line
// English reason for logs and the command-line renderer.
class [[nodiscard]] FileStatus {
public:
    static FileStatus success() { return FileStatus(FileError::None, {}); }
    static FileStatus failure(FileError error, std::string reason) {
        return FileStatus(error, std::move(reason));
    }

    bool ok() const { return error_ == FileError::None; }
    FileError error() const { return error_; }
    // Empty on success.
    const std::string& reason() const { return reason_; }

private:
    FileStatus(FileError error, std::string reason) : error_(error), reason_(std::move(reason)) {}

    FileError error_;
    std::string reason_;
};

}  // namespace penmoji
