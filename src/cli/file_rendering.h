#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "compose/output_writers.h"
#include "compose/render_settings.h"
#include "render/render_pass.h"

namespace penmoji::cli {

enum class Encoding { ShiftJis, Utf8 };

// Where the rendered bytes go: a file gets exactly what the editor's render-as writes, the
// terminal gets plain text without the closing NUL.
enum class Destination { File, StandardOutput };

// How every drawing of a run is rendered and written.
struct OutputOptions {
    RenderSettings settings;
    OutputFormat format = OutputFormat::PlainText;
    Encoding encoding = Encoding::ShiftJis;
};

// Why one file of a run failed: the file the message is about (the input or the output) and a
// one-line reason.
struct FileFailure {
    std::string file;
    std::string reason;
};

// The message line for a failure, without the program name. Some of the core's reasons already
// name the file ("cannot open a.pmj for reading"), others do not ("record 3 has point count
// 900"); the line names it once either way.
std::string describeFailure(const FileFailure& failure);

// The bytes to write for the rendered Shift_JIS `text`, or the reason the conversion to the
// chosen encoding failed.
struct EncodedOutput {
    std::optional<std::string> bytes;
    std::string error;
};
EncodedOutput encodeOutput(std::string_view text, OutputFormat format, Destination destination,
                           Encoding encoding);

// Writes a rendered Shift_JIS `text` into `output` in the options' format and encoding, replacing
// it only once complete. The failure names `input` when the text cannot be encoded.
std::optional<FileFailure> writeRenderedFile(std::string_view text, const std::string& input,
                                             const std::filesystem::path& output,
                                             const OutputOptions& options);

// Reads the drawing at `input`, renders it and replaces `output` with the result. Each call has
// its own document, boxes and dot generator, so calls may run on several threads at once.
std::optional<FileFailure> renderFile(const std::string& input, const std::filesystem::path& output,
                                      const OutputOptions& options, ProgressReceiver& progress);

}  // namespace penmoji::cli
