#pragma once

#include <QString>

namespace userdb {

// Where the previous version of a database file is kept, beside it: "site.fxd" keeps
// "site.old.fxd". A name without the ".fxd" ending (in any letter case) gets ".old.fxd" added.
QString previousVersionPath(const QString &databasePath);

} // namespace userdb
