#pragma once

#include <QString>

namespace userdb {

// The one shape of a file failure the user sees: what was being done, to which file, and why.
inline QString fileMessage(const QString &verb, const QString &path, const QString &reason) {
    return QStringLiteral("Cannot %1 \"%2\": %3").arg(verb, path, reason);
}

} // namespace userdb
