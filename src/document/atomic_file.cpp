#include "document/atomic_file.h"

#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace penmoji {
namespace {

namespace fs = std::filesystem;

// A hidden name beside the target, so that the final rename stays within one file system and
// a leftover from a crash is not mistaken for a document. The random part keeps two saves of the
// same file (from two running editors) from sharing a temporary.
std::optional<fs::path> pickTemporaryPath(const fs::path& target) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate = target.parent_path() / ("." + target.filename().string() + "." +
                                                           std::to_string(random()) + ".tmp");
        std::error_code error;
        if (!fs::exists(candidate, error) && !error) {
            return candidate;
        }
    }
    return std::nullopt;
}

// The replacement should be as readable to others as the file it replaces; failing to copy the
// permissions is no reason to refuse the save.
void copyPermissions(const fs::path& from, const fs::path& to) {
    std::error_code error;
    const fs::file_status status = fs::status(from, error);
    if (!error && fs::is_regular_file(status)) {
        fs::permissions(to, status.permissions(), error);
    }
}

FileStatus writeAndClose(const fs::path& path,
                         const std::function<FileStatus(std::ostream&)>& write) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return FileStatus::failure(FileError::CannotOpen, "cannot create " + path.string());
    }
    if (FileStatus status = write(out); !status.ok()) {
        return status;
    }
    out.flush();
    if (!out) {
        return FileStatus::failure(FileError::WriteError, "write error on " + path.string());
    }
    out.close();
    if (!out) {
        return FileStatus::failure(FileError::WriteError, "cannot close " + path.string());
    }
    return FileStatus::success();
}

}  // namespace

FileStatus writeFileAtomically(const fs::path& target,
                               const std::function<FileStatus(std::ostream&)>& write) {
    if (!target.has_filename()) {
        return FileStatus::failure(FileError::CannotOpen, "no file name in " + target.string());
    }
    const std::optional<fs::path> temporary = pickTemporaryPath(target);
    if (!temporary) {
        return FileStatus::failure(FileError::CannotOpen,
                                   "cannot choose a temporary file beside " + target.string());
    }
    FileStatus status = writeAndClose(*temporary, write);
    if (status.ok()) {
        copyPermissions(target, *temporary);
        std::error_code error;
        fs::rename(*temporary, target, error);
        if (error) {
            status =
                FileStatus::failure(FileError::WriteError,
                                    "cannot replace " + target.string() + ": " + error.message());
        }
    }
    if (!status.ok()) {
        std::error_code ignored;
        fs::remove(*temporary, ignored);
    }
    return status;
}

}  // namespace penmoji
