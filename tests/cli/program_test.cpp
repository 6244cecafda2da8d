// SPDX-License-Identifier: MIT
// Runs the built penmoji-render as a user would, through the shell.

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "compose/output_writers.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/render_settings.h"
#include "compose/trimmed_drawing.h"
#include "document/placed_text.h"
#include "document/placed_text_file.h"
#include "document/vector_file.h"
#include "render/glyph_box_list.h"

namespace penmoji {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// The sanitizers reserve more address space than any limit the memory test sets.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Starts the program without a shell, so that signals reach it alone; standard output and
// standard error go to files. `addressSpace` limits its memory when given.
pid_t startProgram(const std::vector<std::string>& arguments, const fs::path& out,
                   const fs::path& err, std::optional<rlim_t> addressSpace = std::nullopt) {
    std::vector<char*> argv;
    std::string program = PENMOJI_RENDER;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        if (addressSpace) {
            const rlimit limit{*addressSpace, *addressSpace};
            setrlimit(RLIMIT_AS, &limit);
        }
        // As started from a terminal: a test run that is itself a background job of a shell
        // would otherwise hand on SIGINT ignored, which the program rightly keeps ignoring.
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// A drawing that takes minutes and makes gigabytes of text: 333 full-height columns, 3,000
// pixels apart.
std::unique_ptr<VectorSet> endlessDrawing() {
    auto vectors = std::make_unique<VectorSet>();
    for (int column = 0; column < 333; ++column) {
        VectorLine& line = vectors->lines[static_cast<std::size_t>(column / 100)];
        line.points[static_cast<std::size_t>(line.count++)] = {column * 3000, 0};
        line.points[static_cast<std::size_t>(line.count++)] = {column * 3000, 1'000'000};
    }
    return vectors;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps apart the same test run from several checkouts at once.
        dir_ = fs::path(testing::TempDir()) /
               ("penmoji-cli-" + std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);

        // A few straight lines and a polyline, enough to give rows with characters and gaps.
        drawing_ = std::make_unique<VectorSet>();
        const Point lines[][3] = {{{10, 10}, {90, 10}, {90, 60}},
                                  {{20, 30}, {60, 50}, {20, 70}},
                                  {{100, 5}, {100, 70}, {100, 70}}};
        for (std::size_t i = 0; i < std::size(lines); ++i) {
            VectorLine& line = drawing_->lines[i];
            line.count = 3;
            std::copy(std::begin(lines[i]), std::end(lines[i]), line.points.begin());
        }
        ASSERT_TRUE(saveVectorFile(path("drawing.pmj"), *drawing_).ok());
    }

    void TearDown() override { fs::remove_all(dir_); }

    fs::path path(const std::string& name) const { return dir_ / name; }

    // `arguments` is shell text; paths in it must be quoted by the caller.
    Outcome runProgram(const std::string& arguments, const fs::path& input = "/dev/null") const {
        return runProgramAt(PENMOJI_RENDER, arguments, input);
    }

    Outcome runProgramAt(const fs::path& program, const std::string& arguments,
                         const fs::path& input = "/dev/null") const {
        const fs::path out = path("stdout");
        const fs::path err = path("stderr");
        const std::string command = quoted(program) + " " + arguments + " >" + quoted(out) + " 2>" +
                                    quoted(err) + " <" + quoted(input);
        const int raw = std::system(command.c_str());
        Outcome result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readBytes(out);
        result.err = readBytes(err);
        return result;
    }

    // What the editor renders for a drawing, with the editor's defaults.
    static std::string expectedText(const VectorSet& drawing) {
        NoProgress progress;
        RandomGenerator random;
        return renderText(drawing, RenderSettings{}, random, progress)->text;
    }
    std::string expectedText() const { return expectedText(*drawing_); }

    static std::string expectedFile(const VectorSet& drawing, OutputFormat format) {
        std::ostringstream out;
        EXPECT_TRUE(writeRenderedText(out, expectedText(drawing), format).ok());
        return out.str();
    }
    std::string expectedFile(OutputFormat format) const { return expectedFile(*drawing_, format); }

    // The drawing moved right and down by `step` pixels, saved as `name`: each gives other text.
    std::unique_ptr<VectorSet> saveShiftedDrawing(const std::string& name, int step) const {
        auto shifted = std::make_unique<VectorSet>(*drawing_);
        for (VectorLine& line : shifted->lines) {
            for (int i = 0; i < line.count; ++i) {
                line.points[static_cast<std::size_t>(i)].x += 7 * step;
                line.points[static_cast<std::size_t>(i)].y += 16 * step;
            }
        }
        EXPECT_TRUE(saveVectorFile(path(name), *shifted).ok());
        return shifted;
    }

    fs::path dir_;
    std::unique_ptr<VectorSet> drawing_;
};

TEST_F(ProgramTest, StandardOutputGetsTheTextWithoutNul) {
    const Outcome run = runProgram(quoted(path("drawing.pmj")));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, expectedText());
    EXPECT_EQ(run.out.find('\0'), std::string::npos);
    // Standard error is no terminal here, so no progress bar either.
    EXPECT_EQ(run.err, "");

    const Outcome page = runProgram("--format html " + quoted(path("drawing.pmj")));
    EXPECT_EQ(page.status, 0);
    EXPECT_EQ(page.out, expectedFile(OutputFormat::HtmlPage));
}

// SVG, pictures and tracing come from modules loaded when first asked for. A copy of the program
// away from them still renders drawings, and each of the rest fails alone, naming the package
// that brings its module.
TEST_F(ProgramTest, WithoutItsModulesTheProgramStillRendersDrawings) {
    const fs::path alone = path("bin/penmoji-render");
    fs::create_directories(alone.parent_path());
    fs::copy_file(PENMOJI_RENDER, alone);
    std::ofstream(path("lines.svg")) << "<svg xmlns=\"http://www.w3.org/2000/svg\">"
                                        "<line x1=\"0\" y1=\"0\" x2=\"50\" y2=\"50\"/></svg>";
    fs::copy_file(path("drawing.pmj"), path("picture.png"));

    const Outcome text = runProgramAt(alone, quoted(path("drawing.pmj")));
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, expectedText());

    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {quoted(path("lines.svg")), path("lines.svg").string() + ": cannot read SVG: the module "},
        {quoted(path("drawing.pmj")) + " -o " + quoted(path("art.png")),
         path("art.png").string() + ": cannot write the picture: the module "},
        {"--trace " + quoted(path("picture.png")),
         path("picture.png").string() + ": cannot trace pictures: the module "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = runProgramAt(alone, c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("penmoji-render: " + c.message)) << run.err;
        EXPECT_NE(run.err.find(" is not installed; install the Debian package penmoji"),
                  std::string::npos)
            << run.err;
        EXPECT_FALSE(fs::exists(path("art.png")));
    }

    // In a batch the drawings are rendered and the SVG picture alone fails.
    const Outcome batch =
        runProgramAt(alone, "-d " + quoted(path("out")) + " " + quoted(path("drawing.pmj")) + " " +
                                quoted(path("lines.svg")));
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(readBytes(path("out/drawing.txt")), expectedFile(OutputFormat::PlainText));
    EXPECT_FALSE(fs::exists(path("out/lines.txt")));
    EXPECT_NE(batch.err.find("1 of 2 files failed"), std::string::npos) << batch.err;
}

