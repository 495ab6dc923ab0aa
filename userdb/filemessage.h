#pragma once

#include <QString>

namespace userdb {

// The one shape of a file failure the user sees: what was being done, to which file, and why.
inline QString fileMessage(const QString &verb, const QString &path, const QString &reason) {
    return QStringLiteral("Cannot %1 \"%2\": %3").arg(verb, path, reason);
}

// The reasons that readers and writers share for a path that is no regular file.
inline QString folderReason() {
    return QStringLiteral("It is a folder, not a file.");
}
inline QString notRegularFileReason() {
    return QStringLiteral("It is not a regular file (a device or a pipe).");
}

} // namespace userdb
