// SPDX-License-Identifier: MIT
// penmoji-render: renders vector drawings into text art without the editor.

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/batch_render.h"
#include "cli/command_line.h"
#include "cli/drawing_interchange.h"
#include "cli/file_rendering.h"
#include "cli/glyph_table_json.h"
#include "cli/pasted_text_art.h"
#include "cli/picture_tracing.h"
#include "cli/progress_bar.h"
#include "cli/stop_signals.h"
#include "compose/board_limits.h"
#include "compose/mlt_file.h"
#include "compose/render_driver.h"
#include "compose/streamed_rendering.h"
#include "compose/vector_svg.h"
#include "document/atomic_file.h"
#include "document/vector_file.h"

namespace {

using namespace penmoji;
using namespace penmoji::cli;

constexpr std::string_view kProgram = "penmoji-render";
constexpr int kFailure = 1;
constexpr int kBadUsage = 2;

// Renderings that a stop signal ended are not reported one by one: the signal's message says
// what happened to all of them.
int report(const FileFailure& failure) {
    if (failure.stopped) {
        return kFailure;
    }
    std::cerr << kProgram << ": " << describeFailure(failure) << '\n';
    return kFailure;
}

// Not when the art itself goes to a terminal: the bar would be mixed into it.
bool showsProgress(const CommandLine& line) {
    return !line.quiet && isatty(STDERR_FILENO) != 0 &&
           !(line.textToStandardOutput() && line.outputDirectory.empty() &&
             isatty(STDOUT_FILENO) != 0);
}

// Says what an SVG input's reading left out, on standard error.
void printNote(const std::string& input, const std::string& note) {
    static std::mutex lock;
    const std::lock_guard guard(lock);
    std::cerr << kProgram << ": " << input << ": " << note << '\n';
}

OutputOptions outputOptions(const CommandLine& line, OutputFormat format) {
    OutputOptions options{line.settings, format,   line.encoding, line.trim,  line.unicodeBlanks,
                          line.picture,  line.fit, printNote,     line.pasted};
    options.keptPlacedText = !line.noPlacedText;
    options.maxCharacters = line.maxCharacters;
    return options;
}

// The bar, when there is a terminal to show it on.
std::unique_ptr<ProgressBar> progressBarFor(const CommandLine& line) {
    return showsProgress(line) ? std::make_unique<ProgressBar>(std::cerr) : nullptr;
}

// The receiver a rendering reports to: the bar, when there is one, under the stop signals.
class RunProgress {
public:
    explicit RunProgress(const CommandLine& line)
        : bar_(progressBarFor(line)),
          stoppable_(bar_ ? static_cast<ProgressReceiver&>(*bar_) : silent_) {}
    ~RunProgress() {
        if (bar_) {
            bar_->finish();
        }
    }
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    ProgressReceiver& receiver() { return stoppable_; }

private:
    NoProgress silent_;
    std::unique_ptr<ProgressBar> bar_;
    StoppableProgress stoppable_;
};

// How a write to standard output ended, as the exit status.
int reportStandardOutput(const std::string& input, const StreamedOutput& written) {
    switch (written.end) {
        case RenderEnd::Complete:
            return 0;
        case RenderEnd::Stopped:
            return report({input, written.reason, true});
        case RenderEnd::WriteFailed:
            // The conversion's reasons name no file; a stream's failure is the terminal's.
            return report(
                {written.reason == describeRenderEnd(written.end) ? "standard output" : input,
                 written.reason});
        case RenderEnd::OutOfMemory:
        case RenderEnd::TooLarge:
            break;
    }
    return report({input, written.reason});
}

// Renders `document`, which came from `input`, to standard output.
int renderDrawingToStandardOutput(const VectorSet& document, const std::string& input,
                                  const CommandLine& line) {
    StreamedOutput written;
    {
        RunProgress progress(line);
        written = writeRendering(document, outputOptions(line, line.format),
                                 Destination::StandardOutput, std::cout, progress.receiver());
    }
    noteInexactPieces(input, written.inexactPieces, outputOptions(line, line.format));
    return reportStandardOutput(input, written);
}

int renderToStandardOutput(const CommandLine& line) {
    const std::string& input = line.inputs.front();
    // About 320 KB: too much for the stack.
    auto document = std::make_unique<VectorSet>();
    if (const auto failure = loadDrawing(input, outputOptions(line, line.format), *document)) {
        return report(*failure);
    }
    CommandLine withPlaced = line;
    if (const auto failure =
            loadPlacedTextOf(input, outputOptions(line, line.format), withPlaced.pasted)) {
        return report(*failure);
    }
    return renderDrawingToStandardOutput(*document, input, withPlaced);
}

OutputFormat formatOfFile(const std::string& output) {
    const std::string extension = std::filesystem::path(output).extension().string();
    return outputFormatFor(std::string_view(extension).substr(extension.empty() ? 0 : 1));
}

int renderToFile(const CommandLine& line) {
    std::optional<FileFailure> failure;
    {
        RunProgress progress(line);
        failure = renderFile(line.inputs.front(), line.output,
                             outputOptions(line, formatOfFile(line.output)), progress.receiver());
    }
    return failure ? report(*failure) : 0;
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

// Where the drawing comes from: its file, or the picture it was traced from.
const std::string& inputOf(const CommandLine& line) {
    return line.action == Action::Trace ? line.traceImage : line.inputs.front();
}

// An output that would replace the input drawing, if any.
std::optional<std::string> outputOverInput(const CommandLine& line) {
    const std::string& input = inputOf(line);
    for (const std::string& output :
         {line.output, line.exportSvg, line.appendMlt, line.traceSave}) {
        if (!output.empty() && sameFile(input, output)) {
            return output;
        }
    }
    return std::nullopt;
}

// The board check and the outputs made of the whole text: the MLT pages, then -o or standard
// output. Nothing is written when the art exceeds the board.
int writeWholeText(const CommandLine& line, const WholeText& whole, const VectorSet& drawing) {
    const std::string& input = inputOf(line);
    const std::string& text = whole.text;
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
    const OutputOptions options = outputOptions(line, line.format);
    if (!line.output.empty()) {
        if (const auto failure = saveRendering(line.output, whole, drawing, options)) {
            return report(*failure);
        }
    }
    if (!line.textToStandardOutput()) {
        return 0;
    }
    return reportStandardOutput(
        input, writeRenderedText(text, options, Destination::StandardOutput, std::cout));
}

// Renders the drawing into a new page of the MLT file as it is made: neither the art nor the
// pages already there are held whole.
int appendRenderingToMlt(const CommandLine& line, const VectorSet& drawing) {
    StreamedOutput written;
    FileStatus status = FileStatus::success();
    {
        RunProgress progress(line);
        status = appendStreamedPageToMltFile(line.appendMlt, [&](std::ostream& out) {
            written = writeRendering(drawing, outputOptions(line, OutputFormat::PlainText),
                                     Destination::MltPage, out, progress.receiver());
            return written.end == RenderEnd::Complete
                       ? FileStatus::success()
                       : FileStatus::failure(FileError::WriteError, written.reason);
        });
    }
    if (written.end != RenderEnd::Complete && written.end != RenderEnd::WriteFailed) {
        return report({inputOf(line), written.reason, written.end == RenderEnd::Stopped});
    }
    noteInexactPieces(inputOf(line), written.inexactPieces,
                      outputOptions(line, OutputFormat::PlainText));
    return status.ok() ? 0 : report({line.appendMlt, status.reason()});
}

// A drawing with outputs beside the rendered text (the vectors as SVG, MLT pages) or a board to
// check: the text is made whole first.
int renderDrawingWithInterchange(const CommandLine& line, const VectorSet& drawing) {
    const std::string& input = inputOf(line);
    if (!line.exportSvg.empty()) {
        if (const FileStatus status = saveVectorSvg(line.exportSvg, drawing, input); !status.ok()) {
            return report({line.exportSvg, status.reason()});
        }
    }
    if (!line.rendersText()) {
        return 0;
    }
    if (!line.appendMlt.empty() && line.board == nullptr && line.output.empty() &&
        !line.textToStandardOutput()) {
        return appendRenderingToMlt(line, drawing);
    }
    WholeText whole;
    {
        RunProgress progress(line);
        whole = renderWholeText(drawing, outputOptions(line, line.format), progress.receiver());
    }
    if (whole.end != RenderEnd::Complete) {
        return report({input, describeRenderingEnd(whole.end, outputOptions(line, line.format)),
                       whole.end == RenderEnd::Stopped});
    }
    noteInexactPieces(input, whole.inexactPieces, outputOptions(line, line.format));
    return writeWholeText(line, whole, drawing);
}

int renderWithInterchange(const CommandLine& line) {
    const std::string& input = line.inputs.front();
    if (const auto clash = outputOverInput(line)) {
        return report({*clash, "is the input drawing; refusing to write over it"});
    }
    // About 320 KB: too much for the stack.
    auto drawing = std::make_unique<VectorSet>();
    if (const auto failure = loadDrawing(input, outputOptions(line, line.format), *drawing)) {
        return report(*failure);
    }
    CommandLine withPlaced = line;
    if (const auto failure =
            loadPlacedTextOf(input, outputOptions(line, line.format), withPlaced.pasted)) {
        return report(*failure);
    }
    return renderDrawingWithInterchange(withPlaced, *drawing);
}

// Traces the picture, keeps the drawing when asked to, and renders it as a drawing is.
int traceAndRender(const CommandLine& line) {
    if (const auto clash = outputOverInput(line)) {
        return report({*clash, "is the picture being traced; refusing to write over it"});
    }
    trace::TraceOptions options = line.traceOptions;
    options.stopRequested = [] { return StopSignals::received() != 0; };
    const TracedPicture traced = tracePicture(line.traceImage, options);
    if (!traced.drawing) {
        // A stopped tracing says nothing of its own: the stop's message follows.
        return StopSignals::received() != 0 ? kFailure : report({line.traceImage, traced.error});
    }
    if (!line.quiet) {
        std::cerr << kProgram << ": " << line.traceImage << ": " << describeTracing(traced.report)
                  << '\n';
    }
    if (!line.traceSave.empty()) {
        if (const FileStatus status = saveVectorFile(line.traceSave, *traced.drawing);
            !status.ok()) {
            return report({line.traceSave, status.reason()});
        }
    }
    if (line.needsWholeText()) {
        return renderDrawingWithInterchange(line, *traced.drawing);
    }
    if (line.output.empty()) {
        return renderDrawingToStandardOutput(*traced.drawing, line.traceImage, line);
    }
    std::optional<FileFailure> failure;
    {
        RunProgress progress(line);
        failure =
            renderDrawingFile(*traced.drawing, line.traceImage, line.output,
                              outputOptions(line, formatOfFile(line.output)), progress.receiver());
    }
    return failure ? report(*failure) : 0;
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
    if (StopSignals::received() != 0) {
        return kFailure;
    }
    for (const FileFailure& failure : failures) {
        report(failure);
    }
    std::cerr << kProgram << ": " << failures.size() << " of " << jobs.size() << " files failed\n";
    return kFailure;
}

// Renders as the command line says. A stop signal ends the rendering in progress; the message
// for it replaces the rendering's own.
int render(const CommandLine& line) {
    StopSignals::install(line.maxSeconds);
    int status = 0;
    if (!line.outputDirectory.empty()) {
        status = renderIntoDirectory(line);
    } else if (line.action == Action::Trace) {
        status = traceAndRender(line);
    } else if (line.needsWholeText()) {
        status = renderWithInterchange(line);
    } else {
        status = line.output.empty() ? renderToStandardOutput(line) : renderToFile(line);
    }
    StopSignals::claimEnd();
    switch (const int signal = StopSignals::received()) {
        case 0:
            return status;
        case SIGALRM:
            std::cerr << StopSignals::endMessage(signal, line.maxSeconds);
            return kFailure;
        default:
            std::cerr << StopSignals::endMessage(signal, line.maxSeconds);
            StopSignals::endBy(signal);
    }
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
    CommandLine line = *parsed.commandLine;
    switch (line.action) {
        case Action::PrintHelp:
            return printText(usageText());
        case Action::PrintVersion:
            return printText(versionText());
        case Action::PrintGlyphTable:
            return printGlyphTable();
        case Action::Render:
        case Action::Trace:
            break;
    }
    for (const PasteRequest& paste : line.pastes) {
        PastedPiece pasted = readPastedPiece(paste);
        if (!pasted.piece) {
            std::cerr << kProgram << ": " << pasted.error << "\n";
            return kFailure;
        }
        line.pasted.push_back(std::move(*pasted.piece));
    }
    // Qt is set up here, on the main thread, before a batch's threads may need it.
    if (needsQt(line)) {
        prepareQtInterchange();
    }
    // Memory runs out in the rendering itself only in the rare case that a single row is too
    // large; the core reports that as a value. What remains are the small allocations around it.
    try {
        return render(line);
    } catch (const std::bad_alloc&) {
        std::cerr << kProgram << ": out of memory\n";
        return kFailure;
    }
}
