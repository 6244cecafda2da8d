// SPDX-License-Identifier: MIT
#include "compose/output_writers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace penmoji {
namespace {

// The text of an empty drawing: one row holding only its leading full-width space.
const std::string kEmptyDrawingText = "\x81\x40\r\n";

std::string pageOf(std::string_view text) {
    std::ostringstream out;
    writeHtmlPage(text, out);
    return out.str();
}

TEST(OutputFormat, HtmlInAnyCaseElsePlainText) {
    for (const char* extension : {"html", "HTML", "Html", "hTmL"}) {
        EXPECT_EQ(outputFormatFor(extension), OutputFormat::HtmlPage) << extension;
    }
    for (const char* extension : {"htm", "txt", "tx", "", "html5", "xhtml"}) {
        EXPECT_EQ(outputFormatFor(extension), OutputFormat::PlainText) << extension;
    }
}

TEST(WritePlainText, TheTextThenOneNul) {
    std::ostringstream out;
    writePlainText(kEmptyDrawingText, out);
    EXPECT_EQ(out.str(), std::string("\x81\x40\x0D\x0A\x00", 5));
}

TEST(WriteHtmlPage, WholePageOfAnEmptyDrawing) {
    const std::string expected =
        "<!doctype html public \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        "<HTML lang=\"ja-JP\">\n"
        "<head>\n"
        "   <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        "   <meta name=\"Author\" content=\"kiri-hasami\">\n"
        "   <meta name=\"GENERATOR\" content=\"Mozilla/4.6 [ja] (WinNT; I)\">\n"
        "   <title>\x83\x79\x83\x93\x83\x82\x83\x57 ver 1.0a</title>\n"
        "</head>\n"
        "\n"
        "<!-- + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + + -->\n"
        "\n"
        "<body text=\"#000000\" bgcolor=\"#fcfcfc\" link=\"#0000ff\" vlink=\"#0000ff\" "
        "alink=\"#0000ff\">\n"
        "\n"
        "<font face=\"\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e\" "
        "style=\"font-size:16;\">\n"
        "\x81\x40<br></font>\n"
        "</body>\n"
        "</html>\n";
    EXPECT_EQ(pageOf(kEmptyDrawingText), expected);
}

TEST(WriteHtmlPage, LineEndsAndAngleBracketsInTheText) {
    const std::string page = pageOf("<a>\rb\r\n&nbsp;\n\x83\x3E");
    const std::size_t body = page.find("font-size:16;\">\n") + 16;
    EXPECT_EQ(page.substr(body), "&lt;a&gt;<br>b<br>&nbsp;\n\x83&gt;</font>\n</body>\n</html>\n");
}

// However the text arrives, the stream writes what the whole-text writers write: a CR LF or
// an entity split between two writes is no different.
TEST(RenderedTextStream, PiecesMakeTheSameOutputAsTheWhole) {
    const std::string text = "\x81\x40<a>\r\n\x81\x40 &nbsp;\r\n\x81\x40\x83\x3E\r\n";
    struct Case {
        OutputFormat format;
        TextEnd end;
    };
    const Case cases[] = {{OutputFormat::PlainText, TextEnd::Nul},
                          {OutputFormat::PlainText, TextEnd::Bare},
                          {OutputFormat::HtmlPage, TextEnd::Nul}};
    for (const Case& c : cases) {
        std::ostringstream whole;
        (void)writeRenderedText(whole, text, c.format);
        std::string expected = whole.str();
        if (c.end == TextEnd::Bare && c.format == OutputFormat::PlainText) {
            expected.pop_back();  // the NUL
        }
        for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{4}, text.size()}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(c.format) << " "
                                            << static_cast<int>(c.end) << " " << piece);
            std::ostringstream out;
            RenderedTextStream stream(out, c.format, c.end);
            for (std::size_t at = 0; at < text.size(); at += piece) {
                stream.body() << std::string_view(text).substr(at, piece);
            }
            EXPECT_TRUE(stream.finish().ok());
            EXPECT_EQ(out.str(), expected);
        }
    }
    std::ostringstream page;
    RenderedTextStream utf8(page, OutputFormat::HtmlPage, TextEnd::Nul, "UTF-8");
    EXPECT_TRUE(utf8.finish().ok());
    EXPECT_NE(page.str().find("content=\"text/html; charset=UTF-8\">\n"), std::string::npos);
}

TEST(WriteRenderedText, AFailingStreamIsReported) {
    std::ofstream closed;  // never opened: every write fails
    EXPECT_FALSE(writeRenderedText(closed, kEmptyDrawingText, OutputFormat::PlainText).ok());
    std::ostringstream fine;
    EXPECT_TRUE(writeRenderedText(fine, kEmptyDrawingText, OutputFormat::HtmlPage).ok());
}

TEST(SaveRenderedText, WritesTheFileOrReportsWhyNot) {
    const auto dir = std::filesystem::temp_directory_path() / "penmoji_output_writers_test";
    std::filesystem::create_directories(dir);
    const auto path = dir / "art.txt";
    ASSERT_TRUE(saveRenderedText(path, kEmptyDrawingText, OutputFormat::PlainText).ok());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              std::string("\x81\x40\r\n\0", 5));
    EXPECT_FALSE(saveRenderedText(dir / "missing" / "art.txt", "x", OutputFormat::PlainText).ok());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace penmoji
