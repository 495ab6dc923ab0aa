#include "app/outside/recentfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace app {

namespace {

const QString RecentFilesKey = QStringLiteral("files/recent");

QStringList remembered() {
    return QSettings().value(RecentFilesKey).toStringList();
}

void remember(const QStringList &paths) {
    if (paths.isEmpty())
        QSettings().remove(RecentFilesKey);
    else
        QSettings().setValue(RecentFilesKey, paths);
}

} // namespace

void addRecentFile(const QString &path) {
    if (path.isEmpty())
        return;
    // Absolute, so that a name given relative to the working folder still means the same file
    // in the next run.
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList paths = remembered();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    remember(paths.mid(0, RecentFileLimit));
}

QStringList recentFiles() {
    const QStringList paths = remembered();
    QStringList existing;
    for (const QString &path : paths)
        if (QFileInfo(path).isFile())
            existing.append(path);
    if (existing.size() != paths.size())
        remember(existing);
    return existing;
}

void clearRecentFiles() {
    remember({});
}

} // namespace app
