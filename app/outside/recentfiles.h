#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The database files last opened or saved, most recent first, kept in the application's
// settings between runs.
inline constexpr int RecentFileLimit = 8;

// Puts `path`, made absolute, at the top of the list: once, and no more than the limit kept.
void addRecentFile(const QString &path);
// The list as it stands now: a file that no longer exists is dropped, and forgotten.
QStringList recentFiles();
void clearRecentFiles();

} // namespace app
