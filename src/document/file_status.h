#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace penmoji {

// What the editor tells the user about any vector file it could not open or save, whatever the
// cause (UTF-8). The precise cause travels in FileStatus::reason() for logs and the
// command-line renderer.
inline constexpr std::string_view kCannotOpenFileMessage = "ファイルが開けません";

// Outcome of reading or writing a file: success, or failure with a one-line English reason.
class [[nodiscard]] FileStatus {
public:
    static FileStatus success() { return FileStatus(true, {}); }
    static FileStatus failure(std::string reason) { return FileStatus(false, std::move(reason)); }

    bool ok() const { return ok_; }
    // Empty on success.
    const std::string& reason() const { return reason_; }

private:
    FileStatus(bool ok, std::string reason) : ok_(ok), reason_(std::move(reason)) {}

    bool ok_;
    std::string reason_;
};

}  // namespace penmoji
