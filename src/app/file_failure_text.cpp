#include "app/file_failure_text.h"

namespace penmoji {
namespace {

const char* causeText(FileError error) {
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

}  // namespace

QString fileFailureText(const char* headline, const FileStatus& status) {
    QString text = QString::fromUtf8(headline);
    if (status.ok()) {
        return text;
    }
    text += QLatin1Char('\n') + QString::fromUtf8(causeText(status.error()));
    if (!status.reason().empty()) {
        text += QStringLiteral("（%1）").arg(QString::fromStdString(status.reason()));
    }
    return text;
}

}  // namespace penmoji
