// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

#include <QString>

namespace penmoji {

// A path as the core's file functions take it, without a detour through the locale.
inline std::filesystem::path toFilePath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace penmoji
