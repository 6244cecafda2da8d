// SPDX-License-Identifier: MIT
#include "cli/module_loader.h"

#include <dlfcn.h>

#include <system_error>

namespace penmoji::cli {
namespace {

// The program's own path: modules are found relative to it, never through the library search
// path, so that an installation elsewhere or the build tree finds its own.
std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::string missingModule(const std::filesystem::path& file, std::string_view why) {
    return "the module " + file.string() + " " + std::string(why) +
           "; install the Debian package " + PENMOJI_PACKAGE + " (apt install " + PENMOJI_PACKAGE +
           ")";
}

}  // namespace

std::filesystem::path moduleFolder() {
    const std::filesystem::path program = programFolder();
    // Without /proc (in a bare chroot) the installed folder, never one relative to the working
    // directory.
    if (program.empty()) {
        return PENMOJI_INSTALLED_MODULE_FOLDER;
    }
    return (program / PENMOJI_MODULE_FOLDER).lexically_normal();
}

LoadedEntry loadModuleEntry(const ModuleSpec& spec) {
    const std::filesystem::path file = moduleFolder() / spec.fileName;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return {nullptr, missingModule(file, "is not installed")};
    }
    // Bound now, so that a library the module lacks is told here rather than mid-run.
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        return {nullptr,
                missingModule(file, "cannot be loaded (" +
                                        std::string(reason != nullptr ? reason : "unknown") + ")")};
    }
    void* entry = dlsym(handle, spec.entry);
    if (entry == nullptr) {
        return {nullptr, missingModule(file, "is not a module of penmoji-render")};
    }
    return {entry, {}};
}

std::string checkModuleVersion(const ModuleSpec& spec, const char* version) {
    if (version != nullptr && std::string_view(version) == PENMOJI_VERSION) {
        return {};
    }
    return missingModule(moduleFolder() / spec.fileName,
                         "belongs to another version of penmoji-render");
}

}  // namespace penmoji::cli
