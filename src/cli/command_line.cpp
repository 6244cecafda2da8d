#include "cli/command_line.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <initializer_list>

#include "compose/setting_text.h"

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

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Options without a value.
struct Switch {
    std::string_view name;
    void (*apply)(CommandLine&);
};

constexpr Switch kSwitches[] = {
    {"--dots", [](CommandLine& line) { line.settings.useDots = true; }},
    {"--fine", [](CommandLine& line) { line.settings.fine = true; }},
    {"--trim", [](CommandLine& line) { line.trim = true; }},
    {"--no-entities", [](CommandLine& line) { line.settings.noEntities = true; }},
    {"--no-underscores", [](CommandLine& line) { line.settings.underscoreRuns = false; }},
    {"--no-strict-half-spaces", [](CommandLine& line) { line.settings.strictHalfSpaces = false; }},
    {"--quiet", [](CommandLine& line) { line.quiet = true; }},
    {"--glyph-table", [](CommandLine& line) { line.action = Action::PrintGlyphTable; }},
    {"--help", [](CommandLine& line) { line.action = Action::PrintHelp; }},
    {"-h", [](CommandLine& line) { line.action = Action::PrintHelp; }},
    {"--version", [](CommandLine& line) { line.action = Action::PrintVersion; }},
};

constexpr std::string_view kValuedOptions[] = {"-o",
                                               "-d",
                                               "-j",
                                               "--threshold",
                                               "--scan-step",
                                               "--priority-scale",
                                               "--format",
                                               "--encoding",
                                               "--max-seconds",
                                               "--trace",
                                               "--trace-save",
                                               "--trace-threshold",
                                               "--trace-tolerance",
                                               "--trace-min-length"};

// The tracing's lengths, in pixels: beyond these nothing of a picture is left.
constexpr double kMostTraceTolerance = 100;
constexpr double kMostTraceMinLength = 10000;

bool isValuedOption(std::string_view name) {
    return std::find(std::begin(kValuedOptions), std::end(kValuedOptions), name) !=
           std::end(kValuedOptions);
}

// The longest time limit: a day, which alarm() takes on every system.
constexpr unsigned kMostSeconds = 86400;

// A whole number from 1 to `most`, digits only.
std::optional<unsigned> parseCount(std::string_view value, unsigned most) {
    unsigned count = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
    if (error != std::errc() || end != value.data() + value.size() || count == 0 || count > most) {
        return std::nullopt;
    }
    return count;
}

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

