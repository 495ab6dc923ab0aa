#include "platform/qt/qtdevicewatcher.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

// The folder that holds `path`, or the nearest one above it that exists: a folder made later
// (/dev/serial/by-id appears with the first adapter) shows as a change there.
QString nearestExistingFolder(const QString &path) {
    QDir folder = QFileInfo(path).absoluteDir();
    while (!folder.exists() && !folder.isRoot())
        folder.setPath(QFileInfo(folder.absolutePath()).absolutePath());
    return folder.absolutePath();
}

} // namespace

QtDeviceWatcher::QtDeviceWatcher(QString deviceFolder)
    : m_deviceFolder(std::move(deviceFolder)) {
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher,
                     [this] { folderChanged(); });
}

void QtDeviceWatcher::watch(const QStringList &paths, Changed changed) {
    m_paths = paths;
    m_changed = std::move(changed);
    m_present = scan();
    folderChanged(); // arms the folders; nothing has changed yet
}

QStringList QtDeviceWatcher::presentDevices() const {
    QStringList present = m_present.values();
    present.sort();
    return present;
}

QSet<QString> QtDeviceWatcher::scan() const {
    QSet<QString> present;
    if (m_paths.isEmpty()) {
        const QDir folder(m_deviceFolder);
        for (const QString &name :
             folder.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                              QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            present.insert(folder.filePath(name));
        return present;
    }
    for (const QString &path : m_paths)
        if (QFileInfo::exists(path)) // a link whose device has gone counts as absent
            present.insert(path);
    return present;
}

QSet<QString> QtDeviceWatcher::foldersToWatch() const {
    if (m_paths.isEmpty())
        return {m_deviceFolder};
    QSet<QString> folders;
    for (const QString &path : m_paths) {
        if (path.isEmpty())
            continue;
        folders.insert(nearestExistingFolder(path));
        // A link (the simulator's, /dev/serial/by-id/...) may outlive its device.
        if (const QFileInfo link(path); link.isSymLink())
            folders.insert(nearestExistingFolder(link.symLinkTarget()));
    }
    return folders;
}

void QtDeviceWatcher::folderChanged() {
    // Folders come and go with the devices: watch the ones that matter now.
    const QSet<QString> wanted = foldersToWatch();
    const QStringList watched = m_watcher.directories();
    for (const QString &folder : watched)
        if (!wanted.contains(folder))
            m_watcher.removePath(folder);
    for (const QString &folder : wanted)
        if (!watched.contains(folder))
            m_watcher.addPath(folder);

    const QSet<QString> now = scan();
    const QSet<QString> before = std::exchange(m_present, now);
    if (!m_changed)
        return;
    const Changed changed = m_changed; // the callback may watch anew
    for (const QString &path : before - now)
        changed(path, false);
    for (const QString &path : now - before)
        changed(path, true);
}

} // namespace platform
