// SPDX-License-Identifier: MIT
#include "compose/trimmed_text_stream.h"

#include <algorithm>
#include <string_view>

namespace penmoji {
namespace {

constexpr std::string_view kEmptyRow = "\x81\x40\r\n";

}  // namespace

void EmptyRowsDropper::startArtRow() {
    if (artSeen_) {
        for (; emptyRowsHeld_ > 0; --emptyRowsHeld_) {
            out_.write(kEmptyRow.data(), static_cast<std::streamsize>(kEmptyRow.size()));
        }
    }
    emptyRowsHeld_ = 0;
    artSeen_ = true;
    out_.write(row_.data(), static_cast<std::streamsize>(row_.size()));
    row_.clear();
}

std::streamsize EmptyRowsDropper::xsputn(const char* bytes, std::streamsize count) {
    const char* at = bytes;
    const char* const end = bytes + count;
    // A row ends at CR LF; no Shift_JIS trail byte is either, so a row's end is never mistaken.
    while (at < end) {
        if (inArtRow_) {
            const char* const lineFeed = std::find(at, end, '\n');
            const char* const next = lineFeed == end ? end : lineFeed + 1;
            out_.write(at, next - at);
            inArtRow_ = lineFeed == end;
            at = next;
            continue;
        }
        row_ += *at++;
        if (row_ == kEmptyRow) {
            ++emptyRowsHeld_;
            row_.clear();
        } else if (!kEmptyRow.starts_with(row_)) {
            const bool rowEnded = row_.back() == '\n';
            startArtRow();
            inArtRow_ = !rowEnded;
        }
    }
    return out_ ? count : 0;
}

int EmptyRowsDropper::sync() {
    return out_.flush() ? 0 : -1;
}

bool EmptyRowsDropper::finish() {
    if (!row_.empty()) {
        // A last row without a line break is art: the empty rows before it stay inside.
        startArtRow();
    } else if (!artSeen_ && emptyRowsHeld_ > 0) {
        out_.write(kEmptyRow.data(), static_cast<std::streamsize>(kEmptyRow.size()));
    }
    emptyRowsHeld_ = 0;
    artSeen_ = true;
    return static_cast<bool>(out_);
}

}  // namespace penmoji
