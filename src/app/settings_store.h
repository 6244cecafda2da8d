// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <QByteArray>
#include <QRect>

#include "compose/render_settings.h"
#include "edit/grid_settings.h"

class QSettings;

namespace penmoji {

// What the window shows, as it is remembered between runs.
struct ViewSettings {
    bool toolBar = true;
    bool statusBar = true;
    bool guideLines = true;
    bool finishedBoxes = true;
    int zoom = 1;
    QByteArray windowGeometry;  // QWidget::saveGeometry(); empty for the first run
    QRect preview;  // the preview's outer rectangle in the canvas; null for the first run
};

// The program's settings, in ~/.config/penmoji/penmoji.conf where the desktop keeps them on
// Linux: named here rather than after the application's organisation, which stays as it is.
std::unique_ptr<QSettings> openProgramSettings();

// Each reader gives the defaults for what is missing and brings what is damaged or out of range
// into range as the dialogs do: render settings clamped, grid sizes other than 8, 12 and 16 to
// 8, a zoom to the nearest end.
RenderSettings readRenderSettings(const QSettings& settings);
void writeRenderSettings(QSettings& settings, const RenderSettings& render);
GridSettings readGridSettings(const QSettings& settings);
void writeGridSettings(QSettings& settings, const GridSettings& grid);
// The board chosen in the render settings, as an index into boardProfiles(), kept by its name;
// a name the program does not know gives no limits.
int readBoardProfile(const QSettings& settings);
void writeBoardProfile(QSettings& settings, int board);
ViewSettings readViewSettings(const QSettings& settings);
void writeViewSettings(QSettings& settings, const ViewSettings& view);

}  // namespace penmoji
