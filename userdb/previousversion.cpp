#include "userdb/previousversion.h"

namespace userdb {

QString previousVersionPath(const QString &databasePath) {
    static const QString Ending = QStringLiteral(".fxd");
    QString stem = databasePath;
    if (stem.endsWith(Ending, Qt::CaseInsensitive))
        stem.chop(Ending.size());
    return stem + QStringLiteral(".old.fxd");
}

} // namespace userdb