TEST_F(ProgramTest, OutputFileFormatFollowsTheExtension) {
    struct Case {
        const char* name;
        OutputFormat format;
    };
    const Case cases[] = {{"a.html", OutputFormat::HtmlPage}, {"b.HTML", OutputFormat::HtmlPage},
                          {"c.Html", OutputFormat::HtmlPage}, {"d.htm", OutputFormat::PlainText},
                          {"e.txt", OutputFormat::PlainText}, {"f", OutputFormat::PlainText}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = runProgram(quoted(path("drawing.pmj")) + " -o " + quoted(path(c.name)));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(readBytes(path(c.name)), expectedFile(c.format));
    }
    EXPECT_TRUE(readBytes(path("e.txt")).ends_with(std::string("\r\n\0", 3)));
}

TEST_F(ProgramTest, Utf8PageDeclaresUtf8) {
    const Outcome run = runProgram("--encoding utf-8 -o " + quoted(path("p.html")) + " " +
                                   quoted(path("drawing.pmj")));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = readBytes(path("p.html"));
    EXPECT_NE(page.find("charset=UTF-8\">\n"), std::string::npos);
    EXPECT_EQ(page.find("Shift_JIS"), std::string::npos);
    EXPECT_NE(page.find("<title>ペンモジ ver 1.0a</title>"), std::string::npos);
    EXPECT_NE(page.find("<font face=\"ＭＳ Ｐゴシック\""), std::string::npos);
    EXPECT_NE(page.find("\n\u3000"), std::string::npos);  // the first row's leading space

    const Outcome text = runProgram("--encoding utf-8 " + quoted(path("drawing.pmj")));
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.starts_with("\u3000"));
}

