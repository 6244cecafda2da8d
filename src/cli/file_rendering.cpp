// SPDX-License-Identifier: MIT
#include "cli/file_rendering.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/shift_jis_to_utf8.h"
#include "compose/random_generator.h"
#include "compose/trimmed_drawing.h"
#include "compose/trimmed_text_stream.h"
#include "compose/unicode_blanks.h"
#include "document/atomic_file.h"
#include "document/placed_text_file.h"
#include "document/posix_file.h"
#include "document/vector_file.h"

namespace penmoji::cli {
namespace {

// Passes UTF-8 on to `out` with the entity blanks replaced by their characters, a block at a
// time.
class BlankReplacingBuffer final : public std::streambuf {
public:
    explicit BlankReplacingBuffer(std::ostream& out) : out_(out) { resetPutArea(); }
    ~BlankReplacingBuffer() override = default;
    BlankReplacingBuffer(const BlankReplacingBuffer&) = delete;
    BlankReplacingBuffer& operator=(const BlankReplacingBuffer&) = delete;

    // Passes on what was held back for an entity that never came.
    bool finish() {
        if (!passOn()) {
            return false;
        }
        replaced_.clear();
        replacer_.finish(replaced_);
        return write();
    }

protected:
    int_type overflow(int_type c) override {
        if (!passOn()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return passOn() ? 0 : -1; }

private:
    void resetPutArea() { setp(block_.data(), block_.data() + block_.size()); }

    bool passOn() {
        replaced_.clear();
        replacer_.feed({pbase(), static_cast<std::size_t>(pptr() - pbase())}, replaced_);
        resetPutArea();
        return write();
    }

    bool write() {
        out_.write(replaced_.data(), static_cast<std::streamsize>(replaced_.size()));
        return static_cast<bool>(out_);
    }

    std::ostream& out_;
    std::array<char, 4096> block_{};
    std::string replaced_;
    EntityBlankReplacer replacer_;
};

// Where the text goes on its way out: straight to the destination, or through a conversion to
// UTF-8 first, and then through the replacement of the entity blanks when asked.
class EncodedStream {
public:
    EncodedStream(std::ostream& out, Encoding encoding, bool unicodeBlanks) : out_(out) {
        if (encoding != Encoding::Utf8) {
            return;
        }
        std::ostream* target = &out;
        if (unicodeBlanks) {
            blanks_.emplace(out);
            blanked_.emplace(&*blanks_);
            target = &*blanked_;
        }
        converter_.emplace(*target);
        converted_.emplace(&*converter_);
    }

    std::ostream& stream() { return converted_ ? *converted_ : out_; }
    // The page's charset when the bytes are converted.
    std::string_view charset() const { return converter_ ? "UTF-8" : kShiftJisCharset; }

