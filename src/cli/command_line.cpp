// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <initializer_list>

#include "compose/setting_text.h"
#include "document/vector_file.h"

namespace penmoji::cli {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool isAnyOf(std::string_view value, std::initializer_list<std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view name) { return equalsIgnoringCase(value, name); });
}

// More threads than this only cost memory: a batch is bound by the cores.
constexpr unsigned kMostJobs = 1024;
// Larger canvases than a screen's many times over make no sense to fit a picture into.
constexpr int kMostFitPixels = 100000;

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The tracing's lengths, in pixels: beyond these nothing of a picture is left.
constexpr double kMostTraceTolerance = 100;
constexpr double kMostTraceMinLength = 10000;

// The longest time limit: a day, which alarm() takes on every system.
constexpr unsigned kMostSeconds = 86400;

// The largest bound on the art's characters that can be asked for.
constexpr unsigned kMostCharacters = 1'000'000'000;

// A whole number from `least` (1 unless said) to `most`, digits only.
std::optional<unsigned> parseCount(std::string_view value, unsigned most, unsigned least = 1) {
    unsigned count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc() || end != value.data() + value.size() || value.empty() ||
        count < least || count > most) {
        return std::nullopt;
    }
    return count;
}

class Parser;

// Where an option is listed in --help, in this order.
enum class Section { Output, Interchange, Pictures, Rendering, Tracing, Other };

// One option: how it is given, what --help says of it and what it does. The one table of them
// drives the parser, --help, the bash completion and the check of the manual page.
struct OptionSpec {
    std::string_view name;
    // A second, short name ("-h"); empty for none.
    std::string_view alias;
    // What --help shows for the value ("FILE", "text|html|png"); empty for an option without one.
    std::string_view value;
    Section section;
    // One paragraph; --help wraps it.
    std::string_view help;
    // Takes the value (empty for an option without one) into the command line.
    void (Parser::*apply)(std::string_view value);
};

class Parser {
public:
    explicit Parser(std::span<const std::string_view> arguments) : arguments_(arguments) {}

    ParseResult run() {
        while (next_ < arguments_.size() && error_.empty()) {
            const std::string_view argument = arguments_[next_++];
            if (argument == "--") {
                while (next_ < arguments_.size() && error_.empty()) {
                    takePositional(arguments_[next_++]);
                }
            } else if (argument.size() > 1 && argument.front() == '-') {
                takeOption(argument);
                if (line_.action == Action::PrintHelp || line_.action == Action::PrintVersion) {
                    return {line_, {}};
                }
            } else {
                takePositional(argument);
            }
        }
        if (error_.empty()) {
            checkCombination();
        }
        if (!error_.empty()) {
            return {std::nullopt, error_};
        }
        line_.settings = clampSettings(line_.settings);
        return {line_, {}};
    }

    // The options' actions, one each, named in the table below.
    void takeOutput(std::string_view value) {
        if (value.empty()) {
            error_ = "option -o needs a file name";
        }
        line_.standardOutputAsked = value == "-";
        line_.output = line_.standardOutputAsked ? std::string_view() : value;
    }
    void takeOutputDirectory(std::string_view value) {
        if (value.empty()) {
            error_ = "option -d needs a directory name";
        }
        line_.outputDirectory = value;
    }
    void takeJobCount(std::string_view value) {
        jobsGiven_ = true;
        if (const auto count = parseCount(value, kMostJobs)) {
            line_.jobs = *count;
        } else {
            error_ = "option -j wants a whole number from 1 to " + std::to_string(kMostJobs) +
                     ", not " + inQuotes(value);
        }
    }
    void takeFormat(std::string_view value) {
        formatGiven_ = true;
        if (isAnyOf(value, {"text", "txt"})) {
            line_.format = OutputFormat::PlainText;
        } else if (isAnyOf(value, {"html"})) {
            line_.format = OutputFormat::HtmlPage;
        } else if (isAnyOf(value, {"png"})) {
            line_.pictures = true;
        } else {
            error_ = "option --format wants text, html or png, not " + inQuotes(value);
        }
    }
    void takeEncoding(std::string_view value) {
        if (isAnyOf(value, {"shift_jis", "sjis", "cp932"})) {
            line_.encoding = Encoding::ShiftJis;
        } else if (isAnyOf(value, {"utf-8", "utf8"})) {
            line_.encoding = Encoding::Utf8;
        } else {
            error_ = "option --encoding wants shift_jis or utf-8, not " + inQuotes(value);
        }
    }
    void takeTrim(std::string_view) { line_.trim = true; }
    void takeUnicodeBlanks(std::string_view) { line_.unicodeBlanks = true; }