TEST_F(ProgramTest, FailuresEndWithOneLineNamingTheFile) {
    // Record 0 claims 201 points.
    std::ofstream(path("refused.pmj"), std::ios::binary).write("\xC9\0\0\0", 4);
    fs::create_directories(path("dir.pmj"));
    const std::string drawingBytes = readBytes(path("drawing.pmj"));
    struct Case {
        std::string arguments;
        std::string named;  // the file the message must name
        std::string reason;
    };
    const Case cases[] = {
        {quoted(path("missing.pmj")), path("missing.pmj").string(), "cannot open"},
        {quoted(path("refused.pmj")), path("refused.pmj").string(), "point count 201"},
        {quoted(path("drawing.pmj")) + " -o " + quoted(path("no/such/dir/out.txt")),
         path("no/such/dir/out.txt").string(), "cannot create"},
        {quoted(path("drawing.pmj")) + " -o " + quoted(path("dir.pmj")), path("dir.pmj").string(),
         "is a directory"},
        {quoted(path("drawing.pmj")) + " -o " + quoted(path("drawing.pmj")),
         path("drawing.pmj").string(), "is the input drawing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = runProgram(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("penmoji-render: ")) << run.err;
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
    EXPECT_TRUE(fs::is_directory(path("dir.pmj")));
    EXPECT_EQ(readBytes(path("drawing.pmj")), drawingBytes);
}

// Text art from a UTF-8 file and one in Shift_JIS land on the art exactly as the editor's
// rendering with the same pieces places them; what cannot be placed is named.
TEST_F(ProgramTest, PastedTextArtIsPlacedAndBadPiecesAreNamed) {
    std::ofstream(path("face.txt"), std::ios::binary)
        << "\xEF\xBB\xBF\xE2\x88\xA7\xEF\xBC\xBF\xE2\x88\xA7\r\n"  // BOM, ∧＿∧
           "\xEF\xBC\x88\xC2\xA0\xC2\xB4\xE2\x88\x80\xEF\xBD\x80\xEF\xBC\x89\r\n";  // （&nbsp;´∀｀）
    std::ofstream(path("sjis.txt"), std::ios::binary) << "\x81\x5E\x81\x40\x81\x5F";  // ／　＼
    const Outcome run =
        runProgram(quoted(path("drawing.pmj")) + " --paste " +
                   quoted(fs::path(path("face.txt").string() + "@30,20")) + " --paste " +
                   quoted(fs::path(path("sjis.txt").string() + "@0,90")));
    ASSERT_EQ(run.status, 0) << run.err;
    const PlacedText placed = {
        PlacedPiece{
            30,
            20,
            {{0x81C8, 0x8151, 0x81C8}, {0x8169, kPlacedNbspCode, 0x814C, 0x81CD, 0x814D, 0x816A}}},
        PlacedPiece{0, 90, {{0x815E, 0x8140, 0x815F}}}};
    NoProgress progress;
    RandomGenerator random;
    EXPECT_EQ(run.out, renderText(*drawing_, RenderSettings{}, random, progress, placed)->text);
    EXPECT_NE(run.out, expectedText());

    std::ofstream(path("tab.txt"), std::ios::binary) << "a\tb";
    std::ofstream(path("emoji.txt"), std::ios::binary) << "\xF0\x9F\x98\x80";
    const struct {
        std::string paste;
        int status;
        std::string reason;
    } cases[] = {
        {quoted(fs::path(path("face.txt").string() + "@30")), 2, "wants FILE@X,Y"},
        {"@3,4", 2, "wants FILE@X,Y"},
        {quoted(fs::path(path("face.txt").string() + "@-1,4")), 2, "wants FILE@X,Y"},
        {quoted(fs::path(path("missing.txt").string() + "@1,4")), 1, "cannot open"},
        {quoted(fs::path(path("tab.txt").string() + "@1,4")), 1,
         "row 1, character 2: 0x09 is no character"},
        {quoted(fs::path(path("emoji.txt").string() + "@1,4")), 1, "has no Shift_JIS code"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paste);
        const Outcome refused = runProgram(quoted(path("drawing.pmj")) + " --paste " + c.paste);
        EXPECT_EQ(refused.status, c.status);
        EXPECT_EQ(refused.out, "");
        EXPECT_NE(refused.err.find(c.reason), std::string::npos) << refused.err;
    }
}

// The text placed in the editor, kept beside the drawing, renders with it unasked; --paste goes
// over it, --no-placed-text leaves it out, --trim moves it with the drawing, a .pmj output
// keeps it, and a damaged file is named rather than left out.
TEST_F(ProgramTest, TextKeptBesideTheDrawingRendersWithIt) {
    const PlacedText kept = {PlacedPiece{30, 20, {{0x815E, 0x82A0, 0x815F}}},
                             PlacedPiece{-4, 40, {{'a'}}}};
    ASSERT_TRUE(savePlacedText(path("drawing.pmj"), kept).ok());
    std::ofstream(path("bar.txt"), std::ios::binary) << "|";
    PlacedText withBar = kept;
    withBar.push_back({40, 20, {{'|'}}});
    const auto rendered = [&](const PlacedText& placed, bool trim) {
        RandomGenerator random;
        NoProgress progress;
        if (!trim) {
            return renderText(*drawing_, RenderSettings{}, random, progress, placed)->text;
        }
        std::string text =
            renderText(trimmedDrawing(*drawing_, RenderSettings{}, placed), RenderSettings{},
                       random, progress, trimmedPlacedText(*drawing_, RenderSettings{}, placed))
                ->text;
        dropEmptyRows(text);
        return text;
    };
    const std::string drawing = quoted(path("drawing.pmj"));
    const std::string bar = " --paste " + quoted(fs::path(path("bar.txt").string() + "@40,20"));
    const struct {
        std::string arguments;
        std::string expected;
    } cases[] = {
        {drawing, rendered(kept, false)},
        {drawing + bar, rendered(withBar, false)},
        {drawing + " --no-placed-text", expectedText()},
        {drawing + " --no-placed-text" + bar, rendered({withBar.back()}, false)},
        {drawing + " --trim" + bar, rendered(withBar, true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = runProgram(c.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.expected);
        // The piece left of the canvas cannot be shown, and is said to be off.
        const bool withKept = c.arguments.find("--no-placed-text") == std::string::npos;
        EXPECT_EQ(run.err.find("placed piece 2 cannot be written exactly") != std::string::npos,
                  withKept)
            << run.err;
    }
    EXPECT_NE(rendered(kept, false), expectedText());

    ASSERT_EQ(runProgram(drawing + " -o " + quoted(path("copy.pmj"))).status, 0);
    PlacedText copied;
    ASSERT_TRUE(loadPlacedText(path("copy.pmj"), copied).ok());
    EXPECT_EQ(copied, kept);

    std::string damaged = readBytes(placedTextPath(path("drawing.pmj")));
    damaged.resize(damaged.size() - 3);
    std::ofstream(placedTextPath(path("drawing.pmj")), std::ios::binary | std::ios::trunc)
        << damaged;
    for (const std::string& output : {std::string(), " -o " + quoted(path("out.txt"))}) {
        const Outcome refused = runProgram(drawing + output);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_TRUE(refused.err.starts_with(
            "penmoji-render: " + placedTextPath(path("drawing.pmj")).string() + ": "))
            << refused.err;
        EXPECT_FALSE(fs::exists(path("out.txt")));
    }
    EXPECT_EQ(runProgram(drawing + " --no-placed-text").out, expectedText());
}

// A PNG file that claims `width` × `height` pixels but holds none.
std::string pngHeaderOnly(std::uint32_t width, std::uint32_t height) {
    const auto crc = [](std::string_view bytes) {
        std::uint32_t c = 0xFFFFFFFF;
        for (const char byte : bytes) {
            c ^= static_cast<unsigned char>(byte);
            for (int k = 0; k < 8; ++k) {
                c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
            }
        }
        return ~c;
    };
    const auto bigEndian = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    const auto chunk = [&](const std::string& type, const std::string& data) {
        return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data +
               bigEndian(crc(type + data));
    };
    // Readers learn the size once they reach the first image data: an empty stream here.
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR",
                 bigEndian(width) + bigEndian(height) + std::string("\x08\x00\x00\x00\x00", 5)) +
           chunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) + chunk("IEND", "");
}

// A FIFO would block the program forever waiting for a writer, a device may never end, and a
// sparse file can claim gigabytes: only regular files of a sane size are read, whether drawing,
// SVG picture or picture to trace.
TEST_F(ProgramTest, InputsThatAreNotRegularFilesAreRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(path("fifo.pmj").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(path("fifo.png").c_str(), 0600), 0);
    fs::create_symlink("fifo.pmj", path("fifo.svg"));
    fs::create_symlink("/dev/zero", path("zero.svg"));
    fs::create_directories(path("dir.pmj"));
    std::ofstream(path("sparse.svg")) << "<svg/>";
    fs::resize_file(path("sparse.svg"), std::uintmax_t{300} << 20);
    std::ofstream(path("vast.png"), std::ios::binary) << pngHeaderOnly(40000, 30000);
    const auto cannotOpen = [&](const std::string& name, const std::string& reason) {
        return "cannot open " + path(name).string() + ": " + reason;
    };
    const struct {
        std::string arguments;
        std::string message;
        bool needsQt;
    } cases[] = {
        {quoted(path("fifo.pmj")), cannotOpen("fifo.pmj", "is not a regular file"), false},
        {"/dev/zero", "cannot open /dev/zero: is not a regular file", false},
        {quoted(path("dir.pmj")), cannotOpen("dir.pmj", "is a directory"), false},
        {quoted(path("nosuch.pmj")), cannotOpen("nosuch.pmj", "no such file"), false},
        {quoted(path("fifo.svg")), cannotOpen("fifo.svg", "is not a regular file"), true},
        {quoted(path("zero.svg")), cannotOpen("zero.svg", "is not a regular file"), true},
        {quoted(path("sparse.svg")),
         cannotOpen("sparse.svg", "too large (314 MB, more than 16 MB)"), true},
        {"--trace " + quoted(path("fifo.png")), cannotOpen("fifo.png", "is not a regular file"),
         true},
        {"--trace " + quoted(path("dir.pmj")), cannotOpen("dir.pmj", "is a directory"), true},
        {"--trace " + quoted(path("vast.png")),
         path("vast.png").string() + ": cannot read the picture: too large (40000 × 30000 pixels)",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
#ifndef PENMOJI_QT_INTERCHANGE
        if (c.needsQt) {
            continue;
        }
#endif
        const Outcome run = runProgram(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "penmoji-render: " + c.message + "\n");
    }
    // The page file of --append-mlt is read the same way.
    const Outcome appended =
        runProgram(quoted(path("drawing.pmj")) + " --append-mlt " + quoted(path("fifo.pmj")));
    EXPECT_EQ(appended.status, 1);
    EXPECT_NE(appended.err.find("is not a regular file"), std::string::npos) << appended.err;
}

TEST_F(ProgramTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    for (const std::string arguments :
         {"", "--scan-step 1.5 x.pmj", "--bogus x.pmj", "a.pmj b.pmj", "--threshold"}) {
        SCOPED_TRACE(arguments);
        const Outcome run = runProgram(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("penmoji-render: ")) << run.err;
    }
    const Outcome help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: penmoji-render")) << help.out;

    const Outcome version = runProgram("--version --bogus");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("penmoji-render ") + PENMOJI_VERSION + "\n");

    const Outcome table = runProgram("--glyph-table");
    EXPECT_EQ(table.status, 0);
    EXPECT_TRUE(table.out.starts_with("[\n  {\"code\": ")) << table.out.substr(0, 40);
}

TEST_F(ProgramTest, BatchWritesEachFileAndNamesEveryFailureAtTheEnd) {
    const auto other = saveShiftedDrawing("other.pmj", 1);
    std::ofstream(path("refused.pmj"), std::ios::binary).write("\xC9\0\0\0", 4);
    fs::create_directories(path("existing"));
    std::ofstream(path("existing/drawing.html")) << "stale";
    std::ofstream(path("a-file")) << "not a directory";
    fs::create_directories(path("elsewhere"));
    fs::copy_file(path("drawing.pmj"), path("elsewhere/drawing.pmj"));

    struct Case {
        std::string arguments;
        int status;
        // Each expected output file, relative to the test's folder, and its drawing.
        std::vector<std::pair<std::string, const VectorSet*>> written;
        OutputFormat format;
        std::vector<std::string> messages;  // lines of standard error, in this order
    };
    const std::string good = quoted(path("drawing.pmj")) + " " + quoted(path("other.pmj"));
    const Case cases[] = {
        {"-j 1 -d " + quoted(path("new/dir")) + " " + good,
         0,
         {{"new/dir/drawing.txt", drawing_.get()}, {"new/dir/other.txt", other.get()}},
         OutputFormat::PlainText,
         {}},
        {"-j 2 --format html -d " + quoted(path("existing")) + " " + good,
         0,
         {{"existing/drawing.html", drawing_.get()}, {"existing/other.html", other.get()}},
         OutputFormat::HtmlPage,
         {}},
        {"-d " + quoted(path("mixed")) + " " + quoted(path("refused.pmj")) + " " + good + " " +
             quoted(path("missing.pmj")),
         1,
         {{"mixed/drawing.txt", drawing_.get()}, {"mixed/other.txt", other.get()}},
         OutputFormat::PlainText,
         {path("refused.pmj").string() + ": not a Penmoji drawing: record 0 has point count 201",
          "cannot open " + path("missing.pmj").string(), "2 of 4 files failed"}},
        {"-d " + quoted(path("clash")) + " " + good + " " + quoted(path("elsewhere/drawing.pmj")),
         2,
         {},
         OutputFormat::PlainText,
         {path("drawing.pmj").string() + " and " + path("elsewhere/drawing.pmj").string() +
          " would both be rendered into " + path("clash/drawing.txt").string()}},
        {"-d " + quoted(path("a-file")) + " " + good,
         1,
         {},
         OutputFormat::PlainText,
         {path("a-file").string() + ": cannot create the directory"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = runProgram(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, "");
        for (const auto& [name, drawing] : c.written) {
            EXPECT_EQ(readBytes(path(name)), expectedFile(*drawing, c.format)) << name;
        }
        std::size_t from = 0;
        for (const std::string& message : c.messages) {
            from = run.err.find("penmoji-render: " + message, from);
            ASSERT_NE(from, std::string::npos) << message << "\n" << run.err;
        }
        if (c.messages.empty()) {
            EXPECT_EQ(run.err, "");
        }
    }
    // Only what rendered was written; a refused batch wrote nothing at all.
    EXPECT_EQ(std::distance(fs::directory_iterator(path("mixed")), fs::directory_iterator()), 2);
    EXPECT_FALSE(fs::exists(path("clash")));
}

TEST_F(ProgramTest, SvgOutAndBackInRendersTheSameArt) {
#ifndef PENMOJI_QT_INTERCHANGE
    GTEST_SKIP() << "built without Qt: no SVG or pictures";
#endif
    const Outcome exported =
        runProgram(quoted(path("drawing.pmj")) + " --export-svg " + quoted(path("drawing.svg")));
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "");  // converting alone renders nothing
    const Outcome rendered = runProgram(quoted(path("drawing.svg")));
    EXPECT_EQ(rendered.status, 0) << rendered.err;
    EXPECT_EQ(rendered.out, expectedText());
    EXPECT_EQ(rendered.err, "");

    // Fitted into a canvas the art changes; a picture over the limits says what it dropped.
    std::string many = "<svg xmlns=\"http://www.w3.org/2000/svg\">";
    for (int i = 0; i < 201; ++i) {
        many += "<line x1=\"0\" y1=\"" + std::to_string(i) + "\" x2=\"9\" y2=\"0\"/>";
    }
    std::ofstream(path("many.svg")) << many << "</svg>";
    const Outcome over = runProgram("--fit 100x50 " + quoted(path("many.svg")));
    EXPECT_EQ(over.status, 0);
    EXPECT_NE(over.err.find("many.svg: 201 outlines: 200 vectors; 1 outline (1 vector) dropped"),
              std::string::npos)
        << over.err;
}

TEST_F(ProgramTest, MltPagesBoardLimitsAndUnicodeBlanks) {
#ifndef PENMOJI_QT_INTERCHANGE
    GTEST_SKIP() << "built without Qt: no SVG or pictures";
#endif
    const std::string existing = "page one\r\n[SPLIT]\r\npage two\r\n";
    std::ofstream(path("art.mlt"), std::ios::binary) << existing;
    const Outcome appended =
        runProgram(quoted(path("drawing.pmj")) + " --append-mlt " + quoted(path("art.mlt")));
    ASSERT_EQ(appended.status, 0) << appended.err;
    EXPECT_EQ(readBytes(path("art.mlt")), existing + "[SPLIT]\r\n" + expectedText());

    // Within the limits the art is written; thirty rows are more than the standard 24 lines.
    const Outcome fits =
        runProgram(quoted(path("drawing.pmj")) + " --board standard -o " + quoted(path("ok.txt")));
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(readBytes(path("ok.txt")), expectedFile(OutputFormat::PlainText));

    std::string tall;
    for (int row = 0; row < 30; ++row) {
        tall += "<line x1=\"0\" y1=\"" + std::to_string(row * 16 + 4) + "\" x2=\"40\" y2=\"" +
                std::to_string(row * 16 + 4) + "\"/>";
    }
    std::ofstream(path("tall.svg"))
        << "<svg xmlns=\"http://www.w3.org/2000/svg\">" << tall << "</svg>";
    const Outcome tooTall =
        runProgram(quoted(path("tall.svg")) + " --board standard -o " + quoted(path("tall.txt")));
    EXPECT_EQ(tooTall.status, 1);
    EXPECT_NE(tooTall.err.find("exceeds board \"standard\": "), std::string::npos) << tooTall.err;
    EXPECT_NE(tooTall.err.find("lines (limit 24)"), std::string::npos) << tooTall.err;
    EXPECT_FALSE(fs::exists(path("tall.txt")));

    const Outcome split =
        runProgram(quoted(path("tall.svg")) + " --board standard --split-pages --append-mlt " +
                   quoted(path("tall.mlt")));
    EXPECT_EQ(split.status, 0) << split.err;
    const std::string pages = readBytes(path("tall.mlt"));
    EXPECT_EQ(std::count(pages.begin(), pages.end(), '['), 1);  // two pages, one separator

    const Outcome unicode =
        runProgram("--encoding utf-8 --unicode-blanks " + quoted(path("drawing.pmj")));
    EXPECT_EQ(unicode.status, 0) << unicode.err;
    EXPECT_EQ(unicode.out.find('&'), std::string::npos);
    EXPECT_NE(unicode.out.find("\xE2\x80\x89"), std::string::npos);  // a thin space
}

TEST_F(ProgramTest, PicturesOfTheArt) {
#ifndef PENMOJI_QT_INTERCHANGE
    GTEST_SKIP() << "built without Qt: no SVG or pictures";
#endif
    const Outcome one = runProgram(quoted(path("drawing.pmj")) + " --scale 2 --with-drawing -o " +
                                   quoted(path("art.png")));
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.err, "");
    EXPECT_EQ(readBytes(path("art.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");

    const Outcome batch = runProgram("-d " + quoted(path("pictures")) + " --format png " +
                                     quoted(path("drawing.pmj")));
    ASSERT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(readBytes(path("pictures/drawing.png")).substr(0, 4), "\x89PNG");
}

// The same files, and the same messages in the same order: those of each input in the order of
// the inputs, however the threads finish.
TEST_F(ProgramTest, BatchGivesTheSameFilesOnOneThreadAndOnTwo) {
    std::string inputs;
    std::string expectedNotes;
    std::size_t files = 0;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "drawing" + std::to_string(i) + ".pmj";
        saveShiftedDrawing(name, i);
        inputs += " " + quoted(path(name));
        ++files;
#ifdef PENMOJI_QT_INTERCHANGE
        // SVG pictures over the limit, each with its own note; the first so large that the
        // others, read on the other thread meanwhile, are done sooner.
        const int outlines = i == 0 ? 40000 : 201 + i;
        std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\">";
        for (int outline = 0; outline < outlines; ++outline) {
            svg += "<line x1=\"0\" y1=\"" + std::to_string(outline) + "\" x2=\"900\" y2=\"600\"/>";
        }
        const std::string svgName = "picture" + std::to_string(i) + ".svg";
        std::ofstream(path(svgName)) << svg << "</svg>";
        inputs += " " + quoted(path(svgName));
        ++files;
        expectedNotes += "penmoji-render: " + path(svgName).string() + ": " +
                         std::to_string(outlines) + " outlines\n";
#endif
    }
    std::vector<std::string> errors;
    for (const char* jobs : {"1", "2"}) {
        const Outcome run = runProgram("--dots -j " + std::string(jobs) + " -d " +
                                       quoted(path(std::string("out") + jobs)) + inputs);
        ASSERT_EQ(run.status, 0) << run.err;
        errors.push_back(run.err);
    }
    EXPECT_EQ(errors[0], errors[1]);
    // Each line's start, in order.
    std::string starts;
    std::istringstream lines(errors[1]);
    for (std::string line; std::getline(lines, line);) {
        starts += line.substr(0, line.find(" outlines:")) + " outlines\n";
    }
    EXPECT_EQ(starts, expectedNotes);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(path("out1"))) {
        const std::string name = entry.path().filename().string();
        names.insert(name);
        EXPECT_EQ(readBytes(entry.path()), readBytes(path("out2") / name)) << name;
    }
    EXPECT_EQ(names.size(), files);
    EXPECT_EQ(std::distance(fs::directory_iterator(path("out2")), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(files));
}

// However a long rendering is stopped, the old output stays as it was and no temporary is
// left beside it; a signal ends the program by that signal, the time limit with status 1.
TEST_F(ProgramTest, AStoppedRenderingWritesNothing) {
    ASSERT_TRUE(saveVectorFile(path("endless.pmj"), *endlessDrawing()).ok());
    struct Case {
        const char* name;
        std::vector<std::string> options;
        int signal;  // sent once the rendering is under way; 0 for none
        std::string message;
    };
    const Case cases[] = {
        {"SIGINT", {}, SIGINT, "penmoji-render: interrupted\n"},
        {"SIGTERM", {}, SIGTERM, "penmoji-render: interrupted\n"},
        {"time limit",
         {"--max-seconds", "1"},
         0,
         "penmoji-render: gave up after 1 second (--max-seconds)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path output = path("out.txt");
        std::ofstream(output) << "old";
        // Unbounded, so that the stop is what ends it.
        std::vector<std::string> arguments = {"--max-characters", "0"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        for (const std::string& argument :
             {path("endless.pmj").string(), std::string("-o"), output.string()}) {
            arguments.push_back(argument);
        }
        const pid_t pid = startProgram(arguments, path("stdout"), path("stderr"));
        ASSERT_GT(pid, 0);
        if (c.signal != 0) {
            // Once the temporary file has appeared, the text is streaming into it. (The child
            // makes its stdout and stderr files before it runs the program, so they do not count.)
            const std::set<std::string> known = {"drawing.pmj", "endless.pmj", "out.txt", "stderr",
                                                 "stdout"};
            const auto temporaryExists = [&] {
                for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
                    if (!known.contains(entry.path().filename().string())) {
                        return true;
                    }
                }
                return false;
            };
            for (int waited = 0; waited < 1000 && !temporaryExists(); ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            EXPECT_TRUE(temporaryExists());
            kill(pid, c.signal);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        if (c.signal != 0) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        }
        EXPECT_EQ(readBytes(path("stderr")), c.message);
        EXPECT_EQ(readBytes(output), "old");
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        EXPECT_EQ(names, (std::set<std::string>{"drawing.pmj", "endless.pmj", "out.txt", "stderr",
                                                "stdout"}));
    }
}

// Waits for `pid` at most `seconds`; kills it when it has not ended by then.
std::optional<int> waitEnding(pid_t pid, int seconds) {
    for (int waited = 0; waited < seconds * 100; ++waited) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return std::nullopt;
}

// A batch stopped while one drawing renders: the drawings rendered before it are put in place
// whole, though their files were still held to be synced together, and no temporary is left.
TEST_F(ProgramTest, AStoppedBatchKeepsTheFilesRenderedAndLeavesNoTemporary) {
    const auto other = saveShiftedDrawing("other.pmj", 1);
    ASSERT_TRUE(saveVectorFile(path("endless.pmj"), *endlessDrawing()).ok());
    const fs::path out = path("out");
    const pid_t pid = startProgram(
        {"-j", "1", "-d", out.string(), path("drawing.pmj").string(), path("other.pmj").string(),
         path("endless.pmj").string(), path("never-reached.pmj").string()},
        path("stdout"), path("stderr"));
    ASSERT_GT(pid, 0);
    // Three temporaries: the two drawings done and held, and the endless one streaming.
    const auto entries = [&] {
        std::error_code error;
        return std::distance(fs::directory_iterator(out, error), fs::directory_iterator());
    };
    for (int waited = 0; waited < 1000 && entries() < 3; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(entries(), 3);
    kill(pid, SIGINT);
    const std::optional<int> status = waitEnding(pid, 20);
    ASSERT_TRUE(status) << "still running after 20 seconds";
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGINT) << *status;
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"drawing.txt", "other.txt"}));
    EXPECT_EQ(readBytes(out / "drawing.txt"), expectedFile(*drawing_, OutputFormat::PlainText));
    EXPECT_EQ(readBytes(out / "other.txt"), expectedFile(*other, OutputFormat::PlainText));
}

// A call that never returns polls no stop: here the opening of a FIFO that no one reads. The
// time limit and the first signal end the program all the same, with their usual message and
// status, and nothing written.
TEST_F(ProgramTest, AStopEndsTheProgramEvenWhileACallIsStuck) {
    ASSERT_EQ(mkfifo(path("unread.fifo").c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::vector<std::string> options;
        int signal;  // sent once the program is stuck; 0 for none
        std::string message;
    };
    const Case cases[] = {
        {"time limit",
         {"--max-seconds", "1"},
         0,
         "penmoji-render: gave up after 1 second (--max-seconds)\n"},
        {"SIGTERM", {}, SIGTERM, "penmoji-render: interrupted\n"},
        {"SIGINT", {}, SIGINT, "penmoji-render: interrupted\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = c.options;
        for (const std::string& argument :
             {path("drawing.pmj").string(), std::string("-o"), path("unread.fifo").string()}) {
            arguments.push_back(argument);
        }
        const pid_t pid = startProgram(arguments, path("stdout"), path("stderr"));
        ASSERT_GT(pid, 0);
        if (c.signal != 0) {
            // Stuck once the kernel has it wait for a reader of the FIFO.
            const fs::path waitsIn = "/proc/" + std::to_string(pid) + "/wchan";
            for (int waited = 0; waited < 1000 && readBytes(waitsIn) != "wait_for_partner";
                 ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            kill(pid, c.signal);
        }
        const std::optional<int> status = waitEnding(pid, 20);
        ASSERT_TRUE(status) << "still running after 20 seconds";
        if (c.signal != 0) {
            EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == c.signal) << *status;
        } else {
            EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << *status;
        }
        EXPECT_EQ(readBytes(path("stderr")), c.message);
        EXPECT_EQ(readBytes(path("stdout")), "");
        EXPECT_TRUE(fs::is_fifo(path("unread.fifo")));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 4);
    }
}

// The outputs made of the whole text stop under the time limit as the streamed ones do: the
// file named keeps its old bytes.
TEST_F(ProgramTest, TheTimeLimitStopsOutputsOfTheWholeText) {
    ASSERT_TRUE(saveVectorFile(path("endless.pmj"), *endlessDrawing()).ok());
    struct Case {
        const char* output;
        std::vector<std::string> options;
    };
    std::vector<Case> cases = {
        {"out.txt", {"--board", "large", "-o"}},
        {"art.mlt", {"--append-mlt"}},
    };
#ifdef PENMOJI_QT_INTERCHANGE
    cases.push_back({"out.png", {"-o"}});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        std::ofstream(path(c.output)) << "old";
        std::vector<std::string> arguments = {"--max-seconds", "1", "--max-characters", "0",
                                              path("endless.pmj").string()};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.push_back(path(c.output).string());
        const pid_t pid = startProgram(arguments, path("stdout"), path("stderr"));
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        EXPECT_EQ(readBytes(path("stderr")),
                  "penmoji-render: gave up after 1 second (--max-seconds)\n");
        EXPECT_EQ(readBytes(path(c.output)), "old");
    }
}

// The bound on the art's size counts every character, in either mode: an art of exactly the
// bound is written, one more ends the run with nothing under the output's name, and a bound of
// 0 bounds nothing. What went to standard output before the end is the start of the art.
TEST_F(ProgramTest, TheCharacterBoundEndsAnArtThatPassesIt) {
    for (const bool fine : {false, true}) {
        SCOPED_TRACE(fine ? "fine" : "default");
        RenderSettings settings;
        settings.fine = fine;
        NoProgress progress;
        RandomGenerator random;
        const RenderResult art = *renderText(*drawing_, settings, random, progress);
        const std::size_t characters = art.glyphs.size();
        ASSERT_GT(characters, 2U);
        const std::string mode = fine ? "--fine " : "";
        struct Case {
            std::size_t bound;
            bool complete;
        };
        for (const Case c : {Case{characters - 1, false}, Case{characters, true}, Case{0, true}}) {
            SCOPED_TRACE(c.bound);
            const std::string options = mode + "--max-characters " + std::to_string(c.bound) + " " +
                                        quoted(path("drawing.pmj"));
            const fs::path output = path("out.txt");
            const Outcome toFile = runProgram(options + " -o " + quoted(output));
            const Outcome toTerminal = runProgram(options);
            if (c.complete) {
                EXPECT_EQ(toFile.status, 0);
                EXPECT_EQ(toTerminal.out, art.text);
                EXPECT_TRUE(fs::exists(output));
                fs::remove(output);
                continue;
            }
            const std::string message = "penmoji-render: " + path("drawing.pmj").string() +
                                        ": the art has more than " + std::to_string(c.bound) +
                                        " characters (--max-characters)\n";
            EXPECT_EQ(toFile.status, 1);
            EXPECT_EQ(toFile.err, message);
            EXPECT_EQ(toTerminal.status, 1);
            EXPECT_EQ(toTerminal.err, message);
            EXPECT_TRUE(art.text.starts_with(toTerminal.out));
            EXPECT_LT(toTerminal.out.size(), art.text.size());
            const std::set<std::string> left = {"drawing.pmj", "stderr", "stdout"};
            for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
                EXPECT_TRUE(left.contains(entry.path().filename().string())) << entry.path();
            }
        }
    }
}

// Whatever the memory allowed, the program renders or says in one line that memory ran out;
// it never aborts.
TEST_F(ProgramTest, RunningOutOfMemoryEndsWithOneLine) {
    if (kSanitized) {
        GTEST_SKIP() << "the sanitizers need more address space than the limits";
    }
    const std::vector<std::string> rendering = {path("drawing.pmj").string(), "-o",
                                                path("out.txt").string()};
    const auto run = [&](const std::vector<std::string>& arguments, rlim_t limit) {
        const pid_t pid = startProgram(arguments, path("stdout"), path("stderr"), limit);
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    };
    // From the smallest limit in megabytes the program starts under, every one up to where it
    // renders.
    constexpr rlim_t kMegabyte = 1 << 20;
    rlim_t megabytes = 1;
    while (megabytes < 256 && run({"--version"}, megabytes * kMegabyte) != 0) {
        ++megabytes;
    }
    int outOfMemory = 0;
    for (;; ++megabytes) {
        ASSERT_LT(megabytes, 256u);
        SCOPED_TRACE(megabytes);
        const int status = run(rendering, megabytes * kMegabyte);
        ASSERT_TRUE(WIFEXITED(status)) << status << readBytes(path("stderr"));
        if (WEXITSTATUS(status) == 0) {
            EXPECT_EQ(readBytes(path("out.txt")), expectedFile(OutputFormat::PlainText));
            break;
        }
        EXPECT_EQ(WEXITSTATUS(status), 1);
        const std::string message = readBytes(path("stderr"));
        EXPECT_TRUE(message.starts_with("penmoji-render: ") &&
                    message.ends_with("out of memory\n") &&
                    message.find('\n') == message.size() - 1)
            << message;
        EXPECT_FALSE(fs::exists(path("out.txt")));
        ++outOfMemory;
    }
    EXPECT_GT(outOfMemory, 0);
}

// A grey picture as a binary PGM file, which every image reader knows: light paper with a dark
// horizontal line 3 pixels thick at y 20 from x 10 to 89, and a vertical one at x 60 from y 30 to
// 69.
void writeLinePicture(const fs::path& file) {
    constexpr int kWidth = 100;
    constexpr int kHeight = 80;
    std::string pixels(kWidth * kHeight, static_cast<char>(220));
    for (int x = 10; x < 90; ++x) {
        for (int y = 19; y <= 21; ++y) {
            pixels[static_cast<std::size_t>(y * kWidth + x)] = 20;
        }
    }
    for (int y = 30; y < 70; ++y) {
        for (int x = 59; x <= 61; ++x) {
            pixels[static_cast<std::size_t>(y * kWidth + x)] = 20;
        }
    }
    std::ofstream out(file, std::ios::binary);
    out << "P5\n" << kWidth << ' ' << kHeight << "\n255\n" << pixels;
}

TEST_F(ProgramTest, TraceRendersAndKeepsTheTracedDrawing) {
#ifndef PENMOJI_CLI_TRACE
    GTEST_SKIP() << "built without Qt, which reads the pictures";
#endif
    writeLinePicture(path("lines.pgm"));
    const Outcome run =
        runProgram("--trace " + quoted(path("lines.pgm")) + " --trace-save " +
                   quoted(path("traced.pmj")) + " -o " + quoted(path("traced.txt")));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("traced 2 vectors of 4 points"), std::string::npos) << run.err;

    auto traced = std::make_unique<VectorSet>();
    ASSERT_TRUE(loadVectorFile(path("traced.pmj"), *traced).ok());
    const VectorLine& horizontal = traced->lines[0];
    const VectorLine& vertical = traced->lines[1];
    ASSERT_EQ(horizontal.count, 2);
    ASSERT_EQ(vertical.count, 2);
    EXPECT_EQ(horizontal.points[0].y, 20);
    EXPECT_NEAR(horizontal.points[0].x, 11, 1);
    EXPECT_NEAR(horizontal.points[1].x, 88, 1);
    EXPECT_EQ(vertical.points[0].x, 60);
    EXPECT_EQ(traced->lines[2].count, 0);
    // Rendered as the saved drawing is.
    EXPECT_EQ(readBytes(path("traced.txt")), expectedFile(*traced, OutputFormat::PlainText));

    const Outcome quiet = runProgram("--quiet --trace " + quoted(path("lines.pgm")));
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.out, expectedText(*traced));
}

