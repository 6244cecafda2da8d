// penmoji-render: renders a vector drawing into text art without the editor.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/glyph_table_json.h"
#include "cli/progress_bar.h"
#include "cli/shift_jis_to_utf8.h"
#include "compose/output_writers.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "document/atomic_file.h"
#include "document/vector_file.h"
#include "render/glyph_box_list.h"

namespace {

using namespace penmoji;
using namespace penmoji::cli;

constexpr std::string_view kProgram = "penmoji-render";
constexpr int kFailure = 1;
constexpr int kBadUsage = 2;

// Some of the core's reasons already name the file ("cannot open a.pmj for reading"), others
// do not ("record 3 has point count 900"); the message names it once either way.
int reportFileFailure(const std::string& file, const std::string& reason) {
    std::cerr << kProgram << ": ";
    if (reason.find(file) == std::string::npos) {
        std::cerr << file << ": ";
    }
    std::cerr << reason << '\n';
    return kFailure;
}

std::string renderDocument(const VectorSet& document, const CommandLine& line) {
    RandomGenerator random;
    if (line.quiet || isatty(STDERR_FILENO) == 0) {
        NoProgress silent;
        return renderText(document, line.settings, random, silent)->text;
    }
    ProgressBar bar(std::cerr);
    std::string text = renderText(document, line.settings, random, bar)->text;
    bar.finish();
    return text;
}

OutputFormat formatOf(const CommandLine& line) {
    if (line.output.empty()) {
        return line.stdoutFormat;
    }
    const std::string extension = std::filesystem::path(line.output).extension().string();
    return outputFormatFor(std::string_view(extension).substr(extension.empty() ? 0 : 1));
}

// The page declares its charset; left at Shift_JIS over UTF-8 bytes, browsers show garbage.
void declareUtf8(std::string& page) {
    constexpr std::string_view kShiftJis = "charset=Shift_JIS";
    if (const auto at = page.find(kShiftJis); at != std::string::npos) {
        page.replace(at, kShiftJis.size(), "charset=UTF-8");
    }
}

int writeOutput(const CommandLine& line, const std::string& bytes) {
    if (line.output.empty()) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return std::cout ? 0 : reportFileFailure("standard output", "write error");
    }
    const FileStatus status = writeFileAtomically(line.output, [&](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return out ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, "write error");
    });
    return status.ok() ? 0 : reportFileFailure(line.output, status.reason());
}

int render(const CommandLine& line) {
    // Refused before the rendering, which may take long, rather than when writing.
    if (!line.output.empty() && sameFile(line.input, line.output)) {
        return reportFileFailure(line.output, "is the input drawing; refusing to write over it");
    }
    // About 640 KB: too much for the stack.
    auto document = std::make_unique<VectorSet>();
    if (const FileStatus status = loadVectorFile(line.input, *document); !status.ok()) {
        return reportFileFailure(line.input, status.reason());
    }
    const std::string text = renderDocument(*document, line);

    // A file gets exactly what the editor's render-as writes; the terminal gets no NUL.
    const OutputFormat format = formatOf(line);
    std::ostringstream out;
    if (line.output.empty() && format == OutputFormat::PlainText) {
        out << text;
    } else {
        // Writing into memory cannot fail.
        (void)writeRenderedText(out, text, format);
    }
    std::string bytes = std::move(out).str();

    if (line.encoding == Encoding::Utf8) {
        Conversion converted = shiftJisToUtf8(bytes);
        if (!converted.ok) {
            std::cerr << kProgram << ": cannot convert the output to UTF-8: " << converted.error
                      << '\n';
            return kFailure;
        }
        bytes = std::move(converted.text);
        if (format == OutputFormat::HtmlPage) {
            declareUtf8(bytes);
        }
    }
    return writeOutput(line, bytes);
}

int printGlyphTable() {
    writeGlyphTableJson(std::cout);
    std::cout.flush();
    return std::cout ? 0 : reportFileFailure("standard output", "write error");
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ParseResult parsed = parseCommandLine(arguments);
    if (!parsed.commandLine) {
        std::cerr << kProgram << ": " << parsed.error << "\nTry '" << kProgram
                  << " --help' for more information.\n";
        return kBadUsage;
    }
    const CommandLine& line = *parsed.commandLine;
    switch (line.action) {
        case Action::PrintHelp:
            std::cout << usageText();
            return std::cout.flush() ? 0 : kFailure;
        case Action::PrintGlyphTable:
            return printGlyphTable();
        case Action::Render:
            break;
    }
    return render(line);
}
