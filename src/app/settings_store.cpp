// SPDX-License-Identifier: MIT
#include "app/settings_store.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QSettings>

#include "app/grid_commands.h"
#include "canvas/zoom.h"
#include "compose/board_limits.h"

namespace penmoji {
namespace {

bool readBool(const QSettings& settings, const char* key, bool fallback) {
    const QVariant value = settings.value(QLatin1String(key));
    if (!value.isValid()) {
        return fallback;
    }
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) {
        return true;
    }
    if (text == QLatin1String("false") || text == QLatin1String("0")) {
        return false;
    }
    return fallback;
}

// A number that is no number gives the fallback; a huge one saturates, to be clamped after.
double readNumber(const QSettings& settings, const char* key, double fallback) {
    bool ok = false;
    const double value = settings.value(QLatin1String(key)).toString().toDouble(&ok);
    return ok ? value : fallback;
}

std::int32_t readInteger(const QSettings& settings, const char* key, std::int32_t fallback) {
    const double value = readNumber(settings, key, fallback);
    if (std::isnan(value)) {
        return fallback;
    }
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), kLow, kHigh));
}

}  // namespace

std::unique_ptr<QSettings> openProgramSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("penmoji"), QStringLiteral("penmoji"));
}

RenderSettings readRenderSettings(const QSettings& s) {
    const RenderSettings d;
    RenderSettings r;
    r.innerProductThreshold =
        static_cast<float>(readNumber(s, "render/threshold", d.innerProductThreshold));
    r.scanStep = readInteger(s, "render/scanStep", d.scanStep);
    r.priorityScale = static_cast<float>(readNumber(s, "render/priorityScale", d.priorityScale));
    r.fine = readBool(s, "render/fine", d.fine);
    r.useDots = readBool(s, "render/dots", d.useDots);
    r.noEntities = readBool(s, "render/noEntities", d.noEntities);
    r.underscoreRuns = readBool(s, "render/underscoreRuns", d.underscoreRuns);
    r.strictHalfSpaces = readBool(s, "render/strictHalfSpaces", d.strictHalfSpaces);
    return clampSettings(r);
}

void writeRenderSettings(QSettings& s, const RenderSettings& r) {
    s.setValue("render/threshold", double(r.innerProductThreshold));
    s.setValue("render/scanStep", r.scanStep);
    s.setValue("render/priorityScale", double(r.priorityScale));
    s.setValue("render/fine", r.fine);
    s.setValue("render/dots", r.useDots);
    s.setValue("render/noEntities", r.noEntities);
    s.setValue("render/underscoreRuns", r.underscoreRuns);
    s.setValue("render/strictHalfSpaces", r.strictHalfSpaces);
}

GridSettings readGridSettings(const QSettings& s) {
    const GridSettings d;
    return gridSettingsFrom(readBool(s, "grid/enabled", d.gridEnabled),
                            readInteger(s, "grid/size", d.gridSize));
}

void writeGridSettings(QSettings& s, const GridSettings& grid) {
    s.setValue("grid/enabled", grid.gridEnabled);
    s.setValue("grid/size", grid.gridSize);
}

int readBoardProfile(const QSettings& s) {
    const std::string name = s.value("render/board").toString().toStdString();
    const BoardProfile* found = findBoardProfile(name);
    return found == nullptr ? 0 : static_cast<int>(found - boardProfiles().data());
}

void writeBoardProfile(QSettings& s, int board) {
    const auto profiles = boardProfiles();
    const BoardProfile& profile = board >= 0 && static_cast<std::size_t>(board) < profiles.size()
                                      ? profiles[static_cast<std::size_t>(board)]
                                      : unlimitedBoardProfile();
    s.setValue("render/board", QString::fromLatin1(profile.name.data(),
                                                   static_cast<qsizetype>(profile.name.size())));
}

ViewSettings readViewSettings(const QSettings& s) {
    const ViewSettings d;
    ViewSettings v;
    v.toolBar = readBool(s, "view/toolBar", d.toolBar);
    v.statusBar = readBool(s, "view/statusBar", d.statusBar);
    v.guideLines = readBool(s, "view/guideLines", d.guideLines);
    v.finishedBoxes = readBool(s, "view/finishedMessages", d.finishedBoxes);
    v.zoom = std::clamp(readInteger(s, "view/zoom", d.zoom), kMinZoom, kMaxZoom);
    v.windowGeometry = s.value("view/windowGeometry").toByteArray();
    const QRect preview = s.value("view/preview").toRect();
    // A preview too small to grab or far off any canvas would be lost; it starts afresh.
    constexpr int kFar = 1 << 16;
    if (preview.width() >= 20 && preview.height() >= 20 && preview.width() < kFar &&
        preview.height() < kFar && std::abs(preview.x()) < kFar && std::abs(preview.y()) < kFar) {
        v.preview = preview;
    }
    return v;
}

void writeViewSettings(QSettings& s, const ViewSettings& v) {
    s.setValue("view/toolBar", v.toolBar);
    s.setValue("view/statusBar", v.statusBar);
    s.setValue("view/guideLines", v.guideLines);
    s.setValue("view/finishedMessages", v.finishedBoxes);
    s.setValue("view/zoom", v.zoom);
    s.setValue("view/windowGeometry", v.windowGeometry);
    s.setValue("view/preview", v.preview);
}

}  // namespace penmoji
