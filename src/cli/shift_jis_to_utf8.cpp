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

// Plain Shift_JIS would turn 0x5C into a yen sign and lacks the extension rows; the art is drawn
// in the Windows font, so its code page is the one that matches what was drawn.
constexpr char kArtCodePage[] = "CP932";

// An iconv descriptor, closed on every way out.
class IconvConverter {
public:
    IconvConverter(const char* to, const char* from)
        : handle_(iconv_open(to, from)), openError_(valid() ? 0 : errno) {}
    ~IconvConverter() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    int openError() const { return openError_; }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
    int openError_;
};

Utf8ConvertingBuffer::Utf8ConvertingBuffer(std::ostream& out)
    : out_(out),
      converter_(std::make_unique<IconvConverter>("UTF-8", kArtCodePage)),
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

Conversion utf8ToShiftJis(std::string_view text) {
    const IconvConverter converter(kArtCodePage, "UTF-8");
    if (!converter.valid()) {
        return Conversion{
            false, {}, std::string("no CP932 converter: ") + std::strerror(converter.openError())};
    }
    // No character takes more bytes in CP932 than in UTF-8.
    std::string out(text.size(), '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return Conversion{false,
                          {},
                          "the character at byte " + std::to_string(text.size() - inLeft) +
                              " has no Shift_JIS code"};
    }
    out.resize(out.size() - outLeft);
    return Conversion{true, std::move(out), {}};
}

}  // namespace penmoji::cli
