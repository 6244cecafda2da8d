// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to VectorSet::readFrom. Built as a libFuzzer target when fuzzing is
// enabled, and in every build linked with corpus_runner.cpp to replay the checked-in corpus.
//
// Beyond not crashing, every input must end in one of two ways: refused, with the document
// exactly as it was; or accepted, with a document that writes back the file's first
// 800 + 8 * points bytes unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>

#include "../document/document_test_util.h"
#include "document/vector_set.h"

namespace {

using penmoji::fixtures::busyDocument;
using penmoji::fixtures::fileBytes;
using penmoji::fixtures::sameState;

// Reads straight from the fuzzer's buffer, which holds exactly `size` bytes, so that
// AddressSanitizer sees any read past the end of the file.
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(const std::uint8_t* data, std::size_t size) {
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
        setg(begin, begin, begin + size);
    }
};

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "vector file fuzz target: %s\n", what);
        std::abort();
    }
}

// Both live for the whole run: a fresh 640 KB document per input would make the fuzzer spend
// its time allocating rather than reading.
const penmoji::VectorSet& reference() {
    static const auto document = busyDocument();
    return *document;
}

penmoji::VectorSet& scratch() {
    static const auto document = busyDocument();
    return *document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    penmoji::VectorSet& document = scratch();
    MemoryBuffer buffer(data, size);
    std::istream in(&buffer);
    const penmoji::FileStatus status = document.readFrom(in);

    if (!status.ok()) {
        require(!status.reason().empty(), "refusal without a reason");
        require(sameState(document, reference()), "refused file changed the document");
        return 0;
    }
    std::size_t points = 0;
    for (const penmoji::VectorLine& line : document.lines) {
        points += static_cast<std::size_t>(line.count);
    }
    const std::size_t used = 800 + 8 * points;
    require(used <= size, "accepted more points than the file holds");
    const std::string_view head(reinterpret_cast<const char*>(data), used);
    require(fileBytes(document) == head, "accepted file does not write back byte-identical");
    document = reference();
    return 0;
}