    // Converts what is left; the reason the conversion failed, if it did.
    std::optional<std::string> finish() {
        if (converter_ && !converter_->finish()) {
            return conversionError();
        }
        if (blanks_ && !blanks_->finish()) {
            return std::string(describeRenderEnd(RenderEnd::WriteFailed));
        }
        return std::nullopt;
    }
    std::optional<std::string> conversionError() const {
        if (!converter_ || converter_->error().empty()) {
            return std::nullopt;
        }
        return "cannot convert the output to UTF-8: " + converter_->error();
    }

private:
    std::ostream& out_;
    std::optional<BlankReplacingBuffer> blanks_;
    std::optional<std::ostream> blanked_;
    std::optional<Utf8ConvertingBuffer> converter_;
    std::optional<std::ostream> converted_;
};

bool hasExtension(const std::filesystem::path& path, std::string_view wanted) {
    const std::string extension = path.extension().string();
    return std::equal(
        extension.begin(), extension.end(), wanted.begin(), wanted.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// Writes the text that `writeBody` hands to the body of the chosen format and encoding.
template <typename WriteBody>
StreamedOutput writeEncoded(const OutputOptions& options, Destination destination,
                            std::ostream& out, WriteBody writeBody) {
    EncodedStream encoded(out, options.encoding, options.unicodeBlanks);
    RenderedTextStream text(encoded.stream(), options.format,
                            destination == Destination::File ? TextEnd::Nul : TextEnd::Bare,
                            encoded.charset());
    const RenderEnd end = writeBody(text.body());
    const bool written = end == RenderEnd::Complete && text.finish().ok();
    const std::optional<std::string> conversionFailure =
        end == RenderEnd::Complete ? encoded.finish() : encoded.conversionError();
    if (conversionFailure) {
        return {RenderEnd::WriteFailed, *conversionFailure};
    }
    if (end != RenderEnd::Complete) {
        return {end, describeRenderingEnd(end, options)};
    }
    if (!written || !out.flush()) {
        return {RenderEnd::WriteFailed, std::string(describeRenderEnd(RenderEnd::WriteFailed))};
    }
    return {};
}

RenderEnd writeText(std::string_view text, std::ostream& out) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? RenderEnd::Complete : RenderEnd::WriteFailed;
}

// A rendering that did not complete is about the input, not the output file.
FileFailure renderingFailure(const std::string& input, RenderEnd end,
                             const OutputOptions& options) {
    return {input, describeRenderingEnd(end, options), end == RenderEnd::Stopped};
}

}  // namespace

std::string describeRenderingEnd(RenderEnd end, const OutputOptions& options) {
    if (end == RenderEnd::TooLarge) {
        return "the art has more than " + std::to_string(options.maxCharacters) +
               " characters (--max-characters)";
    }
    return std::string(describeRenderEnd(end));
}

std::string describeFailure(const FileFailure& failure) {
    if (failure.reason.find(failure.file) != std::string::npos) {
        return failure.reason;
    }
    return failure.file + ": " + failure.reason;
}

bool isSvgFile(const std::filesystem::path& path) {
    return hasExtension(path, ".svg");
}

bool isPngFile(const std::filesystem::path& path) {
    return hasExtension(path, ".png");
}

bool isDrawingFile(const std::filesystem::path& path) {
    return hasExtension(path, ".pmj");
}

namespace {

// What the SVG import accepts (kMaxSvgBytes, out of reach of a build without Qt): a larger file
// is refused before it is read into memory.
constexpr std::uintmax_t kMostSvgFileBytes = std::uintmax_t{16} << 20;
// Standard input holds a drawing or an SVG picture, whose limit is the larger.
constexpr std::uintmax_t kMostStandardInputBytes = kMostSvgFileBytes;

// All of standard input, up to the limit.
std::optional<FileFailure> readStandardInput(std::string& bytes) {
    std::array<char, 1 << 16> chunk{};
    while (std::cin.read(chunk.data(), chunk.size()) || std::cin.gcount() > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(std::cin.gcount()));
        if (bytes.size() > kMostStandardInputBytes) {
            return FileFailure{
                kStandardInputName,
                "too large (more than " + posix::describeSize(kMostStandardInputBytes) + ")"};
        }
    }
    if (std::cin.bad()) {
        return FileFailure{kStandardInputName, "read error"};
    }
    return std::nullopt;
}

// What standard input holds has no name to tell by: an SVG picture is text starting with "<"
// (after blanks), or gzip data.
bool looksLikeSvg(std::string_view bytes) {
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    return (start != std::string_view::npos && bytes[start] == '<') ||
           bytes.starts_with("\x1F\x8B") || bytes.starts_with("\xEF\xBB\xBF<");
}

std::optional<FileFailure> importSvgBytes(const std::string& input, std::string_view bytes,
                                          const OutputOptions& options, VectorSet& out) {
    std::string note;
    if (auto failure = importSvgDrawing(input, bytes, options.fit, out, note)) {
        return failure;
    }
    if (!note.empty() && options.notes) {
        options.notes(input, note);
    }
    return std::nullopt;
}

}  // namespace

bool isStandardStream(std::string_view name) {
    return name == "-";
}

std::optional<FileFailure> loadDrawing(const std::string& input, const OutputOptions& options,
                                       VectorSet& out) {
    std::string bytes;
    if (isStandardStream(input)) {
        if (auto failure = readStandardInput(bytes)) {
            return failure;
        }
        if (looksLikeSvg(bytes)) {
            return importSvgBytes(kStandardInputName, bytes, options, out);
        }
        std::istringstream in(std::move(bytes));
        if (const FileStatus status = out.readFrom(in); !status.ok()) {
            return FileFailure{kStandardInputName, status.reason()};
        }
        return std::nullopt;
    }
    if (!isSvgFile(input)) {
        if (const FileStatus status = loadVectorFile(input, out); !status.ok()) {
            return FileFailure{input, status.reason()};
        }
        return std::nullopt;
    }
    if (const FileStatus status = posix::readRegularFile(input, bytes, kMostSvgFileBytes);
        !status.ok()) {
        return FileFailure{input, status.reason()};
    }
    return importSvgBytes(input, bytes, options, out);
}

WholeText renderWholeText(const VectorSet& document, const OutputOptions& options,
                          ProgressReceiver& progress) {
    RandomGenerator random;
    CheckedRendering rendered =
        options.trim
            ? renderTextChecked(trimmedDrawing(document, options.settings, options.placed),
                                options.settings, random, progress,
                                trimmedPlacedText(document, options.settings, options.placed),
                                options.maxCharacters)
            : renderTextChecked(document, options.settings, random, progress, options.placed,
                                options.maxCharacters);
    if (rendered.end != RenderEnd::Complete) {
        return {rendered.end, {}};
    }
    WholeText whole{RenderEnd::Complete, std::move(rendered.result->text)};
    whole.inexactPieces = std::move(rendered.result->inexactPieces);
    if (options.trim) {
        whole.droppedRows = dropEmptyRows(whole.text);
    }
    return whole;
}

StreamedOutput writeRendering(const VectorSet& document, const OutputOptions& options,
                              Destination destination, std::ostream& out,
                              ProgressReceiver& progress) {
    std::vector<std::size_t> inexact;
    StreamedOutput written = writeEncoded(options, destination, out, [&](std::ostream& body) {
        RandomGenerator random;
        GlyphBoxList boxes;
        if (!options.trim) {
            return renderTextTo(document, options.settings, random, progress, body, boxes,
                                options.placed, &inexact, options.maxCharacters);
        }
        EmptyRowsDropper dropper(body);
        std::ostream trimmed(&dropper);
        const RenderEnd end = renderTextTo(
            trimmedDrawing(document, options.settings, options.placed), options.settings, random,
            progress, trimmed, boxes, trimmedPlacedText(document, options.settings, options.placed),
            &inexact, options.maxCharacters);
        if (end != RenderEnd::Complete) {
            return end;
        }
        return dropper.finish() ? RenderEnd::Complete : RenderEnd::WriteFailed;
    });
    written.inexactPieces = std::move(inexact);
    return written;
}

void noteInexactPieces(const std::string& input, std::span<const std::size_t> pieces,
                       const OutputOptions& options) {
    if (pieces.empty() || !options.notes) {
        return;
    }
    std::string list;
    for (const std::size_t piece : pieces) {
        list += (list.empty() ? "" : ", ") + std::to_string(piece + 1);
    }
    const bool one = pieces.size() == 1;
    options.notes(input, std::string(one ? "placed piece " : "placed pieces ") + list +
                             " cannot be written exactly on " + (one ? "its" : "their") +
                             " pixels (a gap narrower than any blank, or a place off the "
                             "canvas); written nearest");
}

StreamedOutput writeRenderedText(std::string_view text, const OutputOptions& options,
                                 Destination destination, std::ostream& out) {
    return writeEncoded(options, destination, out,
                        [&](std::ostream& body) { return writeText(text, body); });
}

// The drawing with its placed text beside it; an empty placed text removes one left from a
// drawing that was there before.
std::optional<FileFailure> saveDrawing(const std::filesystem::path& output,
                                       const VectorSet& drawing, const PlacedText& placed) {
    if (const FileStatus status = saveVectorFile(output, drawing); !status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    if (const FileStatus status = savePlacedText(output, placed); !status.ok()) {
        return FileFailure{placedTextPath(output).string(), status.reason()};
    }
    return std::nullopt;
}

std::optional<FileFailure> saveRendering(const std::filesystem::path& output,
                                         const WholeText& whole, const VectorSet& drawing,
                                         const OutputOptions& options) {
    if (isDrawingFile(output)) {
        return saveDrawing(output, drawing, options.placed);
    }
    if (isPngFile(output)) {
        if (!options.trim || !options.picture.withDrawing) {
            return writeArtPicture(output, whole.text, drawing, options.picture);
        }
        const auto moved = std::make_unique<VectorSet>(
            drawingUnderTrimmedArt(drawing, options.settings, whole.droppedRows, options.placed));
        return writeArtPicture(output, whole.text, *moved, options.picture);
    }
    const std::string_view text = whole.text;
    const std::string extension = output.extension().string();
    OutputOptions fileOptions = options;
    fileOptions.format =
        outputFormatFor(std::string_view(extension).substr(extension.empty() ? 0 : 1));
    StreamedOutput written;
    const FileStatus status = writeFileAtomically(
        output,
        [&](std::ostream& out) {
            written = writeRenderedText(text, fileOptions, Destination::File, out);
            return written.end == RenderEnd::Complete
                       ? FileStatus::success()
                       : FileStatus::failure(FileError::WriteError, written.reason);
        },
        {}, options.directorySync, options.commits);
    if (!status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    return std::nullopt;
}

std::optional<FileFailure> loadPlacedTextOf(const std::string& input, const OutputOptions& options,
                                            PlacedText& out) {
    PlacedText kept;
    if (options.keptPlacedText && !isStandardStream(input) && !isSvgFile(input)) {
        if (const FileStatus status = loadPlacedText(input, kept); !status.ok()) {
            return FileFailure{placedTextPath(input).string(), status.reason()};
        }
    }
    kept.insert(kept.end(), options.placed.begin(), options.placed.end());
    out = std::move(kept);
    return std::nullopt;
}

std::optional<FileFailure> renderFile(const std::string& input, const std::filesystem::path& output,
                                      const OutputOptions& requested, ProgressReceiver& progress) {
    // Refused before the rendering, which may take long, rather than when writing.
    if (sameFile(input, output)) {
        return FileFailure{output.string(), "is the input drawing; refusing to write over it"};
    }
    // About 320 KB: too much for a thread's stack.
    auto document = std::make_unique<VectorSet>();
    if (auto failure = loadDrawing(input, requested, *document)) {
        return failure;
    }
    OutputOptions options = requested;
    if (auto failure = loadPlacedTextOf(input, requested, options.placed)) {
        return failure;
    }
    return renderDrawingFile(*document, input, output, options, progress);
}

std::optional<FileFailure> renderDrawingFile(const VectorSet& document, const std::string& input,
                                             const std::filesystem::path& output,
                                             const OutputOptions& options,
                                             ProgressReceiver& progress) {
    if (isDrawingFile(output)) {
        return saveDrawing(output, document, options.placed);
    }
    if (isPngFile(output)) {
        const WholeText whole = renderWholeText(document, options, progress);
        if (whole.end != RenderEnd::Complete) {
            return renderingFailure(input, whole.end, options);
        }
        noteInexactPieces(input, whole.inexactPieces, options);
        return saveRendering(output, whole, document, options);
    }
    StreamedOutput rendered;
    const FileStatus status = writeFileAtomically(
        output,
        [&](std::ostream& out) {
            rendered = writeRendering(document, options, Destination::File, out, progress);
            return rendered.end == RenderEnd::Complete
                       ? FileStatus::success()
                       : FileStatus::failure(FileError::WriteError, rendered.reason);
        },
        {}, options.directorySync, options.commits);
    if (rendered.end != RenderEnd::Complete && rendered.end != RenderEnd::WriteFailed) {
        // Stopped or out of memory: about the rendering, not the file.
        return FileFailure{input, rendered.reason, rendered.end == RenderEnd::Stopped};
    }
    if (!status.ok()) {
        return FileFailure{output.string(), status.reason()};
    }
    noteInexactPieces(input, rendered.inexactPieces, options);
    return std::nullopt;
}

}  // namespace penmoji::cli