    // WIDTHxHEIGHT in pixels, each from 1 to the largest coordinate.
    void takeFit(std::string_view value) {
        const std::size_t x = value.find_first_of("xX");
        int width = 0;
        int height = 0;
        const auto whole = [](std::string_view digits, int& number) {
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), number);
            return error == std::errc() && end == digits.data() + digits.size() && number > 0 &&
                   number <= kMostFitPixels;
        };
        if (x == std::string_view::npos || !whole(value.substr(0, x), width) ||
            !whole(value.substr(x + 1), height)) {
            error_ = "option --fit wants WIDTHxHEIGHT in pixels (1 to " +
                     std::to_string(kMostFitPixels) + "), not " + inQuotes(value);
            return;
        }
        line_.fit = CanvasSize{width, height};
    }

    void takeExportSvg(std::string_view value) {
        takeFileName("--export-svg", value, line_.exportSvg);
    }
    void takeAppendMlt(std::string_view value) {
        takeFileName("--append-mlt", value, line_.appendMlt);
    }
    void takeBoard(std::string_view value) {
        line_.board = findBoardProfile(value);
        if (line_.board == nullptr) {
            error_ = "unknown board " + inQuotes(value) + "; choose one of " + boardNames();
        }
    }
    void takeSplitPages(std::string_view) { line_.splitPages = true; }
    void takeNoPlacedText(std::string_view) { line_.noPlacedText = true; }
    void takePaste(std::string_view value) {
        const std::size_t at = value.rfind('@');
        const std::size_t comma = value.rfind(',');
        const std::optional<unsigned> x =
            at != std::string_view::npos && comma != std::string_view::npos && comma > at
                ? parseCount(value.substr(at + 1, comma - at - 1), kMaxCoordinate, 0)
                : std::nullopt;
        const std::optional<unsigned> y =
            x ? parseCount(value.substr(comma + 1), kMaxCoordinate, 0) : std::nullopt;
        if (at == 0 || !y) {
            error_ = "option --paste wants FILE@X,Y with X and Y whole numbers from 0 to " +
                     std::to_string(kMaxCoordinate) + ", not " + inQuotes(value);
            return;
        }
        line_.pastes.push_back({std::string(value.substr(0, at)), static_cast<std::int32_t>(*x),
                                static_cast<std::int32_t>(*y)});
    }

    void takeLinePitch(std::string_view value) {
        takeChoice("--line-pitch", value, {16, 18}, line_.picture.linePitch);
    }
    void takeScale(std::string_view value) {
        takeChoice("--scale", value, {1, 2}, line_.picture.scale);
    }
    void takeTransparent(std::string_view) { line_.picture.transparent = true; }
    void takeWithDrawing(std::string_view) { line_.picture.withDrawing = true; }

    void takeDots(std::string_view) { line_.settings.useDots = true; }
    void takeNoEntities(std::string_view) { line_.settings.noEntities = true; }
    void takeNoUnderscores(std::string_view) { line_.settings.underscoreRuns = false; }
    void takeNoStrictHalfSpaces(std::string_view) { line_.settings.strictHalfSpaces = false; }
    void takeThreshold(std::string_view value) {
        takeReal("--threshold", value, line_.settings.innerProductThreshold);
    }
    void takeScanStep(std::string_view value) {
        if (const auto parsed = parseSettingInteger(value)) {
            line_.settings.scanStep = *parsed;
        } else {
            error_ = "option --scan-step wants an integer, not " + inQuotes(value);
        }
    }
    void takePriorityScale(std::string_view value) {
        takeReal("--priority-scale", value, line_.settings.priorityScale);
    }
    void takeFine(std::string_view) { line_.settings.fine = true; }

    void takeTrace(std::string_view value) {
        if (value.empty()) {
            error_ = "option --trace needs a picture's file name";
        }
        line_.action = Action::Trace;
        line_.traceImage = value;
    }
    void takeTraceSave(std::string_view value) {
        traceOptionGiven_ = true;
        takeFileName("--trace-save", value, line_.traceSave);
    }
    void takeTraceThreshold(std::string_view value) {
        traceOptionGiven_ = true;
        if (isAnyOf(value, {"auto"})) {
            line_.traceOptions.threshold.reset();
            return;
        }
        int level = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), level);
        if (error != std::errc() || end != value.data() + value.size() || level < 0 ||
            level > 254) {
            error_ = "option --trace-threshold wants auto or a grey level from 0 to 254, not " +
                     inQuotes(value);
            return;
        }
        line_.traceOptions.threshold = level;
    }

    void takeTraceTolerance(std::string_view value) {
        traceOptionGiven_ = true;
        takeLength("--trace-tolerance", value, kMostTraceTolerance, line_.traceOptions.tolerance);
    }
    void takeTraceMinLength(std::string_view value) {
        traceOptionGiven_ = true;
        takeLength("--trace-min-length", value, kMostTraceMinLength, line_.traceOptions.minLength);
    }

    void takeGlyphTable(std::string_view) { line_.action = Action::PrintGlyphTable; }
    void takeQuiet(std::string_view) { line_.quiet = true; }
    void takeMaxSeconds(std::string_view value) {
        if (const auto seconds = parseCount(value, kMostSeconds)) {
            line_.maxSeconds = *seconds;
        } else {
            error_ = "option --max-seconds wants a whole number from 1 to " +
                     std::to_string(kMostSeconds) + ", not " + inQuotes(value);
        }
    }
    void takeMaxCharacters(std::string_view value) {
        if (const auto characters = parseCount(value, kMostCharacters, 0)) {
            line_.maxCharacters = *characters;
        } else {
            error_ = "option --max-characters wants a whole number from 0 to " +
                     std::to_string(kMostCharacters) + ", not " + inQuotes(value);
        }
    }
    void takeVersion(std::string_view) { line_.action = Action::PrintVersion; }
    void takeHelp(std::string_view) { line_.action = Action::PrintHelp; }

