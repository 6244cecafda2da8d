// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QStringList>

class QSettings;

namespace penmoji {

// The drawings opened or saved last, newest first, at most eight, kept in the settings. A file
// that is gone is dropped whenever the list is read.
class RecentFiles final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 8;

    explicit RecentFiles(QSettings& settings, QObject* parent = nullptr);

    // The entries whose files still exist; the others leave the list.
    QStringList entries();
    void add(const QString& path);
    void remove(const QString& path);

signals:
    void changed();

private:
    void store(const QStringList& entries);

    QSettings& settings_;
};

}  // namespace penmoji