TEST_F(ProgramTest, TracedDrawingGoesToTheOtherOutputsButNeverOverThePicture) {
#ifndef PENMOJI_CLI_TRACE
    GTEST_SKIP() << "built without Qt, which reads the pictures";
#endif
    writeLinePicture(path("lines.pgm"));
    const std::string picture = quoted(path("lines.pgm"));
    const Outcome run =
        runProgram("--quiet --trace " + picture + " --trace-save " + quoted(path("traced.pmj")) +
                   " --export-svg " + quoted(path("traced.svg")) + " --append-mlt " +
                   quoted(path("traced.mlt")));
    ASSERT_EQ(run.status, 0) << run.err;
    auto traced = std::make_unique<VectorSet>();
    ASSERT_TRUE(loadVectorFile(path("traced.pmj"), *traced).ok());
    EXPECT_NE(readBytes(path("traced.svg")).find("<polyline"), std::string::npos);
    EXPECT_EQ(readBytes(path("traced.mlt")), expectedText(*traced));

    const std::string before = readBytes(path("lines.pgm"));
    for (const char* option : {"-o", "--trace-save", "--export-svg"}) {
        const Outcome over = runProgram("--trace " + picture + " " + option + " " + picture);
        EXPECT_EQ(over.status, 1) << option;
        EXPECT_NE(over.err.find("refusing to write over it"), std::string::npos) << over.err;
    }
    EXPECT_EQ(readBytes(path("lines.pgm")), before);
}