private:
    void takePositional(std::string_view argument) {
        if (argument.empty()) {
            error_ = "the input file name is empty";
            return;
        }
        line_.inputs.emplace_back(argument);
    }

    void takeOption(std::string_view argument);

    void takeFileName(std::string_view name, std::string_view value, std::string& field) {
        if (value.empty()) {
            error_ = "option " + std::string(name) + " needs a file name";
        }
        field = value;
    }

    void takeChoice(std::string_view name, std::string_view value,
                    std::initializer_list<int> choices, int& field) {
        int number = 0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        if (error == std::errc() && end == value.data() + value.size() &&
            std::find(choices.begin(), choices.end(), number) != choices.end()) {
            field = number;
            return;
        }
        error_ = "option " + std::string(name) + " wants " + std::to_string(*choices.begin()) +
                 " or " + std::to_string(*(choices.end() - 1)) + ", not " + inQuotes(value);
    }

    static std::string boardNames() {
        std::string names;
        for (const BoardProfile& profile : boardProfiles()) {
            names += (names.empty() ? "" : ", ") + std::string(profile.name);
        }
        return names;
    }

    void takeReal(std::string_view name, std::string_view value, float& field) {
        if (const auto parsed = parseSettingReal(value)) {
            field = toSettingFloat(*parsed);
        } else {
            error_ = "option " + std::string(name) + " wants a number, not " + inQuotes(value);
        }
    }

    void takeLength(std::string_view name, std::string_view value, double most, double& field) {
        const auto parsed = parseSettingReal(value);
        if (!parsed || *parsed < 0 || *parsed > most) {
            error_ = "option " + std::string(name) + " wants pixels from 0 to " +
                     std::to_string(static_cast<int>(most)) + ", not " + inQuotes(value);
            return;
        }
        field = *parsed;
    }

    void checkCombination() {
        if (line_.action == Action::PrintGlyphTable) {
            if (!line_.inputs.empty() || !line_.output.empty() || !line_.outputDirectory.empty()) {
                error_ = "--glyph-table takes no input or output file";
            }
            return;
        }
        if (line_.action == Action::Trace) {
            checkTraceCombination();
            return;
        }
        if (traceOptionGiven_) {
            error_ = "the --trace-... options need --trace IMAGE";
            return;
        }
        const bool batch = !line_.outputDirectory.empty();
        if (line_.inputs.empty()) {
            error_ = "no input file";
        } else if (!batch && line_.inputs.size() > 1) {
            error_ = "unexpected argument " + inQuotes(line_.inputs[1]) +
                     " after the input file; several inputs need -d OUTDIR";
        } else if (batch && !line_.output.empty()) {
            error_ = "-o and -d cannot be used together";
        } else if (formatGiven_ && !line_.output.empty()) {
            // Two ways to choose would let a page be written under a .txt name.
            error_ = "--format is for standard output and -d; with -o the file's extension chooses";
        } else if (jobsGiven_ && !batch) {
            error_ = "-j is for rendering into a directory with -d";
        } else if (line_.pictures && !batch) {
            error_ = "--format png is for -d; with -o name the file *.png";
        } else {
            checkInterchange(batch);
        }
    }

    void checkInterchange(bool batch) {
        const bool htmlOut = line_.format == OutputFormat::HtmlPage ||
                             outputFormatFor(extensionOf(line_.output)) == OutputFormat::HtmlPage;
        if (batch && (!line_.exportSvg.empty() || !line_.appendMlt.empty() || line_.board)) {
            error_ = "--export-svg, --append-mlt and --board are for one input, not -d";
        } else if (line_.unicodeBlanks && line_.encoding != Encoding::Utf8) {
            error_ = "--unicode-blanks needs --encoding utf-8";
        } else if (line_.unicodeBlanks && htmlOut) {
            error_ = "--unicode-blanks is for text; a page shows the entities as blanks";
        } else if (!line_.appendMlt.empty() && line_.encoding != Encoding::ShiftJis) {
            error_ = "--append-mlt writes Shift_JIS pages; leave out --encoding";
        } else if (line_.splitPages && (line_.board == nullptr || line_.appendMlt.empty())) {
            error_ = "--split-pages needs --board NAME and --append-mlt FILE";
        } else if (!line_.pastes.empty() && isAnyOf(extensionOf(line_.output), {"pmj", "PMJ"})) {
            error_ = "--paste places text in the art; an output named .pmj is the drawing alone";
        }
    }

    static std::string_view extensionOf(std::string_view name) {
        const std::size_t dot = name.find_last_of('.');
        const std::size_t slash = name.find_last_of('/');
        if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
            return {};
        }
        return name.substr(dot + 1);
    }

    void checkTraceCombination() {
        if (!line_.inputs.empty()) {
            error_ = "unexpected argument " + inQuotes(line_.inputs[0]) +
                     "; with --trace the picture is the input";
        } else if (!line_.outputDirectory.empty() || jobsGiven_) {
            error_ = "--trace renders one picture; -d and -j are for drawings";
        } else if (formatGiven_ && !line_.output.empty()) {
            error_ = "--format is for standard output and -d; with -o the file's extension chooses";
        } else if (line_.pictures) {
            error_ = "--format png is for -d; with -o name the file *.png";
        } else {
            checkInterchange(false);
        }
    }

    std::span<const std::string_view> arguments_;
    std::size_t next_ = 0;
    CommandLine line_;
    bool formatGiven_ = false;
    bool jobsGiven_ = false;
    bool traceOptionGiven_ = false;
    std::string error_;
};

