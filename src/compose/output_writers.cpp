#include "compose/output_writers.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>

#include "document/atomic_file.h"

namespace penmoji {
namespace {

// "ＭＳ Ｐゴシック" in Shift_JIS.
constexpr std::string_view kFontFace =
    "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

constexpr std::string_view kPageHead[] = {
    "<!doctype html public \"-//W3C//DTD HTML 4.01 Transitional//EN\">",
    "<HTML lang=\"ja-JP\">",
    "<head>",
    "   <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">",
    "   <meta name=\"Author\" content=\"kiri-hasami\">",
    "   <meta name=\"GENERATOR\" content=\"Mozilla/4.6 [ja] (WinNT; I)\">",
    // "   <title>ペンモジ ver 1.0a</title>" in Shift_JIS.
    "   <title>\x83\x79\x83\x93\x83\x82\x83\x57 ver 1.0a</title>",
    "</head>",
    "",
    "<!-- + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + -->",
    "",
    "<body text=\"#000000\" bgcolor=\"#fcfcfc\" link=\"#0000ff\" vlink=\"#0000ff\" "
    "alink=\"#0000ff\">",
    "",
};

constexpr std::string_view kPageTail[] = {"</font>", "</body>", "</html>"};

void writeLine(std::ostream& out, std::string_view line) {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.put('\n');
}

}  // namespace

OutputFormat outputFormatFor(std::string_view extension) {
    constexpr std::string_view kHtml = "html";
    const bool isHtml =
        std::equal(extension.begin(), extension.end(), kHtml.begin(), kHtml.end(),
                   [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
    return isHtml ? OutputFormat::HtmlPage : OutputFormat::PlainText;
}

void writePlainText(std::string_view text, std::ostream& out) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.put('\0');
}

void writeHtmlPage(std::string_view text, std::ostream& out) {
    for (std::string_view line : kPageHead) {
        writeLine(out, line);
    }
    writeLine(out,
              std::string("<font face=\"").append(kFontFace).append("\" style=\"font-size:16;\">"));
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
            case '\r':
                out << "<br>";
                if (i + 1 < text.size() && text[i + 1] == '\n') {
                    ++i;
                }
                break;
            case '<':
                out << "&lt;";
                break;
            case '>':
                out << "&gt;";
                break;
            default:
                out.put(text[i]);
                break;
        }
    }
    for (std::string_view line : kPageTail) {
        writeLine(out, line);
    }
}

FileStatus writeRenderedText(std::ostream& out, std::string_view text, OutputFormat format) {
    if (format == OutputFormat::HtmlPage) {
        writeHtmlPage(text, out);
    } else {
        writePlainText(text, out);
    }
    out.flush();
    return out ? FileStatus::success() : FileStatus::failure(FileError::WriteError, "write error");
}

FileStatus saveRenderedText(const std::filesystem::path& path, std::string_view text,
                            OutputFormat format) {
    return writeFileAtomically(
        path, [&](std::ostream& out) { return writeRenderedText(out, text, format); });
}

}  // namespace penmoji
