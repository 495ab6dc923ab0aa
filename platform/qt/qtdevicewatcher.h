#pragma once

#include "platform/devicewatcher.h"

#include <QFileSystemWatcher>
#include <QSet>

namespace platform {

// Watches the folders that hold the devices (the system's notification, inotify on Linux; Qt
// falls back to checking once a second where there is none), and compares what is there
// with what was there when one of them changes. Waiting costs nothing while nothing changes.
class QtDeviceWatcher : public DeviceWatcher {
public:
    // `deviceFolder`: where the adapters appear; another folder only in tests.
    explicit QtDeviceWatcher(QString deviceFolder = QStringLiteral("/dev"));

    void watch(const QStringList &paths, Changed changed) override;
    QStringList presentDevices() const override;

private:
    QSet<QString> scan() const;
    QSet<QString> foldersToWatch() const;
    void folderChanged();

    QFileSystemWatcher m_watcher;
    QString m_deviceFolder;
    QStringList m_paths; // empty: the adapters
    Changed m_changed;
    QSet<QString> m_present;
};

} // namespace platform