constexpr OptionSpec kOptions[] = {
    {"-o", "", "FILE", Section::Output,
     "write FILE: a PNG picture of the art when its extension is \"png\", an HTML page when it "
     "is \"html\", the drawing itself when it is \"pmj\" (any letter case), otherwise the text "
     "followed by one NUL byte; without -o, or with \"-o -\", the text goes to standard output",
     &Parser::takeOutput},
    {"-d", "", "OUTDIR", Section::Output,
     "render every INPUT into OUTDIR (created if missing): NAME.pmj becomes OUTDIR/NAME.txt, or "
     "NAME.html or NAME.png with --format; a failed file does not stop the others",
     &Parser::takeOutputDirectory},
    {"-j", "", "N", Section::Output, "with -d, render N files at once (default: one per core)",
     &Parser::takeJobCount},
    {"--format", "", "text|html|png", Section::Output,
     "what to write to standard output or into OUTDIR (default text; text to standard output "
     "has no NUL; png only with -d)",
     &Parser::takeFormat},
    {"--encoding", "", "shift_jis|utf-8", Section::Output,
     "the output's encoding (default shift_jis); an HTML page in UTF-8 declares UTF-8 as its "
     "charset",
     &Parser::takeEncoding},
    {"--trim", "", "", Section::Output,
     "drop the empty rows at the top and the left margin, as the editor's copy does (the "
     "drawing moves by whole rows and scan steps, so the art is what the same drawing at the "
     "top left gives)",
     &Parser::takeTrim},
    {"--unicode-blanks", "", "", Section::Output,
     "with --encoding utf-8, the text's entity blanks as the characters U+00A0, U+2002 and "
     "U+2009",
     &Parser::takeUnicodeBlanks},

    {"--fit", "", "WxH", Section::Interchange,
     "fit an SVG input into a canvas of W by H pixels (keeping its proportions, 8 pixels of "
     "margin) instead of taking it at 1:1",
     &Parser::takeFit},
    {"--export-svg", "", "FILE", Section::Interchange,
     "write the drawing's vectors as SVG, one polyline each; alone, without -o or "
     "--append-mlt, nothing is rendered",
     &Parser::takeExportSvg},
    {"--append-mlt", "", "FILE", Section::Interchange,
     "add the art as a new page to the MLT file FILE (created if missing); the pages already "
     "there stay as they are",
     &Parser::takeAppendMlt},
    {"--board", "", "NAME", Section::Interchange,
     "the board the art is for: when the art exceeds its limits, print its figures and exit 1 "
     "without writing anything; NAME is none, standard (2048 bytes, 24 lines, 256 bytes a "
     "line), long (4096, 60, 512) or large (8192, 100, 1024)",
     &Parser::takeBoard},
    {"--paste", "", "FILE@X,Y", Section::Interchange,
     "place the text art in FILE (UTF-8, or Shift_JIS) on the art, its first row's left edge at "
     "canvas pixel X in the row holding pixel Y; each character keeps the pixel its row gives "
     "it and rendered characters keep clear of it; may be given more than once, and goes over "
     "the text placed in the editor",
     &Parser::takePaste},
    {"--no-placed-text", "", "", Section::Interchange,
     "leave out the text placed on a drawing in the editor (kept beside NAME.pmj in "
     "NAME.pmj.placed), which is otherwise rendered with it",
     &Parser::takeNoPlacedText},
    {"--split-pages", "", "", Section::Interchange,
     "with --board and --append-mlt, cut the art at row boundaries into pages that fit the "
     "board, each a page of the MLT file",
     &Parser::takeSplitPages},

    {"--line-pitch", "", "16|18", Section::Pictures,
     "pixels from one row to the next (default 18, as boards show)", &Parser::takeLinePitch},
    {"--scale", "", "1|2", Section::Pictures, "pixel size of the picture (default 1)",
     &Parser::takeScale},
    {"--transparent", "", "", Section::Pictures, "a transparent background instead of white",
     &Parser::takeTransparent},
    {"--with-drawing", "", "", Section::Pictures, "the drawn lines faint under the text",
     &Parser::takeWithDrawing},

    {"--dots", "", "", Section::Rendering, "blanks may contain \".\" (dots)", &Parser::takeDots},
    {"--no-entities", "", "", Section::Rendering,
     "no \"&nbsp;\", \"&ensp;\" or \"&thinsp;\" in blanks", &Parser::takeNoEntities},
    {"--no-underscores", "", "", Section::Rendering, "no \"_\" for consecutive half-width spaces",
     &Parser::takeNoUnderscores},
    {"--no-strict-half-spaces", "", "", Section::Rendering,
     "allow consecutive half-width spaces to keep positions exact",
     &Parser::takeNoStrictHalfSpaces},
    {"--threshold", "", "X", Section::Rendering,
     "least inner product of a matching stroke, 0 to 1 (default 0.85)", &Parser::takeThreshold},
    {"--scan-step", "", "N", Section::Rendering,
     "pixels the scan advances over empty space, 2 to 11 (default 2)", &Parser::takeScanStep},
    {"--priority-scale", "", "X", Section::Rendering,
     "factor on each glyph's priority, 0 to 2 (default 1)", &Parser::takePriorityScale},
    {"--fine", "", "", Section::Rendering,
     "fine matching: each row chosen as a whole on the font's pixels, from more characters "
     "(slower; the three options above then have no effect)",
     &Parser::takeFine},

    {"--trace", "", "IMAGE", Section::Tracing,
     "trace the dark lines of IMAGE into a drawing, one canvas pixel a picture pixel, and "
     "render that drawing",
     &Parser::takeTrace},
    {"--trace-save", "", "FILE", Section::Tracing,
     "also keep the traced drawing as FILE (a .pmj drawing)", &Parser::takeTraceSave},
    {"--trace-threshold", "", "auto|N", Section::Tracing,
     "grey levels up to N (0 to 254) are ink (default auto: Otsu's level between the picture's "
     "dark and light)",
     &Parser::takeTraceThreshold},
    {"--trace-tolerance", "", "PX", Section::Tracing,
     "how far a simplified line may leave the traced centre line, 0 to 100 (default 1)",
     &Parser::takeTraceTolerance},
    {"--trace-min-length", "", "PX", Section::Tracing,
     "loose strokes and loose-ended branches shorter than this are dropped as specks, 0 to "
     "10000 (default 5)",
     &Parser::takeTraceMinLength},

    {"--glyph-table", "", "", Section::Other, "print the glyph table as JSON and exit",
     &Parser::takeGlyphTable},
    {"--quiet", "", "", Section::Other,
     "no progress bar (shown only when standard error is a terminal)", &Parser::takeQuiet},
    {"--max-seconds", "", "N", Section::Other,
     "give up after N seconds (1 to 86400): stop, write nothing, exit 1", &Parser::takeMaxSeconds},
    {"--max-characters", "", "N", Section::Other,
     "give up once the art holds more than N characters, placed text included (default "
     "100000; 0 for no limit): stop, write nothing, exit 1",
     &Parser::takeMaxCharacters},
    {"--version", "", "", Section::Other, "print the version and exit", &Parser::takeVersion},
    {"--help", "-h", "", Section::Other, "show this help and exit", &Parser::takeHelp},
};

