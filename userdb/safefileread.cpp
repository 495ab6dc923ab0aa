#include "userdb/safefileread.h"

#include <QFile>
#include <QFileInfo>

namespace userdb {

namespace {

QString tooLarge(qint64 maxBytes) {
    return QStringLiteral("It is larger than %1 MB, far larger than any database.")
        .arg(maxBytes / (1024 * 1024));
}

} // namespace

FileBytes readRegularFile(const QString &path, qint64 maxBytes) {
    FileBytes result;
    const QFileInfo info(path); // follows symbolic links: a link to a device is a device
    if (info.exists() && !info.isFile()) {
        result.error = QStringLiteral("It is not a regular file (a folder, a device or a pipe).");
        return result;
    }
    if (info.size() > maxBytes) {
        result.error = tooLarge(maxBytes);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    // One byte more than allowed tells a file that grew after the size was looked at.
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
    } else if (result.bytes.size() > maxBytes) {
        result.error = tooLarge(maxBytes);
        result.bytes.clear();
    }
    return result;
}

} // namespace userdb
