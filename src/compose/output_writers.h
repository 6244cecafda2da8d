#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "document/file_status.h"

namespace penmoji {

enum class OutputFormat { PlainText, HtmlPage };

// The HTML page for the extension "html" in any letter case (without the dot), plain text for
// every other extension.
OutputFormat outputFormatFor(std::string_view extension);

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
