#pragma once

#include <QString>

namespace userdb {

// Where the previous version of a database file is kept, beside it: "site.fxd" keeps
// "site.old.fxd". A name without the ".fxd" ending (in any letter case) gets ".old.fxd" added.
QString previousVersionPath(const QString &databasePath);

// Copies the file at `databasePath`, as it is now, to previousVersionPath() in one step,
// replacing an older copy there. Returns an empty text on success, else a message naming the
// file.
QString keepPreviousVersion(const QString &databasePath);

} // namespace userdb
