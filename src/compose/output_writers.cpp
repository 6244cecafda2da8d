// SPDX-License-Identifier: MIT
#include "compose/output_writers.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>

#include "compose/unbuffered_filter.h"
#include "document/atomic_file.h"

namespace penmoji {
namespace {

// "ＭＳ Ｐゴシック" in Shift_JIS.
constexpr std::string_view kFontFace =
    "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

// The page's lines before the one that declares its charset, and after it.
constexpr std::string_view kPageStart[] = {
    "<!doctype html public \"-//W3C//DTD HTML 4.01 Transitional//EN\">",
    "<HTML lang=\"ja-JP\">",
    "<head>",
};
constexpr std::string_view kPageHead[] = {
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

// Passes the text on to the page: CR (with the LF after it) becomes "<br>", "<" and ">" become
// entities. Unbuffered: every write goes straight on, so the stream holds no text of its own.
class RenderedTextStream::HtmlBody final : public UnbufferedFilter {
public:
    explicit HtmlBody(std::ostream& out) : out_(out) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        const std::string_view text(bytes, static_cast<std::size_t>(count));
        std::size_t plainFrom = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::string_view replacement = replacementFor(text[i]);
            if (replacement.data() == nullptr) {
                continue;
            }
            out_.write(text.data() + plainFrom, static_cast<std::streamsize>(i - plainFrom));
            out_.write(replacement.data(), static_cast<std::streamsize>(replacement.size()));
            plainFrom = i + 1;
        }
        out_.write(text.data() + plainFrom, static_cast<std::streamsize>(text.size() - plainFrom));
        return out_ ? count : 0;
    }

    int sync() override { return out_.flush() ? 0 : -1; }

private:
    // What `c` becomes: nothing (an empty view) for the LF of a CR LF, a view without data for
    // a byte that passes unchanged.
    std::string_view replacementFor(char c) {
        const bool afterCr = afterCr_;
        afterCr_ = c == '\r';
        switch (c) {
            case '\r':
                return "<br>";
            case '\n':
                return afterCr ? std::string_view("") : std::string_view();
            case '<':
                return "&lt;";
            case '>':
                return "&gt;";
            default:
                return {};
        }
    }

    std::ostream& out_;
    bool afterCr_ = false;
};

RenderedTextStream::RenderedTextStream(std::ostream& out, OutputFormat format, TextEnd end,
                                       std::string_view charset)
    : out_(out), format_(format), end_(end) {
    if (format_ != OutputFormat::HtmlPage) {
        return;
    }
    for (std::string_view line : kPageStart) {
        writeLine(out_, line);
    }
    writeLine(out_,
              std::string("   <meta http-equiv=\"Content-Type\" content=\"text/html; charset=")
                  .append(charset)
                  .append("\">"));
    for (std::string_view line : kPageHead) {
        writeLine(out_, line);
    }
    writeLine(out_,
              std::string("<font face=\"").append(kFontFace).append("\" style=\"font-size:16;\">"));
    htmlBody_ = std::make_unique<HtmlBody>(out_);
    htmlStream_ = std::make_unique<std::ostream>(htmlBody_.get());
}

RenderedTextStream::~RenderedTextStream() = default;

FileStatus RenderedTextStream::finish() {
    const bool bodyWritten = !htmlStream_ || *htmlStream_;
    if (format_ == OutputFormat::HtmlPage) {
        for (std::string_view line : kPageTail) {
            writeLine(out_, line);
        }
    } else if (end_ == TextEnd::Nul) {
        out_.put('\0');
    }
    out_.flush();
    return bodyWritten && out_ ? FileStatus::success()
                               : FileStatus::failure(FileError::WriteError, "write error");
}

void writePlainText(std::string_view text, std::ostream& out) {
    RenderedTextStream stream(out, OutputFormat::PlainText);
    stream.body().write(text.data(), static_cast<std::streamsize>(text.size()));
    (void)stream.finish();
}

void writeHtmlPage(std::string_view text, std::ostream& out) {
    RenderedTextStream stream(out, OutputFormat::HtmlPage);
    stream.body().write(text.data(), static_cast<std::streamsize>(text.size()));
    (void)stream.finish();
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
