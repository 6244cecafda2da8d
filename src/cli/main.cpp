// penmoji-render: renders vector drawings into text art without the editor.

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/batch_render.h"
#include "cli/command_line.h"
#include "cli/drawing_interchange.h"
#include "cli/file_rendering.h"
#include "cli/glyph_table_json.h"
#include "cli/progress_bar.h"
#include "compose/board_limits.h"
#include "compose/mlt_file.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/vector_svg.h"
#include "document/atomic_file.h"
#include "document/vector_file.h"

namespace {

using namespace penmoji;
using namespace penmoji::cli;

constexpr std::string_view kProgram = "penmoji-render";
constexpr int kFailure = 1;
constexpr int kBadUsage = 2;

int report(const FileFailure& failure) {
    std::cerr << kProgram << ": " << describeFailure(failure) << '\n';
    return kFailure;
}

bool showsProgress(const CommandLine& line) {
    return !line.quiet && isatty(STDERR_FILENO) != 0;
}

// Says what an SVG input's reading left out, on standard error.
void printNote(const std::string& input, const std::string& note) {
    static std::mutex lock;
    const std::lock_guard guard(lock);
    std::cerr << kProgram << ": " << input << ": " << note << '\n';
}

OutputOptions outputOptions(const CommandLine& line, OutputFormat format) {
    return {line.settings, format,   line.encoding, line.unicodeBlanks,
            line.picture,  line.fit, printNote};
}

// The bar, when there is a terminal to show it on.
std::unique_ptr<ProgressBar> progressBarFor(const CommandLine& line) {
    return showsProgress(line) ? std::make_unique<ProgressBar>(std::cerr) : nullptr;
}

std::string renderDocument(const VectorSet& document, const CommandLine& line) {
    RandomGenerator random;
    NoProgress silent;
    const auto bar = progressBarFor(line);
    std::optional<RenderResult> rendered = renderText(
        document, line.settings, random, bar ? static_cast<ProgressReceiver&>(*bar) : silent);
    if (bar) {
        bar->finish();
    }
    return rendered ? std::move(rendered->text) : std::string();
}

int writeToStandardOutput(const std::string& input, const std::string& text,
                          const CommandLine& line) {
    const EncodedOutput encoded = encodeOutput(text, line.format, Destination::StandardOutput,
                                               line.encoding, line.unicodeBlanks);
    if (!encoded.bytes) {
        return report({input, encoded.error});
    }
    std::cout.write(encoded.bytes->data(), static_cast<std::streamsize>(encoded.bytes->size()));
    std::cout.flush();
    return std::cout ? 0 : report({"standard output", "write error"});
}

// The pages the art goes into the MLT file as: the whole art, or pages that fit the board.
std::optional<std::vector<std::string>> mltPages(const std::string& input, const std::string& text,
                                                 const CommandLine& line) {
    if (!line.splitPages) {
        return std::vector<std::string>{text};
    }
    PageSplit split = splitIntoPages(text, *line.board);
    if (!split.oversizedRows.empty()) {
        std::string rows;
        for (const int row : split.oversizedRows) {
            rows += (rows.empty() ? "" : ", ") + std::to_string(row);
        }
        const bool one = split.oversizedRows.size() == 1;
        report({input, (one ? "row " : "rows ") + rows + (one ? " alone exceeds" : " each exceed") +
                           " board \"" + std::string(line.board->name) + "\"; nothing written"});
        return std::nullopt;
    }
    return std::move(split.pages);
}

// An output that would replace the input drawing, if any.
std::optional<std::string> outputOverInput(const CommandLine& line) {
    const std::string& input = line.inputs.front();
    for (const std::string& output : {line.output, line.exportSvg, line.appendMlt}) {
        if (!output.empty() && sameFile(input, output)) {
            return output;
        }
    }
    return std::nullopt;
}

// One input: read (a drawing or an SVG picture), then each output asked for.
int renderOne(const CommandLine& line) {
    const std::string& input = line.inputs.front();
    if (const auto clash = outputOverInput(line)) {
        return report({*clash, "is the input drawing; refusing to write over it"});
    }
    const OutputOptions options = outputOptions(line, line.format);
    // About 320 KB: too much for the stack.
    auto drawing = std::make_unique<VectorSet>();
    if (const auto failure = loadDrawing(input, options, *drawing)) {
        return report(*failure);
    }
    if (!line.exportSvg.empty()) {
        if (const FileStatus status = saveVectorSvg(line.exportSvg, *drawing, input);
            !status.ok()) {
            return report({line.exportSvg, status.reason()});
        }
    }
    if (!line.rendersText()) {
        return 0;
    }
    const std::string text = renderDocument(*drawing, line);
    if (line.board != nullptr && !line.splitPages) {
        const BoardCheck check = checkBoardLimits(text, *line.board);
        if (!check.fits()) {
            return report({input, "the art exceeds board \"" + std::string(line.board->name) +
                                      "\": " + describeBoardCheck(check, *line.board)});
        }
    }
    if (!line.appendMlt.empty()) {
        const auto pages = mltPages(input, text, line);
        if (!pages) {
            return kFailure;
        }
        if (const FileStatus status = appendToMltFile(line.appendMlt, *pages); !status.ok()) {
            return report({line.appendMlt, status.reason()});
        }
    }
    if (!line.output.empty()) {
        if (const auto failure = writeRendering(line.output, text, *drawing, options, input)) {
            return report(*failure);
        }
    }
    return line.textToStandardOutput() ? writeToStandardOutput(input, text, line) : 0;
}

int renderIntoDirectory(const CommandLine& line) {
    std::vector<BatchJob> jobs = batchJobs(line.inputs, line.outputDirectory, line.format);
    if (line.pictures) {
        for (BatchJob& job : jobs) {
            job.output.replace_extension(".png");
        }
    }
    if (const auto clash = findSharedOutput(jobs)) {
        std::cerr << kProgram << ": " << *clash << '\n';
        return kBadUsage;
    }
    std::error_code error;
    std::filesystem::create_directories(line.outputDirectory, error);
    if (error) {
        return report({line.outputDirectory, "cannot create the directory: " + error.message()});
    }

    const auto bar = progressBarFor(line);
    BatchProgress progress;
    if (bar) {
        progress = [&bar](std::size_t done, std::size_t total) {
            bar->reportProgress(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total));
        };
    }
    const unsigned threads = line.jobs != 0 ? line.jobs : defaultJobCount();
    const std::vector<FileFailure> failures =
        renderBatch(jobs, outputOptions(line, line.format), threads, progress);
    if (bar) {
        bar->finish();
    }
    if (failures.empty()) {
        return 0;
    }
    for (const FileFailure& failure : failures) {
        report(failure);
    }
    std::cerr << kProgram << ": " << failures.size() << " of " << jobs.size() << " files failed\n";
    return kFailure;
}

bool needsQt(const CommandLine& line) {
    const auto svg = [](const std::string& input) { return isSvgFile(input); };
    return line.pictures || isPngFile(line.output) ||
           std::any_of(line.inputs.begin(), line.inputs.end(), svg);
}

int printText(const std::string& text) {
    std::cout << text;
    return std::cout.flush() ? 0 : kFailure;
}

int printGlyphTable() {
    writeGlyphTableJson(std::cout);
    std::cout.flush();
    return std::cout ? 0 : report({"standard output", "write error"});
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
            return printText(usageText());
        case Action::PrintVersion:
            return printText(versionText());
        case Action::PrintGlyphTable:
            return printGlyphTable();
        case Action::Render:
            break;
    }
    // Qt is set up here, on the main thread, before a batch's threads may need it.
    if (needsQt(line)) {
        prepareQtInterchange();
    }
    if (!line.outputDirectory.empty()) {
        return renderIntoDirectory(line);
    }
    return renderOne(line);
}
