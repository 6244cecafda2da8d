// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "compose/unbuffered_filter.h"

namespace penmoji {

// Passes rendered Shift_JIS text on to `out` without its empty rows at the top and at the
// bottom, as dropEmptyRows does to the whole text, while the text is made. It holds the row it
// is reading only while that row may still be empty, and counts the empty rows after the art
// until a row with a character shows that they were inside it.
class EmptyRowsDropper final : public UnbufferedFilter {
public:
    explicit EmptyRowsDropper(std::ostream& out) : out_(out) {}

    // Writes what is still held at the end of the text: a text of empty rows keeps one.
    bool finish();

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    // A row with a character starts: the empty rows held before it belong to the art, unless
    // none has been written yet.
    void startArtRow();

    std::ostream& out_;
    bool artSeen_ = false;
    bool inArtRow_ = false;  // the rest of the current row goes straight on
    std::size_t emptyRowsHeld_ = 0;
    std::string row_;  // the start of the current row, while it may still be an empty one
};

}  // namespace penmoji
