#include "cli/file_rendering.h"

#include <memory>
#include <ostream>
#include <sstream>

#include "cli/shift_jis_to_utf8.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "document/atomic_file.h"
#include "document/vector_file.h"

namespace penmoji::cli {
namespace {

// The page declares its charset; left at Shift_JIS over UTF-8 bytes, browsers show garbage.
void declareUtf8(std::string& page) {
    constexpr std::string_view kShiftJis = "charset=Shift_JIS";
    if (const auto at = page.find(kShiftJis); at != std::string::npos) {
        page.replace(at, kShiftJis.size(), "charset=UTF-8");
    }
}

FileStatus writeBytes(const std::filesystem::path& output, const std::string& bytes) {
    return writeFileAtomically(output, [&](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return out ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, "write error");
    });
}

}  // namespace

std::string describeFailure(const FileFailure& failure) {
    if (failure.reason.find(failure.file) != std::string::npos) {
        return failure.reason;
    }
    return failure.file + ": " + failure.reason;
}

EncodedOutput encodeOutput(std::string_view text, OutputFormat format, Destination destination,
                           Encoding encoding) {
    std::string bytes;
    if (destination == Destination::StandardOutput && format == OutputFormat::PlainText) {
        bytes = text;
    } else {
        std::ostringstream out;
        // Writing into memory cannot fail.
        (void)writeRenderedText(out, text, format);
        bytes = std::move(out).str();
    }
    if (encoding == Encoding::ShiftJis) {
        return {std::move(bytes), {}};
    }
    Conversion converted = shiftJisToUtf8(bytes);
    if (!converted.ok) {
        return {std::nullopt, "cannot convert the output to UTF-8: " + converted.error};
    }
    if (format == OutputFormat::HtmlPage) {
        declareUtf8(converted.text);
    }
    return {std::move(converted.text), {}};
}

std::optional<FileFailure> renderFile(const std::string& input, const std::filesystem::path& output,
                                      const OutputOptions& options, ProgressReceiver& progress) {
    // Refused before the rendering, which may take long, rather than when writing.
    if (sameFile(input, output)) {
        return FileFailure{output.string(), "is the input drawing; refusing to write over it"};
    }
    // About 320 KB: too much for a thread's stack.
    auto document = std::make_unique<VectorSet>();
    if (const FileStatus status = loadVectorFile(input, *document); !status.ok()) {
        return FileFailure{input, status.reason()};
    }
    RandomGenerator random;
    std::optional<RenderResult> rendered =
        renderText(*document, options.settings, random, progress);
    if (!rendered) {
        return FileFailure{input, "the rendering was stopped"};
    }
    return writeRenderedFile(rendered->text, input, output, options);
}

std::optional<FileFailure> writeRenderedFile(std::string_view text, const std::string& input,
                                             const std::filesystem::path& output,
                                             const OutputOptions& options) {
    const EncodedOutput encoded =
        encodeOutput(text, options.format, Destination::File, options.encoding);
    if (!encoded.bytes) {
        return FileFailure{input, encoded.error};
    }
    if (const FileStatus status = writeBytes(output, *encoded.bytes); !status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    return std::nullopt;
}

}  // namespace penmoji::cli
