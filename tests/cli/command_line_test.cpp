// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace penmoji::cli {
namespace {

using Arguments = std::vector<std::string_view>;

ParseResult parse(const Arguments& arguments) {
    return parseCommandLine(arguments);
}

std::string describe(const Arguments& arguments) {
    std::string text;
    for (std::string_view argument : arguments) {
        text.append(" [").append(argument).append("]");
    }
    return text;
}

TEST(CommandLine, InputAloneRendersWithTheEditorsDefaults) {
    const ParseResult result = parse({"drawing.pmj"});
    ASSERT_TRUE(result.commandLine) << result.error;
    const CommandLine& line = *result.commandLine;
    EXPECT_EQ(line.action, Action::Render);
    EXPECT_EQ(line.inputs, std::vector<std::string>{"drawing.pmj"});
    EXPECT_EQ(line.output, "");
    EXPECT_EQ(line.outputDirectory, "");
    EXPECT_EQ(line.jobs, 0u);
    EXPECT_EQ(line.format, OutputFormat::PlainText);
    EXPECT_EQ(line.encoding, Encoding::ShiftJis);
    EXPECT_FALSE(line.quiet);
    const RenderSettings defaults;
    EXPECT_EQ(line.settings.useDots, defaults.useDots);
    EXPECT_EQ(line.settings.noEntities, defaults.noEntities);
    EXPECT_EQ(line.settings.underscoreRuns, defaults.underscoreRuns);
    EXPECT_EQ(line.settings.strictHalfSpaces, defaults.strictHalfSpaces);
    EXPECT_EQ(line.settings.innerProductThreshold, defaults.innerProductThreshold);
    EXPECT_EQ(line.settings.scanStep, defaults.scanStep);
    EXPECT_EQ(line.settings.priorityScale, defaults.priorityScale);
    EXPECT_EQ(line.settings.fine, defaults.fine);
}

TEST(CommandLine, OutputChoicesAndPositionsOfArguments) {
    const ParseResult result =
        parse({"--quiet", "-o", "out.HTML", "--encoding", "UTF-8", "--", "-odd.pmj"});
    ASSERT_TRUE(result.commandLine) << result.error;
    EXPECT_EQ(result.commandLine->inputs, std::vector<std::string>{"-odd.pmj"});
    EXPECT_EQ(result.commandLine->output, "out.HTML");
    EXPECT_EQ(result.commandLine->encoding, Encoding::Utf8);
    EXPECT_TRUE(result.commandLine->quiet);
    EXPECT_EQ(result.commandLine->maxSeconds, 0u);
    EXPECT_EQ(parse({"--max-seconds=86400", "a.pmj"}).commandLine->maxSeconds, 86400u);

    const ParseResult page = parse({"a.pmj", "--format=html", "--encoding=shift_jis"});
    ASSERT_TRUE(page.commandLine) << page.error;
    EXPECT_EQ(page.commandLine->format, OutputFormat::HtmlPage);
    EXPECT_EQ(page.commandLine->encoding, Encoding::ShiftJis);
}

TEST(CommandLine, InterchangeOptionsAreRead) {
    const ParseResult result =
        parse({"in.svg", "--fit=640x480", "--export-svg", "v.svg", "--append-mlt", "a.mlt",
               "--board", "Standard", "--split-pages", "--line-pitch", "16", "--scale", "2",
               "--transparent", "--with-drawing", "-o", "art.png"});
    ASSERT_TRUE(result.commandLine) << result.error;
    const CommandLine& line = *result.commandLine;
    ASSERT_TRUE(line.fit);
    EXPECT_EQ(line.fit->width, 640);
    EXPECT_EQ(line.fit->height, 480);
    EXPECT_EQ(line.exportSvg, "v.svg");
    EXPECT_EQ(line.appendMlt, "a.mlt");
    ASSERT_NE(line.board, nullptr);
    EXPECT_EQ(line.board->name, "standard");
    EXPECT_TRUE(line.splitPages);
    EXPECT_EQ(line.picture.linePitch, 16);
    EXPECT_EQ(line.picture.scale, 2);
    EXPECT_TRUE(line.picture.transparent);
    EXPECT_TRUE(line.picture.withDrawing);
    EXPECT_FALSE(line.textToStandardOutput());

    // --export-svg alone converts without rendering.
    const ParseResult convert = parse({"a.pmj", "--export-svg", "a.svg"});
    ASSERT_TRUE(convert.commandLine) << convert.error;
    EXPECT_FALSE(convert.commandLine->rendersText());
    const ParseResult unicode = parse({"a.pmj", "--encoding", "utf8", "--unicode-blanks"});
    ASSERT_TRUE(unicode.commandLine) << unicode.error;
    EXPECT_TRUE(unicode.commandLine->unicodeBlanks);
    const ParseResult pictures = parse({"-d", "out", "--format", "png", "a.pmj"});
    ASSERT_TRUE(pictures.commandLine) << pictures.error;
    EXPECT_TRUE(pictures.commandLine->pictures);
}

TEST(CommandLine, BatchTakesManyInputsAnOutputDirectoryAndAJobCount) {
    struct Case {
        Arguments arguments;
        std::vector<std::string> inputs;
        std::string directory;
        unsigned jobs;
        OutputFormat format;
    };
    const Case cases[] = {
        {{"-d", "out", "a.pmj", "b.pmj", "c.pmj"},
         {"a.pmj", "b.pmj", "c.pmj"},
         "out",
         0,
         OutputFormat::PlainText},
        {{"a.pmj", "-j", "2", "--format", "html", "-d", "pages"},
         {"a.pmj"},
         "pages",
         2,
         OutputFormat::HtmlPage},
        // Short options with the value joined on, as make and compilers take them.
        {{"-j4", "-dout", "a.pmj", "b.pmj"}, {"a.pmj", "b.pmj"}, "out", 4, OutputFormat::PlainText},
        {{"-d", "o", "-j", "1024", "--", "-x.pmj"}, {"-x.pmj"}, "o", 1024, OutputFormat::PlainText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.arguments));
        const ParseResult result = parse(c.arguments);
        ASSERT_TRUE(result.commandLine) << result.error;
        EXPECT_EQ(result.commandLine->inputs, c.inputs);
        EXPECT_EQ(result.commandLine->outputDirectory, c.directory);
        EXPECT_EQ(result.commandLine->jobs, c.jobs);
        EXPECT_EQ(result.commandLine->format, c.format);
    }
}