TEST_F(ProgramTest, TraceOfAnUnreadablePictureFailsNamingIt) {
#ifndef PENMOJI_CLI_TRACE
    GTEST_SKIP() << "built without Qt, which reads the pictures";
#endif
    std::ofstream(path("not-a-picture.png")) << "text";
    const Outcome run = runProgram("--trace " + quoted(path("not-a-picture.png")) +
                                   " --trace-save " + quoted(path("kept.pmj")));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not-a-picture.png: cannot read the picture"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(path("kept.pmj")));
}

// An output's extension says what it is, whatever the input: a .pmj file is the drawing itself
// and a .png file the art's picture, also for a drawing traced from a picture or read from SVG.
TEST_F(ProgramTest, OutputsNamedPmjOrPngAreTheDrawingOrItsPicture) {
#ifndef PENMOJI_CLI_TRACE
    GTEST_SKIP() << "built without Qt: no SVG or pictures";
#endif
    writeLinePicture(path("lines.pgm"));
    const std::string picture = quoted(path("lines.pgm"));
    ASSERT_EQ(
        runProgram("--quiet --trace " + picture + " --trace-save " + quoted(path("traced.pmj")))
            .status,
        0);
    ASSERT_EQ(
        runProgram(quoted(path("drawing.pmj")) + " --export-svg " + quoted(path("drawing.svg")))
            .status,
        0);
    const std::string tracedBytes = readBytes(path("traced.pmj"));
    const struct {
        std::string arguments;
        const char* output;
        // The file's bytes; empty: a PNG picture; "art": a drawing with the fixture's art (SVG
        // keeps no repeated point).
        std::string expected;
    } cases[] = {
        {"--quiet --trace " + picture, "out.pmj", tracedBytes},
        {"--quiet --trace " + picture, "out.png", ""},
        {"--trace-save " + quoted(path("kept.pmj")) + " --quiet --trace " + picture, "out.pmj",
         tracedBytes},
        {quoted(path("drawing.svg")), "out.pmj", "art"},
        {quoted(path("drawing.pmj")), "out.pmj", readBytes(path("drawing.pmj"))},
        {quoted(path("drawing.pmj")) + " --append-mlt " + quoted(path("pages.mlt")), "out.pmj",
         readBytes(path("drawing.pmj"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments + " -o " + c.output);
        fs::remove(path(c.output));
        const Outcome run = runProgram(c.arguments + " -o " + quoted(path(c.output)));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        const std::string written = readBytes(path(c.output));
        if (c.expected.empty()) {
            EXPECT_TRUE(written.starts_with("\x89PNG\r\n")) << written.substr(0, 16);
        } else if (c.expected == "art") {
            auto drawing = std::make_unique<VectorSet>();
            ASSERT_TRUE(loadVectorFile(path(c.output), *drawing).ok());
            EXPECT_EQ(expectedText(*drawing), expectedText());
        } else {
            EXPECT_EQ(written, c.expected);
        }
    }
}

// The trimmed art and the MLT page are streamed while they are made; with a board to check
// they are made whole first. Both ways give the same bytes.
TEST_F(ProgramTest, StreamedTrimAndMltPageMatchTheWholeText) {
    saveShiftedDrawing("low.pmj", 3);
    const std::string input = quoted(path("low.pmj"));
    for (const std::string options : {"--trim", "--trim --encoding utf-8", ""}) {
        SCOPED_TRACE(options);
        const Outcome streamed = runProgram(options + " " + input);
        const Outcome whole = runProgram(options + " --board none " + input);
        EXPECT_EQ(streamed.status, 0) << streamed.err;
        EXPECT_EQ(streamed.out, whole.out);
        EXPECT_FALSE(streamed.out.starts_with("\x81\x40\r\n") && options == "--trim");
    }
    for (const std::string options : {"--trim", ""}) {
        SCOPED_TRACE(options);
        std::ofstream(path("streamed.mlt"), std::ios::binary) << "page\r\n";
        std::ofstream(path("whole.mlt"), std::ios::binary) << "page\r\n";
        EXPECT_EQ(
            runProgram(options + " " + input + " --append-mlt " + quoted(path("streamed.mlt")))
                .status,
            0);
        EXPECT_EQ(runProgram(options + " --board none " + input + " --append-mlt " +
                             quoted(path("whole.mlt")))
                      .status,
                  0);
        EXPECT_EQ(readBytes(path("streamed.mlt")), readBytes(path("whole.mlt")));
    }
}

// "-" is standard input, "-o -" standard output, as other programs read them.
TEST_F(ProgramTest, ADashIsStandardInputOrOutput) {
    const struct {
        std::string arguments;
        const char* input;
    } cases[] = {
        {"-", "drawing.pmj"},      {"-o -", "drawing.pmj"},
        {"- -o -", "drawing.pmj"}, {"-- -", "drawing.pmj"},
#ifdef PENMOJI_QT_INTERCHANGE
        {"-", "drawing.svg"},
#endif
    };
    ASSERT_EQ(
        runProgram(quoted(path("drawing.pmj")) + " --export-svg " + quoted(path("drawing.svg")))
            .status,
        0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments + " < " + c.input);
        const std::string arguments =
            c.arguments.starts_with("-o") ? quoted(path(c.input)) + " " + c.arguments : c.arguments;
        const Outcome run = runProgram(arguments, path(c.input));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expectedText());
        EXPECT_FALSE(fs::exists(path("-")));
    }
    // -o - beside another output still gives the text.
    const Outcome both =
        runProgram("- -o - --append-mlt " + quoted(path("pages.mlt")), path("drawing.pmj"));
    EXPECT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(both.out, expectedText());
    EXPECT_EQ(readBytes(path("pages.mlt")), expectedText());

    std::ofstream(path("picture.png"), std::ios::binary) << "\x89PNG\r\n\x1a\n";
    const Outcome refused = runProgram("-", path("picture.png"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "penmoji-render: standard input: not a Penmoji drawing: it holds a PNG picture\n");
}

// On a terminal the progress bar is not mixed into the art shown there.
TEST_F(ProgramTest, NoProgressBarWhenTheArtGoesToTheTerminal) {
    int terminal = -1;
    int side = -1;
    ASSERT_EQ(openpty(&terminal, &side, nullptr, nullptr, nullptr), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        dup2(side, STDOUT_FILENO);
        dup2(side, STDERR_FILENO);
        close(side);
        close(terminal);
        execl(PENMOJI_RENDER, PENMOJI_RENDER, path("drawing.pmj").c_str(), nullptr);
        _exit(127);
    }
    close(side);
    std::string shown;
    char buffer[4096];
    // Reading ends with EIO once the program has closed the terminal's other side.
    for (ssize_t count; (count = read(terminal, buffer, sizeof buffer)) > 0;) {
        shown.append(buffer, static_cast<std::size_t>(count));
    }
    close(terminal);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(shown.find("rendering"), std::string::npos) << shown;
    // The art's first row, and nothing before it.
    EXPECT_TRUE(shown.starts_with(expectedText().substr(0, expectedText().find('\r'))));
    EXPECT_GT(shown.size(), expectedText().size());
}

}  // namespace
}  // namespace penmoji
