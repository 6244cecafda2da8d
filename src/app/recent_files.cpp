// SPDX-License-Identifier: MIT
#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace penmoji {
namespace {

constexpr char kKey[] = "recentFiles";

}  // namespace

RecentFiles::RecentFiles(QSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {}

QStringList RecentFiles::entries() {
    const QStringList stored = settings_.value(kKey).toStringList();
    QStringList kept;
    for (const QString& path : stored) {
        if (QFileInfo(path).isFile() && !kept.contains(path) && kept.size() < kMaxEntries) {
            kept.append(path);
        }
    }
    if (kept != stored) {
        store(kept);
    }
    return kept;
}

void RecentFiles::add(const QString& path) {
    QStringList list = entries();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxEntries) {
        list.removeLast();
    }
    store(list);
}

void RecentFiles::remove(const QString& path) {
    QStringList list = settings_.value(kKey).toStringList();
    if (list.removeAll(path) > 0) {
        store(list);
    }
}

void RecentFiles::store(const QStringList& entries) {
    settings_.setValue(kKey, entries);
    emit changed();
}

}  // namespace penmoji
