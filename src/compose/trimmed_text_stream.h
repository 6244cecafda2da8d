#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace penmoji {

// Passes rendered Shift_JIS text on to `out` without its leading empty rows, as
// dropLeadingEmptyRows does to the whole text, while the text is made: it holds at most the
// row it is reading until that row shows whether it is empty, and passes everything after the
// first row with a character straight on.
class LeadingEmptyRowsDropper final : public std::streambuf {
public:
    explicit LeadingEmptyRowsDropper(std::ostream& out) : out_(out) {}

    // Writes what is still held at the end of the text: an empty text keeps one empty row.
    bool finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    std::ostream& out_;
    bool leading_ = true;
    bool emptyRowHeld_ = false;
    std::string row_;
};

}  // namespace penmoji
