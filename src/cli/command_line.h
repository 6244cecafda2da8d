#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "compose/output_writers.h"
#include "compose/render_settings.h"

namespace penmoji::cli {

enum class Encoding { ShiftJis, Utf8 };

// What to do, once every argument has been checked.
enum class Action { Render, PrintGlyphTable, PrintHelp };

struct CommandLine {
    Action action = Action::Render;
    std::string input;
    // Empty: the text goes to standard output.
    std::string output;
    // Only for standard output; a file's format follows its extension.
    OutputFormat stdoutFormat = OutputFormat::PlainText;
    Encoding encoding = Encoding::ShiftJis;
    bool quiet = false;
    // Already clamped.
    RenderSettings settings;
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

}  // namespace penmoji::cli
