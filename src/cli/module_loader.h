// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace penmoji::cli {

// One of penmoji-render's modules, by its file name and its entry function.
struct ModuleSpec {
    std::string_view fileName;  // "interchange.so"
    const char* entry;          // the exported function that returns the module's table
};

// A module's entry function, or why it could not be loaded: one line naming the module's file
// and the package that installs it.
struct LoadedEntry {
    void* entry = nullptr;
    std::string error;
};

// A module's table, or why there is none.
template <typename Table>
struct LoadedModule {
    const Table* table = nullptr;
    std::string error;
};

// The folder the modules are looked for in: beside the program, where the build tree and the
// installation alike put them relative to it.
std::filesystem::path moduleFolder();

// Loads the module from moduleFolder() and finds its entry function. The module stays loaded
// until the program ends.
LoadedEntry loadModuleEntry(const ModuleSpec& spec);

// Why a module built as `version` is refused, or empty when it is this program's own.
std::string checkModuleVersion(const ModuleSpec& spec, const char* version);

// Loads the module and takes its table, whose `version` must be this program's.
template <typename Table>
LoadedModule<Table> loadModule(const ModuleSpec& spec) {
    const LoadedEntry loaded = loadModuleEntry(spec);
    if (loaded.entry == nullptr) {
        return {nullptr, loaded.error};
    }
    const Table* table = reinterpret_cast<const Table* (*)()>(loaded.entry)();
    std::string error = checkModuleVersion(spec, table != nullptr ? table->version : nullptr);
    return error.empty() ? LoadedModule<Table>{table, {}} : LoadedModule<Table>{nullptr, error};
}

}  // namespace penmoji::cli