TEST(CommandLine, HelpAndGlyphTableNeedNoInput) {
    // Help wins over whatever follows it, as it is what a confused user asks for.
    const ParseResult help = parse({"--help", "--bogus"});
    ASSERT_TRUE(help.commandLine) << help.error;
    EXPECT_EQ(help.commandLine->action, Action::PrintHelp);

    const ParseResult version = parse({"--version", "--bogus"});
    ASSERT_TRUE(version.commandLine) << version.error;
    EXPECT_EQ(version.commandLine->action, Action::PrintVersion);

    const ParseResult table = parse({"--glyph-table"});
    ASSERT_TRUE(table.commandLine) << table.error;
    EXPECT_EQ(table.commandLine->action, Action::PrintGlyphTable);
}

// Values read as the editor's dialog reads its fields, then clamped by the shared function.
TEST(CommandLine, SettingsAreReadAndClamped) {
    struct Case {
        Arguments arguments;
        RenderSettings expected;
    };
    const auto with = [](auto change) {
        RenderSettings settings;
        change(settings);
        return settings;
    };
    const Case cases[] = {
        {{"--dots"}, with([](RenderSettings& s) { s.useDots = true; })},
        {{"--fine"}, with([](RenderSettings& s) { s.fine = true; })},
        {{"--no-entities"}, with([](RenderSettings& s) { s.noEntities = true; })},
        {{"--no-underscores"}, with([](RenderSettings& s) { s.underscoreRuns = false; })},
        {{"--no-strict-half-spaces"}, with([](RenderSettings& s) { s.strictHalfSpaces = false; })},
        {{"--threshold", "0.5"}, with([](RenderSettings& s) { s.innerProductThreshold = 0.5f; })},
        {{"--threshold", " \t+2.5e-1 "},
         with([](RenderSettings& s) { s.innerProductThreshold = 0.25f; })},
        {{"--threshold", "0.0"}, with([](RenderSettings& s) { s.innerProductThreshold = 0.0f; })},
        {{"--threshold", "-0.1"}, with([](RenderSettings& s) { s.innerProductThreshold = 0.0f; })},
        {{"--threshold", "1"}, with([](RenderSettings& s) { s.innerProductThreshold = 1.0f; })},
        {{"--threshold", "1.5"}, with([](RenderSettings& s) { s.innerProductThreshold = 1.0f; })},
        {{"--threshold", "1e999"}, with([](RenderSettings& s) { s.innerProductThreshold = 1.0f; })},
        {{"--priority-scale=2"}, with([](RenderSettings& s) { s.priorityScale = 2.0f; })},
        {{"--priority-scale", "3"}, with([](RenderSettings& s) { s.priorityScale = 2.0f; })},
        {{"--priority-scale", "-1"}, with([](RenderSettings& s) { s.priorityScale = 0.0f; })},
        {{"--priority-scale", ".5"}, with([](RenderSettings& s) { s.priorityScale = 0.5f; })},
        {{"--scan-step", "7"}, with([](RenderSettings& s) { s.scanStep = 7; })},
        {{"--scan-step", "11"}, with([](RenderSettings& s) { s.scanStep = 11; })},
        {{"--scan-step", "0"}, with([](RenderSettings& s) { s.scanStep = 2; })},
        {{"--scan-step", "-5"}, with([](RenderSettings& s) { s.scanStep = 2; })},
        {{"--scan-step", "12"}, with([](RenderSettings& s) { s.scanStep = 11; })},
        {{"--scan-step", "+99999999999999999999999"},
         with([](RenderSettings& s) { s.scanStep = 11; })},
        {{"--scan-step", "-99999999999"}, with([](RenderSettings& s) { s.scanStep = 2; })},
        // The last of a repeated option counts.
        {{"--scan-step", "9", "--scan-step", "3"}, with([](RenderSettings& s) { s.scanStep = 3; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.arguments));
        Arguments arguments = c.arguments;
        arguments.push_back("a.pmj");
        const ParseResult result = parseCommandLine(arguments);
        ASSERT_TRUE(result.commandLine) << result.error;
        const RenderSettings& s = result.commandLine->settings;
        EXPECT_EQ(s.useDots, c.expected.useDots);
        EXPECT_EQ(s.noEntities, c.expected.noEntities);
        EXPECT_EQ(s.underscoreRuns, c.expected.underscoreRuns);
        EXPECT_EQ(s.strictHalfSpaces, c.expected.strictHalfSpaces);
        EXPECT_FLOAT_EQ(s.innerProductThreshold, c.expected.innerProductThreshold);
        EXPECT_EQ(s.scanStep, c.expected.scanStep);
        EXPECT_FLOAT_EQ(s.priorityScale, c.expected.priorityScale);
        EXPECT_EQ(s.fine, c.expected.fine);
    }
}

TEST(CommandLine, TraceTakesThePictureAndTheTracingOptions) {
    const ParseResult plain = parse({"--trace", "picture.png"});
    ASSERT_TRUE(plain.commandLine) << plain.error;
    EXPECT_EQ(plain.commandLine->action, Action::Trace);
    EXPECT_EQ(plain.commandLine->traceImage, "picture.png");
    EXPECT_FALSE(plain.commandLine->traceOptions.threshold);
    EXPECT_EQ(plain.commandLine->traceOptions.tolerance, 1.0);
    EXPECT_EQ(plain.commandLine->traceSave, "");

    const ParseResult all =
        parse({"--trace-threshold=120", "--trace", "p.jpg", "--trace-tolerance", "2.5",
               "--trace-min-length", "0", "--trace-save", "t.pmj", "-o", "t.html", "--fine"});
    ASSERT_TRUE(all.commandLine) << all.error;
    const CommandLine& line = *all.commandLine;
    EXPECT_EQ(line.traceOptions.threshold, 120);
    EXPECT_EQ(line.traceOptions.tolerance, 2.5);
    EXPECT_EQ(line.traceOptions.minLength, 0.0);
    EXPECT_EQ(line.traceSave, "t.pmj");
    EXPECT_EQ(line.output, "t.html");
    EXPECT_TRUE(line.settings.fine);

    const ParseResult automatic =
        parse({"--trace", "p.png", "--trace-threshold", "40", "--trace-threshold", "AUTO"});
    ASSERT_TRUE(automatic.commandLine) << automatic.error;
    EXPECT_FALSE(automatic.commandLine->traceOptions.threshold);
}

TEST(CommandLine, BadUsageIsRefusedWithTheReason) {
    struct Case {
        Arguments arguments;
        std::string_view reason;  // part of the message
    };
    const Case cases[] = {
        {{}, "no input file"},
        {{"--quiet"}, "no input file"},
        {{"a.pmj", "b.pmj"},
         "unexpected argument \"b.pmj\" after the input file; several inputs need -d"},
        {{"--bogus", "a.pmj"}, "unknown option --bogus"},
        {{"-x", "a.pmj"}, "unknown option -x"},
        {{"a.pmj", "--threshold"}, "--threshold needs a value"},
        {{"a.pmj", "-o"}, "-o needs a value"},
        {{"a.pmj", "-o", ""}, "-o needs a file name"},
        {{"--dots=1", "a.pmj"}, "--dots takes no value"},
        {{"--threshold", "abc", "a.pmj"}, "--threshold wants a number, not \"abc\""},
        {{"--threshold", "", "a.pmj"}, "wants a number"},
        {{"--threshold", "0.5x", "a.pmj"}, "wants a number"},
        {{"--threshold", "1.2.3", "a.pmj"}, "wants a number"},
        {{"--threshold", "1e", "a.pmj"}, "wants a number"},
        {{"--threshold", "inf", "a.pmj"}, "wants a number"},
        {{"--threshold", "nan", "a.pmj"}, "wants a number"},
        {{"--threshold", "0x1p-1", "a.pmj"}, "wants a number"},
        // The editor's fields take a zero only when it is written with a leading 0.
        {{"--threshold", ".0", "a.pmj"}, "wants a number"},
        {{"--priority-scale", "-0", "a.pmj"}, "--priority-scale wants a number"},
        {{"--scan-step", "1.5", "a.pmj"}, "--scan-step wants an integer, not \"1.5\""},
        {{"--scan-step", "abc", "a.pmj"}, "wants an integer"},
        {{"--scan-step", "-0", "a.pmj"}, "wants an integer"},
        {{"--scan-step", "3 4", "a.pmj"}, "wants an integer"},
        {{"--format", "pdf", "a.pmj"}, "--format wants text, html or png, not \"pdf\""},
        {{"--encoding", "latin1", "a.pmj"}, "--encoding wants shift_jis or utf-8"},
        {{"--format", "html", "-o", "x.txt", "a.pmj"}, "with -o the file's extension chooses"},
        {{"--glyph-table", "a.pmj"}, "--glyph-table takes no input or output file"},
        {{"--glyph-table", "-o", "t.json"}, "--glyph-table takes no input or output file"},
        {{"--glyph-table", "-d", "out"}, "--glyph-table takes no input or output file"},
        {{"-d", "out"}, "no input file"},
        {{"-d", "", "a.pmj"}, "-d needs a directory name"},
        {{"a.pmj", "-d"}, "-d needs a value"},
        {{"-o", "x.txt", "-d", "out", "a.pmj"}, "-o and -d cannot be used together"},
        {{"-j", "2", "a.pmj"}, "-j is for rendering into a directory with -d"},
        {{"-d", "o", "-j", "0", "a.pmj"}, "-j wants a whole number from 1 to 1024, not \"0\""},
        {{"--trace", ""}, "--trace needs a picture's file name"},
        {{"--trace", "p.png", "a.pmj"}, "with --trace the picture is the input"},
        {{"--trace", "p.png", "-d", "out"}, "-d and -j are for drawings"},
        {{"--trace-tolerance", "2", "a.pmj"}, "the --trace-... options need --trace IMAGE"},
        {{"--trace", "p.png", "--trace-threshold", "255"}, "auto or a grey level from 0 to 254"},
        {{"--trace", "p.png", "--trace-threshold", "-1"}, "auto or a grey level"},
        {{"--trace", "p.png", "--trace-tolerance", "101"}, "wants pixels from 0 to 100"},
        {{"--trace", "p.png", "--trace-min-length", "-1"}, "--trace-min-length wants pixels"},
        {{"--trace", "p.png", "--trace-save", ""}, "--trace-save needs a file name"},
        {{"-d", "o", "-j", "1025", "a.pmj"}, "-j wants a whole number"},
        {{"-d", "o", "-j", "2.5", "a.pmj"}, "-j wants a whole number"},
        {{"-d", "o", "-j", "+2", "a.pmj"}, "-j wants a whole number"},
        {{"-d", "o", "-j", "", "a.pmj"}, "-j wants a whole number"},
        {{"-d", "o", "-jx", "a.pmj"}, "from 1 to 1024, not \"x\""},
        {{"--max-seconds", "0", "a.pmj"}, "--max-seconds wants a whole number from 1 to 86400"},
        {{"--max-seconds", "86401", "a.pmj"}, "--max-seconds wants a whole number"},
        {{"--max-seconds", "1.5", "a.pmj"}, "--max-seconds wants a whole number"},
        {{"a.pmj", "--max-seconds"}, "--max-seconds needs a value"},
        {{"--format=PNG", "a.pmj"}, "--format png is for -d"},
        {{"--unicode-blanks", "a.pmj"}, "--unicode-blanks needs --encoding utf-8"},
        {{"--unicode-blanks", "--encoding", "utf-8", "--format", "html", "a.pmj"},
         "--unicode-blanks is for text"},
        {{"--unicode-blanks", "--encoding", "utf-8", "-o", "a.HTML", "a.pmj"},
         "--unicode-blanks is for text"},
        {{"--board", "huge", "a.pmj"}, "unknown board \"huge\"; choose one of none, standard"},
        {{"--split-pages", "--board", "standard", "a.pmj"}, "--split-pages needs --board"},
        {{"--split-pages", "--append-mlt", "a.mlt", "a.pmj"}, "--split-pages needs --board"},
        {{"--append-mlt", "a.mlt", "--encoding", "utf-8", "a.pmj"}, "writes Shift_JIS pages"},
        {{"-d", "o", "--board", "standard", "a.pmj"}, "are for one input, not -d"},
        {{"--export-svg", "", "a.pmj"}, "--export-svg needs a file name"},
        {{"--fit", "640", "a.svg"}, "--fit wants WIDTHxHEIGHT"},
        {{"--fit", "0x10", "a.svg"}, "--fit wants WIDTHxHEIGHT"},
        {{"--fit", "10x10x", "a.svg"}, "--fit wants WIDTHxHEIGHT"},
        {{"--line-pitch", "17", "a.pmj"}, "--line-pitch wants 16 or 18, not \"17\""},
        {{"--scale", "3", "a.pmj"}, "--scale wants 1 or 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.arguments));
        const ParseResult result = parse(c.arguments);
        EXPECT_FALSE(result.commandLine);
        EXPECT_NE(result.error.find(c.reason), std::string::npos) << result.error;
    }
}

// Each option is handled by its own entry: a value it refuses is refused in its own name, never
// read as some other option's.
TEST(CommandLine, EveryOptionIsRefusedInItsOwnName) {
    for (const OptionName& option : optionNames()) {
        const std::string name(option.name);
        SCOPED_TRACE(name);
        const ParseResult result =
            option.takesValue() ? parse({option.name, "", "a.pmj"}) : parse({name + "=1"});
        ASSERT_FALSE(result.commandLine);
        // A board is named by its name alone.
        const std::string_view expected = name == "--board" ? "unknown board" : option.name;
        EXPECT_NE(result.error.find(expected), std::string::npos) << result.error;
    }
}

// The manual page documents exactly the options of the table, each under its own tag.
TEST(CommandLine, ManualPageListsExactlyTheOptions) {
    std::ifstream page(PENMOJI_MANUAL_PAGE);
    ASSERT_TRUE(page) << PENMOJI_MANUAL_PAGE;
    std::set<std::string> documented;
    bool inOptions = false;
    bool tag = false;
    // A name is a word of its own that starts with a dash ("utf\-8" in a value is none).
    const std::regex name(R"((^|\s)((\\-)+[a-zA-Z0-9\\-]*))");
    for (std::string line; std::getline(page, line);) {
        if (line.starts_with(".SH ")) {
            inOptions = line == ".SH OPTIONS";
        } else if (inOptions && tag) {
            // ".BI \-\-trace\-save " file"", ".BR \-h ", " \-\-help": the words that start with a
            // dash.
            for (auto word = std::sregex_iterator(line.begin(), line.end(), name);
                 word != std::sregex_iterator(); ++word) {
                documented.insert(std::regex_replace(word->str(2), std::regex(R"(\\-)"), "-"));
            }
        }
        tag = inOptions && line == ".TP";
    }
    std::set<std::string> options;
    for (const OptionName& option : optionNames()) {
        options.emplace(option.name);
    }
    EXPECT_EQ(documented, options);
}

}  // namespace
}  // namespace penmoji::cli
