#pragma once

#include <string>
#include <string_view>

namespace penmoji::cli {

// The converted text, or why it could not be converted.
struct Conversion {
    bool ok = false;
    std::string text;
    std::string error;
};

// Converts Shift_JIS as the output font's code page has it (CP932, with the NEC and IBM
// extension characters) to UTF-8. NUL bytes pass through as NUL. An invalid or incomplete
// sequence fails the whole conversion, naming its byte offset.
Conversion shiftJisToUtf8(std::string_view text);

}  // namespace penmoji::cli
