// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace penmoji::cli {

class IconvConverter;

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

// The other way, for text art typed or pasted as UTF-8: the first character without a CP932 code
// fails the whole conversion, naming its byte offset.
Conversion utf8ToShiftJis(std::string_view text);

// A stream buffer that converts the Shift_JIS written to it as shiftJisToUtf8 does and passes
// the UTF-8 on to `out` a block at a time, so that a text of any length needs no more memory
// than a block. A character split between two writes stays whole. The first invalid sequence
// fails every write from then on; finish() converts what is left and tells whether all of it
// converted.
class Utf8ConvertingBuffer final : public std::streambuf {
public:
    explicit Utf8ConvertingBuffer(std::ostream& out);
    ~Utf8ConvertingBuffer() override;
    Utf8ConvertingBuffer(const Utf8ConvertingBuffer&) = delete;
    Utf8ConvertingBuffer& operator=(const Utf8ConvertingBuffer&) = delete;

    // Converts and passes on the rest; a character left incomplete at the end is an error.
    bool finish();
    // Why the conversion failed: the first error, with the byte offset of its sequence.
    const std::string& error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    // Passes on what has been converted; an incomplete character waits for its second byte.
    int sync() override;

private:
    // Converts the pending bytes but for an incomplete last character; false on an error.
    bool convertPending();

    std::ostream& out_;
    std::unique_ptr<IconvConverter> converter_;
    std::vector<char> pending_;
    std::vector<char> converted_;
    // Bytes taken from the start of the text before the pending ones, for error offsets.
    std::size_t consumed_ = 0;
    std::string error_;
};

}  // namespace penmoji::cli
