// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/drawing_interchange.h"
#include "compose/output_writers.h"
#include "compose/render_settings.h"
#include "compose/streamed_rendering.h"
#include "document/atomic_file.h"
#include "document/placed_text.h"
#include "document/vector_set.h"
#include "render/render_pass.h"

namespace penmoji::cli {

enum class Encoding { ShiftJis, Utf8 };

// Where the rendered bytes go: a file gets exactly what the editor's render-as writes, the
// terminal gets plain text without the closing NUL.
// A file's text ends in a NUL; the text for standard output or for a page of an MLT file is
// bare.
enum class Destination { File, StandardOutput, MltPage };

// Receives what an input's reading left out (an SVG picture larger than a document), with the
// input's name; may be called from several threads at once.
using InputNotes = std::function<void(const std::string& input, const std::string& note)>;

// How every drawing of a run is read, rendered and written.
struct OutputOptions {
    RenderSettings settings;
    OutputFormat format = OutputFormat::PlainText;
    Encoding encoding = Encoding::ShiftJis;
    // Without the empty top rows and the left margin, as the editor's copy.
    bool trim = false;
    // The entity blanks as the Unicode characters they stand for (UTF-8 text only).
    bool unicodeBlanks = false;
    // For outputs named *.png.
    PictureOptions picture;
    // An SVG input is fitted into this canvas instead of taken at 1:1.
    std::optional<CanvasSize> fit;
    InputNotes notes;
    // Text placed on every drawing's art (--paste), over the text kept beside each drawing.
    PlacedText placed;
    // Whether the text placed in the editor, kept beside a drawing file, is rendered with it.
    bool keptPlacedText = true;
    // Whether each text file's directory is synced after it is put in place, or by the caller
    // once for many files.
    DirectorySync directorySync = DirectorySync::EachFile;
    // When set, each text file is put in place with others by it rather than synced alone.
    GroupedCommits* commits = nullptr;
    // The most characters the art may hold; 0 for no limit.
    std::int64_t maxCharacters = 0;
};

// Why one file of a run failed: the file the message is about (the input or the output) and a
// one-line reason.
struct FileFailure {
    std::string file;
    std::string reason;
    // The rendering was stopped on request; nothing was written.
    bool stopped = false;
};

// The message line for a failure, without the program name. Some of the core's reasons already
// name the file ("cannot open a.pmj for reading"), others do not ("record 3 has point count
// 900"); the line names it once either way.
std::string describeFailure(const FileFailure& failure);

// How a rendering that did not complete ended, in a failure's words; a too large art names the
// limit and the option that sets it.
std::string describeRenderingEnd(RenderEnd end, const OutputOptions& options);

// Whether a file name ends in ".svg", ".png" or ".pmj", in any letter case.
bool isSvgFile(const std::filesystem::path& path);
bool isPngFile(const std::filesystem::path& path);
bool isDrawingFile(const std::filesystem::path& path);

// "-" names standard input for an input, standard output for -o.
bool isStandardStream(std::string_view name);
inline constexpr char kStandardInputName[] = "standard input";

// Reads the drawing at `input`: an SVG picture when its name ends in ".svg", otherwise a vector
// file. "-" reads standard input, as a drawing or, when it starts like one, an SVG picture.
std::optional<FileFailure> loadDrawing(const std::string& input, const OutputOptions& options,
                                       VectorSet& out);

// How a streamed rendering ended, with the one-line reason when it did not complete.
struct StreamedOutput {
    RenderEnd end = RenderEnd::Complete;
    std::string reason;
    // The placed pieces with a character off its pixel (RenderResult::inexactPieces).
    std::vector<std::size_t> inexactPieces{};
};

// Renders `document` and writes it to `out` in the chosen format and encoding while it is
// made: memory does not grow with the text. What reaches `out` of a rendering that does not
// complete is a part of the output.
StreamedOutput writeRendering(const VectorSet& document, const OutputOptions& options,
                              Destination destination, std::ostream& out,
                              ProgressReceiver& progress);

// The whole rendered Shift_JIS text (trimmed when asked), for the outputs that need all of it
// before they write: a picture, MLT pages, a board's check. `text` is set only when `end` is
// Complete.
struct WholeText {
    RenderEnd end = RenderEnd::Complete;
    std::string text;
    int droppedRows = 0;  // empty rows trimmed from the start of the art
    std::vector<std::size_t> inexactPieces{};
};

// Says on `options.notes` which placed pieces (counted from 1: those kept with the drawing, then
// those of --paste) have a character the text cannot put on its pixel.
void noteInexactPieces(const std::string& input, std::span<const std::size_t> pieces,
                       const OutputOptions& options);
WholeText renderWholeText(const VectorSet& document, const OutputOptions& options,
                          ProgressReceiver& progress);

// The text placed on the drawing read from `input`: what is kept beside a drawing file (when
// `options` want it), then `options.placed`. A kept file that cannot be read is a failure that
// names it: the drawing is never rendered without its placed text unasked.
std::optional<FileFailure> loadPlacedTextOf(const std::string& input, const OutputOptions& options,
                                            PlacedText& out);

// Writes a text renderWholeText made to `out` as writeRendering would have written it.
StreamedOutput writeRenderedText(std::string_view text, const OutputOptions& options,
                                 Destination destination, std::ostream& out);

// Replaces `output` with the rendered `whole` text of `drawing`: the drawing itself (.pmj), a
// PNG picture, an HTML page or the text, by the output's extension, through
// writeFileAtomically. A picture of trimmed art has the drawing underneath moved with the art.
std::optional<FileFailure> saveRendering(const std::filesystem::path& output,
                                         const WholeText& whole, const VectorSet& drawing,
                                         const OutputOptions& options);

// Reads the drawing at `input`, renders it and replaces `output` with the result, written as
// it is made into a temporary file that only a complete rendering puts in place: a stopped or
// failed one leaves `output` as it was. A picture is painted from the whole text. Each call has
// its own document, boxes and dot generator, so calls may run on several threads at once.
std::optional<FileFailure> renderFile(const std::string& input, const std::filesystem::path& output,
                                      const OutputOptions& options, ProgressReceiver& progress);

// Renders a drawing already in memory into `output` as renderFile does; failures of the
// rendering name `input`, where the drawing came from. A .pmj output is the drawing itself,
// saved without rendering.
std::optional<FileFailure> renderDrawingFile(const VectorSet& document, const std::string& input,
                                             const std::filesystem::path& output,
                                             const OutputOptions& options,
                                             ProgressReceiver& progress);

}  // namespace penmoji::cli