private:
    void takePositional(std::string_view argument) {
        if (argument.empty()) {
            error_ = "the input file name is empty";
            return;
        }
        line_.inputs.emplace_back(argument);
    }

    void takeOption(std::string_view argument) {
        // Long options also take their value as "--name=value".
        std::string_view name = argument;
        std::optional<std::string_view> inlineValue;
        if (const auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        } else if (!argument.starts_with("--") && argument.size() > 2 &&
                   isValuedOption(argument.substr(0, 2))) {
            // Short options also take their value joined on, as in "-j4".
            name = argument.substr(0, 2);
            inlineValue = argument.substr(2);
        }
        if (takeSwitch(name, inlineValue)) {
            return;
        }
        if (!isValuedOption(name)) {
            error_ = "unknown option " + std::string(name);
            return;
        }
        if (!inlineValue && next_ == arguments_.size()) {
            error_ = "option " + std::string(name) + " needs a value";
            return;
        }
        takeValue(name, inlineValue ? *inlineValue : arguments_[next_++]);
    }

    // True when `name` is an option without a value, whether or not it was used correctly.
    bool takeSwitch(std::string_view name, std::optional<std::string_view> inlineValue) {
        const auto option = std::find_if(std::begin(kSwitches), std::end(kSwitches),
                                         [&](const Switch& s) { return s.name == name; });
        if (option == std::end(kSwitches)) {
            return false;
        }
        if (inlineValue) {
            error_ = "option " + std::string(name) + " takes no value";
        } else {
            option->apply(line_);
        }
        return true;
    }

    void takeValue(std::string_view name, std::string_view value) {
        if (name == "-o") {
            if (value.empty()) {
                error_ = "option -o needs a file name";
            }
            line_.output = value;
        } else if (name == "-d") {
            if (value.empty()) {
                error_ = "option -d needs a directory name";
            }
            line_.outputDirectory = value;
        } else if (name == "-j") {
            takeJobCount(value);
        } else if (name == "--threshold") {
            takeReal(name, value, line_.settings.innerProductThreshold);
        } else if (name == "--priority-scale") {
            takeReal(name, value, line_.settings.priorityScale);
        } else if (name == "--scan-step") {
            if (const auto parsed = parseSettingInteger(value)) {
                line_.settings.scanStep = *parsed;
            } else {
                error_ = "option --scan-step wants an integer, not " + inQuotes(value);
            }
        } else if (name == "--max-seconds") {
            takeMaxSeconds(value);
        } else if (name == "--format") {
            takeFormat(value);
        } else if (name.starts_with("--trace")) {
            takeTraceOption(name, value);
        } else {
            takeEncoding(value);
        }
    }

    void takeReal(std::string_view name, std::string_view value, float& field) {
        if (const auto parsed = parseSettingReal(value)) {
            field = toSettingFloat(*parsed);
        } else {
            error_ = "option " + std::string(name) + " wants a number, not " + inQuotes(value);
        }
    }

    void takeTraceOption(std::string_view name, std::string_view value) {
        trace::TraceOptions& options = line_.traceOptions;
        if (name == "--trace") {
            if (value.empty()) {
                error_ = "option --trace needs a picture's file name";
            }
            line_.action = Action::Trace;
            line_.traceImage = value;
        } else if (name == "--trace-save") {
            if (value.empty()) {
                error_ = "option --trace-save needs a file name";
            }
            line_.traceSave = value;
        } else if (name == "--trace-threshold") {
            takeTraceThreshold(value);
        } else if (name == "--trace-tolerance") {
            takeLength(name, value, kMostTraceTolerance, options.tolerance);
        } else {
            takeLength(name, value, kMostTraceMinLength, options.minLength);
        }
        traceOptionGiven_ = traceOptionGiven_ || name != "--trace";
    }

    void takeTraceThreshold(std::string_view value) {
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

    void takeLength(std::string_view name, std::string_view value, double most, double& field) {
        const auto parsed = parseSettingReal(value);
        if (!parsed || *parsed < 0 || *parsed > most) {
            error_ = "option " + std::string(name) + " wants pixels from 0 to " +
                     std::to_string(static_cast<int>(most)) + ", not " + inQuotes(value);
            return;
        }
        field = *parsed;
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

    void takeMaxSeconds(std::string_view value) {
        if (const auto seconds = parseCount(value, kMostSeconds)) {
            line_.maxSeconds = *seconds;
        } else {
            error_ = "option --max-seconds wants a whole number from 1 to " +
                     std::to_string(kMostSeconds) + ", not " + inQuotes(value);
        }
    }

    void takeFormat(std::string_view value) {
        formatGiven_ = true;
        if (isAnyOf(value, {"text", "txt"})) {
            line_.format = OutputFormat::PlainText;
        } else if (isAnyOf(value, {"html"})) {
            line_.format = OutputFormat::HtmlPage;
        } else if (isAnyOf(value, {"png"})) {
            error_ = "--format png is not available yet; choose text or html";
        } else {
            error_ = "option --format wants text or html, not " + inQuotes(value);
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
        }
    }

    void checkTraceCombination() {
        if (!line_.inputs.empty()) {
            error_ = "unexpected argument " + inQuotes(line_.inputs[0]) +
                     "; with --trace the picture is the input";
        } else if (!line_.outputDirectory.empty() || jobsGiven_) {
            error_ = "--trace renders one picture; -d and -j are for drawings";
        } else if (formatGiven_ && !line_.output.empty()) {
            error_ = "--format is for standard output and -d; with -o the file's extension chooses";
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

}  // namespace

ParseResult parseCommandLine(std::span<const std::string_view> arguments) {
    return Parser(arguments).run();
}

std::string usageText() {
    return R"(Usage: penmoji-render [options] INPUT.pmj [-o OUTPUT]
       penmoji-render [options] -d OUTDIR INPUT.pmj...
       penmoji-render [options] --trace IMAGE [-o OUTPUT] [--trace-save OUT.pmj]
       penmoji-render --glyph-table

Renders Penmoji vector drawings as proportional-font text art.

Output:
  -o FILE                   write FILE: an HTML page when its extension is "html" (any
                            letter case), otherwise the text followed by one NUL byte;
                            without -o the text goes to standard output
  -d OUTDIR                 render every INPUT into OUTDIR (created if missing): NAME.pmj
                            becomes OUTDIR/NAME.txt, or OUTDIR/NAME.html with --format html;
                            a failed file does not stop the others
  -j N                      with -d, render N files at once (default: one per core)
  --format text|html        what to write to standard output or into OUTDIR (default text;
                            text to standard output has no NUL)
  --encoding shift_jis|utf-8
                            the output's encoding (default shift_jis); an HTML page in
                            UTF-8 declares UTF-8 as its charset
  --trim                    drop the empty rows at the top and the left margin, as the
                            editor's copy does (the drawing moves by whole rows and scan
                            steps, so the art is what the same drawing at the top left gives)

Rendering (out-of-range values are clamped):
  --dots                    blanks may contain "." (dots)
  --no-entities             no "&nbsp;", "&ensp;" or "&thinsp;" in blanks
  --no-underscores          no "_" for consecutive half-width spaces
  --no-strict-half-spaces   allow consecutive half-width spaces to keep positions exact
  --threshold X             least inner product of a matching stroke, 0 to 1 (default 0.85)
  --scan-step N             pixels the scan advances over empty space, 2 to 11 (default 2)
  --priority-scale X        factor on each glyph's priority, 0 to 2 (default 1)
  --fine                    fine matching: each row chosen as a whole on the font's pixels,
                            from more characters (slower; the three options above then
                            have no effect)

Tracing a picture (PNG, JPEG, BMP, GIF and what else Qt's image plugins read):
  --trace IMAGE             trace the dark lines of IMAGE into a drawing, one canvas pixel a
                            picture pixel, and render that drawing
  --trace-save FILE         also keep the traced drawing as FILE (a .pmj drawing)
  --trace-threshold auto|N  grey levels up to N (0 to 254) are ink (default auto: Otsu's
                            level between the picture's dark and light)
  --trace-tolerance PX      how far a simplified line may leave the traced centre line, 0 to
                            100 (default 1)
  --trace-min-length PX     loose strokes and loose-ended branches shorter than this are
                            dropped as specks, 0 to 10000 (default 5)
  A drawing holds 200 vectors of 200 points: longer lines are cut into several vectors and,
  when there are still too many, the shortest lines are left out, as the summary on standard
  error says (not with --quiet).

Other:
  --glyph-table             print the glyph table as JSON and exit
  --quiet                   no progress bar (shown only when standard error is a terminal)
  --max-seconds N           give up after N seconds (1 to 86400): stop, write nothing,
                            exit 1
  --version                 print the version and exit
  -h, --help                show this help and exit

Exit status: 0 on success, 1 when a file cannot be read, is refused or cannot be written
(with -d: when any of them failed, each named at the end), when memory runs out or when
--max-seconds is up, 2 on bad usage. SIGINT and SIGTERM stop the rendering; the output
file is left as it was (standard output keeps what was already written).
)";
}

std::string versionText() {
    return std::string("penmoji-render ") + PENMOJI_VERSION + "\n";
}

}  // namespace penmoji::cli
