// SPDX-License-Identifier: MIT
#include "app/trace_sidecar.h"

#include <algorithm>
#include <cstdint>
#include <ostream>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/file_failure_text.h"
#include "canvas/file_paths.h"
#include "document/atomic_file.h"
#include "document/posix_file.h"

namespace penmoji {
namespace {

constexpr double kLeastScale = 0.1;
constexpr double kMostScale = 8.0;
constexpr double kLeastOpacity = 0.1;
// A few hundred bytes in practice: anything near this is not a sidecar.
constexpr std::uintmax_t kMostSidecarBytes = 1 << 20;

QByteArray sidecarJson(const QString& drawingPath, const TraceImageSettings& trace) {
    const QDir folder = QFileInfo(drawingPath).absoluteDir();
    const QJsonObject object{
        {QStringLiteral("image"), folder.relativeFilePath(trace.imagePath)},
        {QStringLiteral("x"), trace.offset.x()},
        {QStringLiteral("y"), trace.offset.y()},
        {QStringLiteral("scale"), trace.scale},
        {QStringLiteral("opacity"), trace.opacity},
        {QStringLiteral("visible"), trace.visible},
    };
    return QJsonDocument(object).toJson();
}

}  // namespace

QString sidecarPath(const QString& drawingPath) {
    return drawingPath + QStringLiteral(".trace.json");
}

FileStatus saveSidecar(const QString& drawingPath, const std::optional<TraceImageSettings>& trace) {
    const QString path = sidecarPath(drawingPath);
    if (!trace) {
        if (QFileInfo::exists(path) && !QFile::remove(path)) {
            return FileStatus::failure(FileError::WriteError,
                                       "cannot remove " + path.toStdString());
        }
        return FileStatus::success();
    }
    const QByteArray bytes = sidecarJson(drawingPath, *trace);
    return writeFileAtomically(toFilePath(path), [&](std::ostream& out) {
        out.write(bytes.constData(), bytes.size());
        return out ? FileStatus::success()
                   : FileStatus::failure(FileError::WriteError, "write error");
    });
}

SidecarRead loadSidecar(const QString& drawingPath) {
    const QString path = sidecarPath(drawingPath);
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) {
        return {};
    }
    std::string bytes;
    if (const FileStatus status =
            posix::readRegularFile(toFilePath(path), bytes, kMostSidecarBytes);
        !status.ok()) {
        return {std::nullopt, japaneseReason(status.reason())};
    }
    QJsonParseError parseError;
    const QJsonDocument json =
        QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &parseError);
    const QJsonObject object = json.object();
    const QString image = object.value(QStringLiteral("image")).toString();
    if (json.isNull() || !json.isObject() || image.isEmpty()) {
        return {std::nullopt, QCoreApplication::translate("Penmoji", "下絵の設定ではありません")};
    }
    TraceImageSettings settings;
    settings.imagePath = QFileInfo(drawingPath).absoluteDir().absoluteFilePath(image);
    settings.offset = {object.value(QStringLiteral("x")).toDouble(),
                       object.value(QStringLiteral("y")).toDouble()};
    settings.scale =
        std::clamp(object.value(QStringLiteral("scale")).toDouble(1.0), kLeastScale, kMostScale);
    settings.opacity =
        std::clamp(object.value(QStringLiteral("opacity")).toDouble(0.5), kLeastOpacity, 1.0);
    settings.visible = object.value(QStringLiteral("visible")).toBool(true);
    return {settings, {}};
}

}  // namespace penmoji
