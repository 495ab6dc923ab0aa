#include "userdb/safefilewrite.h"

#include "userdb/filemessage.h"

#include <QSaveFile>

namespace userdb {

QString writeAllTo(QIODevice &device, const QByteArray &bytes) {
    if (device.write(bytes) == bytes.size())
        return {};
    const QString reason = device.errorString();
    return reason.isEmpty() || reason == QLatin1String("Unknown error")
               ? QStringLiteral("Not all of the data could be written.")
               : reason;
}

QString replaceFile(const QString &path, const QByteArray &bytes, const QString &verb) {
    QSaveFile file(path);
    // Unbuffered: a write cut short (full disk, size limit) shows up in the write itself, not
    // in commit()'s final flush, which does not report a partial write.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileMessage(verb, path, file.errorString());
    const QString writeError = writeAllTo(file, bytes);
    if (!writeError.isEmpty()) {
        file.cancelWriting();
        return fileMessage(verb, path, writeError);
    }
    if (!file.commit())
        return fileMessage(verb, path, file.errorString());
    return {};
}

} // namespace userdb
