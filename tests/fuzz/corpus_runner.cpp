// SPDX-License-Identifier: MIT
// Replays files or directories of files through LLVMFuzzerTestOneInput, so that the fuzz corpus
// runs as a plain test without libFuzzer. A property the target checks aborts the run.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << file << '\n';
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        if (fs::is_directory(argv[i])) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i])) {
                files.push_back(entry.path());
            }
        } else {
            files.emplace_back(argv[i]);
        }
        for (const fs::path& file : files) {
            if (!replay(file)) {
                return 1;
            }
            ++replayed;
        }
    }
    // A wrong corpus path would otherwise pass silently.
    if (replayed == 0) {
        std::cerr << "no corpus inputs found\n";
        return 1;
    }
    std::cout << "replayed " << replayed << " inputs\n";
    return 0;
}
