// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/drawing_interchange.h"
#include "cli/file_rendering.h"
#include "compose/board_limits.h"
#include "compose/output_writers.h"
#include "compose/render_settings.h"
#include "document/placed_text.h"
#include "trace/trace.h"

namespace penmoji::cli {

// The art's characters beyond which a rendering gives up unless told otherwise: far above the
// largest drawing the editor makes, low enough that a hostile drawing ends in a few seconds in
// either mode. --help says the figure.
inline constexpr unsigned kDefaultMaxCharacters = 100'000;

// What to do, once every argument has been checked.
// Text art to place on every rendered drawing: --paste FILE@X,Y.
struct PasteRequest {
    std::string file;
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const PasteRequest&, const PasteRequest&) = default;
};

enum class Action { Render, Trace, PrintGlyphTable, PrintHelp, PrintVersion };

struct CommandLine {
    Action action = Action::Render;
    // One, or any number with an output directory.
    std::vector<std::string> inputs;
    // Empty: the text goes to standard output (or into the output directory). An input "-" is
    // standard input.
    std::string output;
    // Empty: no batch.
    std::string outputDirectory;
    // For standard output and the output directory; a file's format follows its extension.
    OutputFormat format = OutputFormat::PlainText;
    // With -d: pictures (NAME.png) instead of `format`.
    bool pictures = false;
    Encoding encoding = Encoding::ShiftJis;
    // Drawings rendered at once in a batch; 0 for one per core.
    unsigned jobs = 0;
    bool quiet = false;
    // Drop the empty top rows and the left margin, as the editor's copy does.
    bool trim = false;
    // Seconds after which the program gives up; 0 for no limit.
    unsigned maxSeconds = 0;
    // The most characters the art may hold; 0 for no limit.
    unsigned maxCharacters = kDefaultMaxCharacters;
    // Already clamped.
    RenderSettings settings;
    // The entity blanks as Unicode characters (UTF-8 text only).
    bool unicodeBlanks = false;
    // An SVG input fitted into this canvas instead of taken at 1:1.
    std::optional<CanvasSize> fit;
    // For an output named *.png.
    PictureOptions picture;
    // Where the drawing's vectors go as SVG; empty for nowhere.
    std::string exportSvg;
    // The MLT file the art is added to as a new page; empty for none.
    std::string appendMlt;
    // The board whose limits the art must keep; null for none.
    const BoardProfile* board = nullptr;
    // Add the art to the MLT file in pages that each fit the board.
    bool splitPages = false;

    // "-o -": the text goes to standard output beside any other output.
    bool standardOutputAsked = false;

    // Whether the rendered text goes to standard output: when no file is asked for, or "-o -".
    bool textToStandardOutput() const {
        return standardOutputAsked || (output.empty() && outputDirectory.empty() &&
                                       exportSvg.empty() && appendMlt.empty());
    }
    // Whether outputs beside the text or a board's check need the whole text before writing.
    bool needsWholeText() const {
        return !exportSvg.empty() || !appendMlt.empty() || board != nullptr;
    }
    // Whether the drawing is rendered at all: --export-svg alone only converts.
    bool rendersText() const {
        return exportSvg.empty() || !output.empty() || !appendMlt.empty() || board != nullptr;
    }
    // With Action::Trace: the picture traced at one canvas pixel a picture pixel, how, and
    // where the traced drawing is kept (empty: nowhere).
    // In the order given; a later piece lies over an earlier one.
    std::vector<PasteRequest> pastes;
    // The pieces read from `pastes`, filled in before anything renders.
    PlacedText pasted;
    // The text placed in the editor, kept beside a drawing, is left out.
    bool noPlacedText = false;

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

// One option the command line takes, by the name it is given with.
struct OptionName {
    std::string_view name;
    // What --help shows for its value ("FILE", "text|html|png"); empty for an option without one.
    std::string_view value = {};
    bool takesValue() const { return !value.empty(); }
};

// Every option by each of its names, in the order of the parser's table: what the shell
// completion offers and the manual page documents.
std::vector<OptionName> optionNames();

// The --version line, ending in a line feed.
std::string versionText();

}  // namespace penmoji::cli
