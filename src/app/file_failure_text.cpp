// SPDX-License-Identifier: MIT
#include "app/file_failure_text.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <iterator>

namespace penmoji {
namespace {

const char* causeText(FileError error, const std::string& reason) {
    // Not damaged: some other kind of file under a drawing's name. A drawing whose first count
    // is out of range may as well be a damaged one.
    if (reason.starts_with("not a Penmoji drawing: it holds")) {
        return "Penmoji の絵のファイルではありません";
    }
    switch (error) {
        case FileError::CannotOpen:
            return "ファイルが見つからないか、開く権限がありません";
        case FileError::Damaged:
            return "ファイルが壊れています";
        case FileError::ReadError:
            return "読み込み中にエラーが起きました";
        case FileError::WriteError:
            return "書き込み中にエラーが起きました";
        case FileError::None:
            break;
    }
    return "";
}

// One form of reason and its Japanese, with %1, %2 … for the captured parts. A captured part
// that is itself a reason (the system's words after a file name) is translated in turn.
struct ReasonForm {
    const char* english;
    const char* japanese;
};

// Whole reasons first, then the system's words that end many of them.
constexpr ReasonForm kReasonForms[] = {
    {R"(not a Penmoji drawing: it holds (.+))", "中身は%1です"},
    {R"(not a Penmoji drawing: (.+))", "%1"},
    {R"(record (\d+) has point count (-?\d+) \(allowed 0 to (\d+)\))",
     "ベクトル %1 の点の数が %2 です（0〜%3 のはず）"},
    {R"(record (\d+), point (\d+) \((-?\d+), (-?\d+)\) lies outside (-?\d+) to (-?\d+))",
     "ベクトル %1 の点 %2 (%3, %4) が範囲 %5〜%6 の外にあります"},
    {R"(file ends inside record (\d+))", "ベクトル %1 の途中でファイルが終わっています"},
    {R"(read error inside record (\d+))", "ベクトル %1 を読む途中でエラーが起きました"},
    {R"(cannot open (.+): too large \((.+), more than (.+)\))",
     "%1 は大きすぎます（%2、読めるのは %3 まで）"},
    {R"(cannot open (.+): (.+))", "%1 を開けません: %2"},
    {R"(read error in (.+): (.+))", "%1 を読む途中でエラーが起きました: %2"},
    {R"(write error on (.+): (.+))", "%1 に書き込めません: %2"},
    {R"(cannot rewrite (.+): (.+); the file was left as it was)",
     "%1 を書き換えられません: %2。ファイルは元のままです"},
    {R"(cannot rewrite (.+): (.+))", "%1 を書き換えられません: %2"},
    {R"(cannot write (.+): (.+))", "%1 に書き込めません: %2"},
    {R"(cannot create a file in (.+): (.+))", "%1 にファイルを作れません: %2"},
    {R"(cannot read the picture: too large \((\d+) × (\d+) pixels\))",
     "絵が大きすぎます（%1 × %2 ピクセル）"},
    {R"(cannot read the picture: (.+))", "絵として読めません（%1）"},
    {"no such file", "ファイルがありません"},
    {"no such file or directory", "ファイルがありません"},
    {"is a directory", "フォルダーです"},
    {"is not a regular file", "普通のファイルではありません（パイプや装置は読みません）"},
    {"permission denied", "権限がありません"},
    {"no space left on device", "ディスクの空きがありません"},
    {"read-only file system", "読み込み専用のファイルシステムです"},
    {"write error", "書き込みエラー"},
    {"a PNG picture", "PNG の絵"},
    {"a JPEG picture", "JPEG の絵"},
    {"a GIF picture", "GIF の絵"},
    {"a BMP picture", "BMP の絵"},
    {R"(gzip data \(an \.svgz picture\?\))", "gzip のデータ（.svgz の絵？）"},
    {R"(XML text \(an SVG picture\?\))", "XML のテキスト（SVG の絵？）"},
    {"an SVG picture", "SVG の絵"},
    {"a PDF document", "PDF の文書"},
    {"a ZIP archive", "ZIP の書庫"},
};

// Parts that are file names or figures stay as they are; the others are reasons again.
bool isReason(const QString& part) {
    for (const ReasonForm& form : kReasonForms) {
        const QRegularExpression pattern(
            QRegularExpression::anchoredPattern(QString::fromUtf8(form.english)));
        if (pattern.match(part).hasMatch()) {
            return true;
        }
    }
    return false;
}

QString translate(const QString& reason, int depth) {
    for (const ReasonForm& form : kReasonForms) {
        const QRegularExpression pattern(
            QRegularExpression::anchoredPattern(QString::fromUtf8(form.english)));
        const QRegularExpressionMatch match = pattern.match(reason);
        if (!match.hasMatch()) {
            continue;
        }
        // In one pass, so that a file name holding "%2" stays as it is.
        const QString japanese = QString::fromUtf8(form.japanese);
        QString text;
        for (qsizetype i = 0; i < japanese.size(); ++i) {
            if (japanese[i] == QLatin1Char('%') && i + 1 < japanese.size() &&
                japanese[i + 1].isDigit()) {
                const QString part = match.captured(japanese[++i].digitValue());
                text += depth < 3 && isReason(part) ? translate(part, depth + 1) : part;
            } else {
                text += japanese[i];
            }
        }
        return text;
    }
    return reason;
}

}  // namespace

QString japaneseReason(const std::string& reason) {
    return translate(QString::fromStdString(reason), 0);
}

QString fileFailureText(const char* headline, const FileStatus& status) {
    QString text = QString::fromUtf8(headline);
    if (status.ok()) {
        return text;
    }
    text += QLatin1Char('\n') + QString::fromUtf8(causeText(status.error(), status.reason()));
    if (!status.reason().empty()) {
        text +=
            QCoreApplication::translate("Penmoji", "（%1）").arg(japaneseReason(status.reason()));
    }
    return text;
}

}  // namespace penmoji
