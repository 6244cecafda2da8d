#include "cli/file_rendering.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <sstream>

#include "cli/shift_jis_to_utf8.h"
#include "compose/random_generator.h"
#include "compose/render_driver.h"
#include "compose/unicode_blanks.h"
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

bool hasExtension(const std::filesystem::path& path, std::string_view wanted) {
    const std::string extension = path.extension().string();
    return std::equal(
        extension.begin(), extension.end(), wanted.begin(), wanted.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

bool isSvgFile(const std::filesystem::path& path) {
    return hasExtension(path, ".svg");
}

bool isPngFile(const std::filesystem::path& path) {
    return hasExtension(path, ".png");
}

std::string describeFailure(const FileFailure& failure) {
    if (failure.reason.find(failure.file) != std::string::npos) {
        return failure.reason;
    }
    return failure.file + ": " + failure.reason;
}

EncodedOutput encodeOutput(std::string_view text, OutputFormat format, Destination destination,
                           Encoding encoding, bool unicodeBlanks) {
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
    } else if (unicodeBlanks) {
        converted.text = replaceEntityBlanks(converted.text);
    }
    return {std::move(converted.text), {}};
}

std::optional<FileFailure> loadDrawing(const std::string& input, const OutputOptions& options,
                                       VectorSet& out) {
    if (!isSvgFile(input)) {
        if (const FileStatus status = loadVectorFile(input, out); !status.ok()) {
            return FileFailure{input, status.reason()};
        }
        return std::nullopt;
    }
    std::string note;
    if (auto failure = importSvgDrawing(input, options.fit, out, note)) {
        return failure;
    }
    if (!note.empty() && options.notes) {
        options.notes(input, note);
    }
    return std::nullopt;
}

std::optional<FileFailure> writeRendering(const std::filesystem::path& output,
                                          std::string_view text, const VectorSet& drawing,
                                          const OutputOptions& options, const std::string& input) {
    if (isPngFile(output)) {
        return writeArtPicture(output, text, drawing, options.picture, input);
    }
    const std::string extension = output.extension().string();
    const OutputFormat format =
        outputFormatFor(std::string_view(extension).substr(extension.empty() ? 0 : 1));
    const EncodedOutput encoded =
        encodeOutput(text, format, Destination::File, options.encoding, options.unicodeBlanks);
    if (!encoded.bytes) {
        return FileFailure{input, encoded.error};
    }
    if (const FileStatus status = writeBytes(output, *encoded.bytes); !status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    return std::nullopt;
}

std::optional<FileFailure> renderFile(const std::string& input, const std::filesystem::path& output,
                                      const OutputOptions& options, ProgressReceiver& progress) {
    // Refused before the rendering, which may take long, rather than when writing.
    if (sameFile(input, output)) {
        return FileFailure{output.string(), "is the input drawing; refusing to write over it"};
    }
    // About 320 KB: too much for a thread's stack.
    auto document = std::make_unique<VectorSet>();
    if (auto failure = loadDrawing(input, options, *document)) {
        return failure;
    }
    RandomGenerator random;
    std::optional<RenderResult> rendered =
        renderText(*document, options.settings, random, progress);
    if (!rendered) {
        return FileFailure{input, "the rendering was stopped"};
    }
    return writeRendering(output, rendered->text, *document, options, input);
}

}  // namespace penmoji::cli
