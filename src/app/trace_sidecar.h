// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <QPointF>
#include <QString>

#include "document/file_status.h"

namespace penmoji {

// The picture under a drawing and how it is placed, as it goes with the drawing.
struct TraceImageSettings {
    QString imagePath;  // absolute
    QPointF offset;
    double scale = 1.0;
    double opacity = 0.5;
    bool visible = true;

    bool operator==(const TraceImageSettings&) const = default;
};

// NAME.pmj.trace.json beside the drawing NAME.pmj.
QString sidecarPath(const QString& drawingPath);

// Writes the sidecar beside the drawing, the picture's path relative to the drawing's folder, or
// removes a sidecar left from before when there is no picture, so that an old picture does not
// come back with the drawing. Either way the file is whole or untouched.
FileStatus saveSidecar(const QString& drawingPath, const std::optional<TraceImageSettings>& trace);

// The sidecar's settings, nothing when there is no sidecar, or why it could not be read.
struct SidecarRead {
    std::optional<TraceImageSettings> settings;
    QString error;  // empty unless a sidecar was there and was unreadable
};
SidecarRead loadSidecar(const QString& drawingPath);

}  // namespace penmoji
