// penmoji-render: renders vector drawings into text art without the editor.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/batch_render.h"
#include "cli/command_line.h"
#include "cli/file_rendering.h"
#include "cli/glyph_table_json.h"
#include "cli/picture_tracing.h"
#include "cli/progress_bar.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
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

OutputOptions outputOptions(const CommandLine& line, OutputFormat format) {
    return {line.settings, format, line.encoding};
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
    const EncodedOutput encoded =
        encodeOutput(text, line.format, Destination::StandardOutput, line.encoding);
    if (!encoded.bytes) {
        return report({input, encoded.error});
    }
    std::cout.write(encoded.bytes->data(), static_cast<std::streamsize>(encoded.bytes->size()));
    std::cout.flush();
    return std::cout ? 0 : report({"standard output", "write error"});
}

int renderToStandardOutput(const CommandLine& line) {
    const std::string& input = line.inputs.front();
    // About 320 KB: too much for the stack.
    auto document = std::make_unique<VectorSet>();
    if (const FileStatus status = loadVectorFile(input, *document); !status.ok()) {
        return report({input, status.reason()});
    }
    return writeToStandardOutput(input, renderDocument(*document, line), line);
}

OutputFormat formatOfFile(const std::string& output) {
    const std::string extension = std::filesystem::path(output).extension().string();
    return outputFormatFor(std::string_view(extension).substr(extension.empty() ? 0 : 1));
}

// Traces the picture, keeps the drawing when asked to, and renders it as a drawing is.
int traceAndRender(const CommandLine& line) {
    const TracedPicture traced = tracePicture(line.traceImage, line.traceOptions);
    if (!traced.drawing) {
        return report({line.traceImage, traced.error});
    }
    if (!line.quiet) {
        std::cerr << kProgram << ": " << line.traceImage << ": " << describeTracing(traced.report)
                  << '\n';
    }
    if (!line.traceSave.empty()) {
        if (const FileStatus status = writeFileAtomically(
                line.traceSave, [&](std::ostream& out) { return traced.drawing->writeTo(out); });
            !status.ok()) {
            return report({line.traceSave, status.reason()});
        }
    }
    const std::string text = renderDocument(*traced.drawing, line);
    if (line.output.empty()) {
        return writeToStandardOutput(line.traceImage, text, line);
    }
    const auto failure = writeRenderedFile(text, line.traceImage, line.output,
                                           outputOptions(line, formatOfFile(line.output)));
    return failure ? report(*failure) : 0;
}

int renderToFile(const CommandLine& line) {
    const OutputFormat format = formatOfFile(line.output);
    NoProgress silent;
    const auto bar = progressBarFor(line);
    const auto failure = renderFile(line.inputs.front(), line.output, outputOptions(line, format),
                                    bar ? static_cast<ProgressReceiver&>(*bar) : silent);
    if (bar) {
        bar->finish();
    }
    return failure ? report(*failure) : 0;
}

int renderIntoDirectory(const CommandLine& line) {
    const std::vector<BatchJob> jobs = batchJobs(line.inputs, line.outputDirectory, line.format);
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
        case Action::Trace:
            return traceAndRender(line);
        case Action::Render:
            break;
    }
    if (!line.outputDirectory.empty()) {
        return renderIntoDirectory(line);
    }
    return line.output.empty() ? renderToStandardOutput(line) : renderToFile(line);
}
