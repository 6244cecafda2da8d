// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

#include <QPointF>
#include <QString>

#include "canvas/picture_state.h"
#include "document/file_status.h"

namespace penmoji {

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
