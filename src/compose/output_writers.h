// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string_view>

#include "document/file_status.h"

namespace penmoji {

enum class OutputFormat { PlainText, HtmlPage };

// The HTML page for the extension "html" in any letter case (without the dot), plain text for
// every other extension.
OutputFormat outputFormatFor(std::string_view extension);

// Whether plain text closes with the NUL byte that the editor's files carry; text for a terminal
// goes without it.
enum class TextEnd { Nul, Bare };

// The charset an HTML page declares: its bytes are Shift_JIS unless converted on the way out.
inline constexpr std::string_view kShiftJisCharset = "Shift_JIS";

// Writes rendered text in `format` while it is being made, keeping no copy of it: the page head
// goes out on construction, whatever is written to body() passes on (as the page's body for
// HtmlPage: the same bytes writeHtmlPage would write, however the text is split), and finish()
// writes the end (the NUL, or the page's tail) and flushes.
class RenderedTextStream {
public:
    RenderedTextStream(std::ostream& out, OutputFormat format, TextEnd end = TextEnd::Nul,
                       std::string_view charset = kShiftJisCharset);
    ~RenderedTextStream();
    RenderedTextStream(const RenderedTextStream&) = delete;
    RenderedTextStream& operator=(const RenderedTextStream&) = delete;

    std::ostream& body() { return htmlBody_ ? *htmlStream_ : out_; }
    // A failing stream, before or now, is reported.
    FileStatus finish();

private:
    class HtmlBody;

    std::ostream& out_;
    OutputFormat format_;
    TextEnd end_;
    std::unique_ptr<HtmlBody> htmlBody_;
    std::unique_ptr<std::ostream> htmlStream_;
};

// The text as it is, then one NUL byte.
void writePlainText(std::string_view text, std::ostream& out);
// The page around the text: CR LF becomes "<br>", "<" and ">" become entities, every other
// byte passes unchanged.
void writeHtmlPage(std::string_view text, std::ostream& out);

// Writes the rendered text in `format` and flushes; a failing stream is reported.
FileStatus writeRenderedText(std::ostream& out, std::string_view text, OutputFormat format);
// Replaces the file at `path` with the rendered text in `format`: written beside it and
// renamed into place, so a failed write leaves the old file as it was.
FileStatus saveRenderedText(const std::filesystem::path& path, std::string_view text,
                            OutputFormat format);

}  // namespace penmoji
