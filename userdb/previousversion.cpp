#include "userdb/previousversion.h"

#include "userdb/safefileread.h"
#include "userdb/safefilewrite.h"

namespace userdb {

QString previousVersionPath(const QString &databasePath) {
    static const QString Ending = QStringLiteral(".fxd");
    QString stem = databasePath;
    if (stem.endsWith(Ending, Qt::CaseInsensitive))
        stem.chop(Ending.size());
    return stem + QStringLiteral(".old.fxd");
}

QString keepPreviousVersion(const QString &databasePath) {
    const FileReadResult file = readRegularFile(databasePath, MaxReadFileBytes,
                                                QStringLiteral("keep the previous version of"));
    if (!file.error.isEmpty())
        return file.error;
    return replaceFile(previousVersionPath(databasePath), file.bytes, QStringLiteral("keep"));
}

} // namespace userdb
