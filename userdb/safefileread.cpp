#include "userdb/safefileread.h"

#include "userdb/filemessage.h"

#include <QFile>
#include <QFileInfo>

namespace userdb {

namespace {

QString sizeText(qint64 bytes) {
    constexpr qint64 MB = qint64(1024) * 1024;
    return bytes % MB == 0 ? QStringLiteral("%1 MB").arg(bytes / MB)
                           : QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace

FileReadResult readRegularFile(const QString &path, qint64 maxBytes, const QString &verb) {
    FileReadResult result;
    auto fail = [&](const QString &reason) {
        result.bytes.clear();
        result.error = fileMessage(verb, path, reason);
        return result;
    };
    const QFileInfo info(path);
    // A path that does not exist falls through to open(), whose reason names the problem.
    if (info.exists() && info.isDir())
        return fail(folderReason());
    if (info.exists() && !info.isFile())
        return fail(notRegularFileReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QString tooLarge = QStringLiteral("The file is larger than %1.").arg(sizeText(maxBytes));
    if (file.size() > maxBytes)
        return fail(tooLarge);
    // One byte past the limit tells a file that grew since its size was taken.
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (result.bytes.size() > maxBytes)
        return fail(tooLarge);
    return result;
}

} // namespace userdb