// The option given as `name`, by either of its names.
const OptionSpec* findOption(std::string_view name) {
    const auto option =
        std::find_if(std::begin(kOptions), std::end(kOptions), [&](const OptionSpec& spec) {
            return spec.name == name || (!spec.alias.empty() && spec.alias == name);
        });
    return option == std::end(kOptions) ? nullptr : option;
}

void Parser::takeOption(std::string_view argument) {
    // Long options also take their value as "--name=value".
    std::string_view name = argument;
    std::optional<std::string_view> inlineValue;
    if (const auto equals = argument.find('=');
        argument.starts_with("--") && equals != std::string_view::npos) {
        name = argument.substr(0, equals);
        inlineValue = argument.substr(equals + 1);
    } else if (const OptionSpec* joined = findOption(argument.substr(0, 2));
               !argument.starts_with("--") && argument.size() > 2 && joined != nullptr &&
               !joined->value.empty()) {
        // Short options also take their value joined on, as in "-j4".
        name = argument.substr(0, 2);
        inlineValue = argument.substr(2);
    }
    const OptionSpec* option = findOption(name);
    if (option == nullptr) {
        error_ = "unknown option " + std::string(name);
        return;
    }
    if (option->value.empty()) {
        if (inlineValue) {
            error_ = "option " + std::string(name) + " takes no value";
        } else {
            (this->*option->apply)({});
        }
        return;
    }
    if (!inlineValue && next_ == arguments_.size()) {
        error_ = "option " + std::string(name) + " needs a value";
        return;
    }
    (this->*option->apply)(inlineValue ? *inlineValue : arguments_[next_++]);
}

