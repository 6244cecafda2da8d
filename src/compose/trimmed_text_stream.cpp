#include "compose/trimmed_text_stream.h"

#include <string_view>

namespace penmoji {
namespace {

constexpr std::string_view kEmptyRow = "\x81\x40\r\n";

}  // namespace

std::streamsize LeadingEmptyRowsDropper::xsputn(const char* bytes, std::streamsize count) {
    std::streamsize used = 0;
    // A row ends at CR LF; no Shift_JIS trail byte is either, so a row's end is never mistaken.
    while (leading_ && used < count) {
        row_ += bytes[used++];
        if (!row_.ends_with("\r\n")) {
            continue;
        }
        if (row_ == kEmptyRow) {
            emptyRowHeld_ = true;
        } else {
            out_.write(row_.data(), static_cast<std::streamsize>(row_.size()));
            leading_ = false;
        }
        row_.clear();
    }
    if (used < count) {
        out_.write(bytes + used, count - used);
    }
    return out_ ? count : 0;
}

LeadingEmptyRowsDropper::int_type LeadingEmptyRowsDropper::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

int LeadingEmptyRowsDropper::sync() {
    return out_.flush() ? 0 : -1;
}

bool LeadingEmptyRowsDropper::finish() {
    if (leading_) {
        // A last row without a line break follows the empty ones, which then all go.
        const std::string_view rest = !row_.empty()   ? std::string_view(row_)
                                      : emptyRowHeld_ ? kEmptyRow
                                                      : std::string_view();
        out_.write(rest.data(), static_cast<std::streamsize>(rest.size()));
        row_.clear();
        leading_ = false;
    }
    return static_cast<bool>(out_);
}

}  // namespace penmoji
