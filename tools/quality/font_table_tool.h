// SPDX-License-Identifier: MIT
#pragma once
// What the tools that write a table measured from the 16-pixel font share: their command line
// (--out FILE, --font FILE), the font set up as the output font is drawn, and the writing.

#include <QByteArray>
#include <QFont>
#include <QString>

#include <optional>

namespace penmoji::tools {

struct FontTableRun {
    QString outPath;
    QString fontPath;
    QFont font;
};

// Parses the command line and loads the font at 16 pixels, without anti-aliasing or fallback to
// other fonts. On failure prints the reason (or the help) and gives the exit status to return.
struct FontTableStart {
    std::optional<FontTableRun> run;
    int exitStatus = 0;
};
FontTableStart startFontTableTool(const char* toolName, const QString& description);

// The bytes of a Shift_JIS code as rows hold it (a double-byte character as lead * 256 + trail).
QByteArray shiftJisBytes(int code);

// Writes the generated source whole; false, after saying why, when it cannot.
bool writeTableSource(const char* toolName, const QString& path, const QByteArray& source);

}  // namespace penmoji::tools