struct SectionText {
    Section section;
    std::string_view heading;
    // Said after the section's options; empty for nothing.
    std::string_view note;
};

constexpr SectionText kSections[] = {
    {Section::Output, "Output:", ""},
    {Section::Interchange, "Interchange:", ""},
    {Section::Pictures, "Pictures (-o FILE.png):", ""},
    {Section::Rendering, "Rendering (out-of-range values are clamped):", ""},
    {Section::Tracing,
     "Tracing a picture (PNG, JPEG, BMP, GIF and what else Qt's image plugins read):",
     "A drawing holds 200 vectors of 200 points: longer lines are cut into several vectors and, "
     "when there are still too many, the shortest lines are left out, as the summary on "
     "standard error says (not with --quiet)."},
    {Section::Other, "Other:", ""},
};

// --help's layout: an option's text starts in this column, and no line is wider than the other.
constexpr std::size_t kHelpColumn = 28;
constexpr std::size_t kHelpWidth = 79;

// `text` wrapped at word boundaries into lines of at most kHelpWidth columns, each but the first
// indented by `indent`; the first continues a line already `used` columns wide.
std::string wrapped(std::string_view text, std::size_t indent, std::size_t used) {
    std::string out;
    std::size_t column = used;
    bool lineStart = true;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!lineStart && column + 1 + word.size() > kHelpWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineStart = false;
    }
    return out + "\n";
}

