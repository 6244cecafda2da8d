#include "cli/file_rendering.h"

#include <memory>
#include <optional>
#include <ostream>

#include "cli/shift_jis_to_utf8.h"
#include "compose/random_generator.h"
#include "compose/trimmed_drawing.h"
#include "document/atomic_file.h"
#include "document/vector_file.h"

namespace penmoji::cli {
namespace {

// Where the text goes on its way out: straight to the destination, or through a conversion to
// UTF-8 first.
class EncodedStream {
public:
    EncodedStream(std::ostream& out, Encoding encoding) : out_(out) {
        if (encoding == Encoding::Utf8) {
            converter_.emplace(out);
            converted_.emplace(&*converter_);
        }
    }

    std::ostream& stream() { return converted_ ? *converted_ : out_; }
    // The page's charset when the bytes are converted.
    std::string_view charset() const { return converter_ ? "UTF-8" : kShiftJisCharset; }

    // Converts what is left; the reason the conversion failed, if it did.
    std::optional<std::string> finish() {
        if (!converter_ || converter_->finish()) {
            return std::nullopt;
        }
        return conversionError();
    }
    std::optional<std::string> conversionError() const {
        if (!converter_ || converter_->error().empty()) {
            return std::nullopt;
        }
        return "cannot convert the output to UTF-8: " + converter_->error();
    }

private:
    std::ostream& out_;
    std::optional<Utf8ConvertingBuffer> converter_;
    std::optional<std::ostream> converted_;
};

}  // namespace

std::string describeFailure(const FileFailure& failure) {
    if (failure.reason.find(failure.file) != std::string::npos) {
        return failure.reason;
    }
    return failure.file + ": " + failure.reason;
}

namespace {

// The trimmed art is made whole before it is written: its empty top rows are only known to be
// leading once a row with a character follows them.
RenderEnd writeTrimmedText(const VectorSet& document, const RenderSettings& settings,
                           RandomGenerator& random, ProgressReceiver& progress, std::ostream& out) {
    CheckedRendering rendered =
        renderTextChecked(trimmedDrawing(document, settings), settings, random, progress);
    if (rendered.end != RenderEnd::Complete) {
        return rendered.end;
    }
    std::string& text = rendered.result->text;
    dropLeadingEmptyRows(text);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? RenderEnd::Complete : RenderEnd::WriteFailed;
}

}  // namespace

StreamedOutput writeRendering(const VectorSet& document, const OutputOptions& options,
                              Destination destination, std::ostream& out,
                              ProgressReceiver& progress) {
    EncodedStream encoded(out, options.encoding);
    RenderedTextStream text(encoded.stream(), options.format,
                            destination == Destination::File ? TextEnd::Nul : TextEnd::Bare,
                            encoded.charset());
    RandomGenerator random;
    GlyphBoxList boxes;
    const RenderEnd end =
        options.trim
            ? writeTrimmedText(document, options.settings, random, progress, text.body())
            : renderTextTo(document, options.settings, random, progress, text.body(), boxes);
    const bool written = end == RenderEnd::Complete && text.finish().ok();
    const std::optional<std::string> conversionFailure =
        end == RenderEnd::Complete ? encoded.finish() : encoded.conversionError();
    if (conversionFailure) {
        return {RenderEnd::WriteFailed, *conversionFailure};
    }
    if (end != RenderEnd::Complete) {
        return {end, std::string(describeRenderEnd(end))};
    }
    if (!written || !out.flush()) {
        return {RenderEnd::WriteFailed, std::string(describeRenderEnd(RenderEnd::WriteFailed))};
    }
    return {};
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
    return renderDrawingFile(*document, input, output, options, progress);
}

std::optional<FileFailure> renderDrawingFile(const VectorSet& document, const std::string& input,
                                             const std::filesystem::path& output,
                                             const OutputOptions& options,
                                             ProgressReceiver& progress) {
    StreamedOutput rendered;
    const FileStatus status = writeFileAtomically(output, [&](std::ostream& out) {
        rendered = writeRendering(document, options, Destination::File, out, progress);
        return rendered.end == RenderEnd::Complete
                   ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, rendered.reason);
    });
    if (rendered.end != RenderEnd::Complete && rendered.end != RenderEnd::WriteFailed) {
        // Stopped or out of memory: about the rendering, not the file.
        return FileFailure{input, rendered.reason, rendered.end == RenderEnd::Stopped};
    }
    if (!status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    return std::nullopt;
}

}  // namespace penmoji::cli
