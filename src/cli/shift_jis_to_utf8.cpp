// SPDX-License-Identifier: MIT
#include "cli/shift_jis_to_utf8.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

namespace penmoji::cli {
namespace {

// Bytes gathered before they are converted and passed on.
constexpr std::size_t kBlockSize = std::size_t{64} << 10;
// No CP932 character takes more than three bytes in UTF-8, and it has at least one.
constexpr std::size_t kMostUtf8PerByte = 3;

}  // namespace

// Closes the descriptor on every way out.
class Utf8ConvertingBuffer::Converter {
public:
    // Plain Shift_JIS would turn 0x5C into a yen sign and lacks the extension rows; the art
    // is drawn in the Windows font, so its code page is the one that matches what was drawn.
    Converter() : handle_(iconv_open("UTF-8", "CP932")), openError_(valid() ? 0 : errno) {}
    ~Converter() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    int openError() const { return openError_; }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
    int openError_;
};

Utf8ConvertingBuffer::Utf8ConvertingBuffer(std::ostream& out)
    : out_(out),
      converter_(std::make_unique<Converter>()),
      pending_(kBlockSize),
      converted_(kBlockSize * kMostUtf8PerByte) {
    if (!converter_->valid()) {
        error_ = std::string("no CP932 converter: ") + std::strerror(converter_->openError());
    }
    setp(pending_.data(), pending_.data() + pending_.size());
}

Utf8ConvertingBuffer::~Utf8ConvertingBuffer() = default;

bool Utf8ConvertingBuffer::convertPending() {
    if (!error_.empty()) {
        return false;
    }
    char* in = pbase();
    std::size_t inLeft = static_cast<std::size_t>(pptr() - pbase());
    char* outPtr = converted_.data();
    std::size_t outLeft = converted_.size();
    const bool failed =
        iconv(converter_->get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
    out_.write(converted_.data(), static_cast<std::streamsize>(outPtr - converted_.data()));
    const auto taken = static_cast<std::size_t>(in - pbase());
    if (failed && errno != EINVAL) {
        error_ = "invalid Shift_JIS sequence at byte " + std::to_string(consumed_ + taken);
        return false;
    }
    // An incomplete character moves to the front to meet the rest of its bytes.
    consumed_ += taken;
    std::copy(in, in + inLeft, pending_.data());
    setp(pending_.data(), pending_.data() + pending_.size());
    pbump(static_cast<int>(inLeft));
    return static_cast<bool>(out_);
}

Utf8ConvertingBuffer::int_type Utf8ConvertingBuffer::overflow(int_type c) {
    if (!convertPending()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int Utf8ConvertingBuffer::sync() {
    return convertPending() && out_.flush() ? 0 : -1;
}

bool Utf8ConvertingBuffer::finish() {
    if (!convertPending()) {
        return false;
    }
    if (pptr() != pbase()) {
        error_ = "incomplete Shift_JIS sequence at byte " + std::to_string(consumed_);
        return false;
    }
    return static_cast<bool>(out_.flush());
}

Conversion shiftJisToUtf8(std::string_view text) {
    std::ostringstream out;
    Utf8ConvertingBuffer converter(out);
    std::ostream in(&converter);
    in.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!converter.finish()) {
        return Conversion{false, {}, converter.error()};
    }
    return Conversion{true, std::move(out).str(), {}};
}

}  // namespace penmoji::cli
