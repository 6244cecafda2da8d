// SPDX-License-Identifier: MIT
#include "cli/pasted_text_art.h"

#include "cli/shift_jis_to_utf8.h"
#include "compose/text_art_reading.h"
#include "compose/unicode_blanks.h"
#include "document/posix_file.h"

namespace penmoji::cli {
namespace {

// Text art is a few kilobytes; a file far larger is a mistake, not art.
constexpr std::uintmax_t kMostTextArtBytes = 16 << 20;

// Whether `bytes` is well-formed UTF-8 holding something beyond ASCII (pure ASCII is the same in
// both encodings).
bool isUtf8BeyondAscii(std::string_view bytes) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

}  // namespace

std::optional<std::string> textArtAsShiftJis(std::string_view bytes, std::string& error) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    if (!isUtf8BeyondAscii(bytes)) {
        return std::string(bytes);
    }
    Conversion converted = utf8ToShiftJis(unicodeBlanksAsEntities(bytes));
    if (!converted.ok) {
        error = converted.error;
        return std::nullopt;
    }
    return std::move(converted.text);
}

PastedPiece readPastedPiece(const PasteRequest& request) {
    std::string bytes;
    if (const FileStatus read = posix::readRegularFile(request.file, bytes, kMostTextArtBytes);
        !read.ok()) {
        return {std::nullopt, read.reason()};
    }
    std::string error;
    const std::optional<std::string> shiftJis = textArtAsShiftJis(bytes, error);
    if (!shiftJis) {
        return {std::nullopt, request.file + ": " + error};
    }
    const TextArtReading reading = readTextArt(*shiftJis);
    if (!reading.ok()) {
        const std::string place = reading.errorRow > 0
                                      ? "row " + std::to_string(reading.errorRow) + ", character " +
                                            std::to_string(reading.errorColumn) + ": "
                                      : "";
        return {std::nullopt, request.file + ": " + place + reading.error};
    }
    return {PlacedPiece{request.x, request.y, reading.rows}, {}};
}

}  // namespace penmoji::cli