// "  -o FILE                   write FILE: ...", the text on the next line when the option and
// its value reach into its column.
std::string optionHelp(const OptionSpec& option) {
    std::string lead = "  ";
    if (!option.alias.empty()) {
        lead += std::string(option.alias) + ", ";
    }
    lead += std::string(option.name);
    if (!option.value.empty()) {
        lead += " " + std::string(option.value);
    }
    if (lead.size() + 2 > kHelpColumn) {
        lead += "\n";
        lead += std::string(kHelpColumn, ' ');
    } else {
        lead.resize(kHelpColumn, ' ');
    }
    return lead + wrapped(option.help, kHelpColumn, kHelpColumn);
}

std::string optionsHelp() {
    std::string text;
    for (const SectionText& section : kSections) {
        text += "\n" + wrapped(section.heading, 0, 0);
        for (const OptionSpec& option : kOptions) {
            if (option.section == section.section) {
                text += optionHelp(option);
            }
        }
        if (!section.note.empty()) {
            text += "  " + wrapped(section.note, 2, 2);
        }
    }
    return text;
}

}  // namespace

ParseResult parseCommandLine(std::span<const std::string_view> arguments) {
    return Parser(arguments).run();
}

std::vector<OptionName> optionNames() {
    std::vector<OptionName> names;
    for (const OptionSpec& option : kOptions) {
        names.push_back({option.name, option.value});
        if (!option.alias.empty()) {
            names.push_back({option.alias, option.value});
        }
    }
    return names;
}

std::string usageText() {
    return R"(Usage: penmoji-render [options] INPUT.pmj|INPUT.svg [-o OUTPUT]
       penmoji-render [options] -d OUTDIR INPUT.pmj...
       penmoji-render [options] --trace IMAGE [-o OUTPUT] [--trace-save FILE]
       penmoji-render --glyph-table

Renders Penmoji vector drawings as proportional-font text art. An input ending
in ".svg" is an SVG picture: its lines, shapes and paths become the drawing's
vectors, one SVG user unit to a pixel. An INPUT of "-" is standard input (a
drawing, or an SVG picture when it starts with "<").
)" + optionsHelp() +
           R"(
Exit status: 0 on success, 1 when a file cannot be read, is refused or cannot
be written (with -d: when any of them failed, each named at the end), when
memory runs out or when --max-seconds is up, 2 on bad usage. SIGINT and SIGTERM
stop the rendering; the output file is left as it was (standard output keeps
what was already written).
)";
}

std::string versionText() {
    return std::string("penmoji-render ") + PENMOJI_VERSION + "\n";
}

}  // namespace penmoji::cli
