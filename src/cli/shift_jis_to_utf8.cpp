#include "cli/shift_jis_to_utf8.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace penmoji::cli {
namespace {

// Closes the descriptor on every way out.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

Conversion failure(std::string error) {
    return Conversion{false, {}, std::move(error)};
}

}  // namespace

Conversion shiftJisToUtf8(std::string_view text) {
    // Plain Shift_JIS would turn 0x5C into a yen sign and lacks the extension rows; the art
    // is drawn in the Windows font, so its code page is the one that matches what was drawn.
    IconvHandle converter("UTF-8", "CP932");
    if (!converter.valid()) {
        return failure(std::string("no CP932 converter: ") + std::strerror(errno));
    }
    // No CP932 character takes more than three bytes in UTF-8, and it has at least one.
    std::string out(text.size() * 3, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        const auto offset = static_cast<std::size_t>(in - text.data());
        const char* what = errno == EINVAL ? "incomplete" : "invalid";
        return failure(std::string(what) + " Shift_JIS sequence at byte " + std::to_string(offset));
    }
    out.resize(out.size() - outLeft);
    return Conversion{true, std::move(out), {}};
}

}  // namespace penmoji::cli
