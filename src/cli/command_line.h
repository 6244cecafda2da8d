#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/file_rendering.h"
#include "compose/output_writers.h"
#include "compose/render_settings.h"
#include "trace/trace.h"

namespace penmoji::cli {

// What to do, once every argument has been checked.
enum class Action { Render, Trace, PrintGlyphTable, PrintHelp, PrintVersion };

struct CommandLine {
    Action action = Action::Render;
    // One, or any number with an output directory.
    std::vector<std::string> inputs;
    // Empty: the text goes to standard output (or into the output directory).
    std::string output;
    // Empty: no batch.
    std::string outputDirectory;
    // For standard output and the output directory; a file's format follows its extension.
    OutputFormat format = OutputFormat::PlainText;
    Encoding encoding = Encoding::ShiftJis;
    // Drawings rendered at once in a batch; 0 for one per core.
    unsigned jobs = 0;
    bool quiet = false;
    // Drop the empty top rows and the left margin, as the editor's copy does.
    bool trim = false;
    // Seconds after which the program gives up; 0 for no limit.
    unsigned maxSeconds = 0;
    // Already clamped.
    RenderSettings settings;
    // With Action::Trace: the picture traced at one canvas pixel a picture pixel, how, and
    // where the traced drawing is kept (empty: nowhere).
    std::string traceImage;
    trace::TraceOptions traceOptions;
    std::string traceSave;
};

// Either the command line or the one-line reason it was refused.
struct ParseResult {
    std::optional<CommandLine> commandLine;
    std::string error;
};

// `arguments` excludes the program name. A real or integer value follows the rules of the
// editor's render-settings fields, and out-of-range values are clamped, not refused, as there.
ParseResult parseCommandLine(std::span<const std::string_view> arguments);

// The --help text, ending in a line feed.
std::string usageText();

// The --version line, ending in a line feed.
std::string versionText();

}  // namespace penmoji::cli
