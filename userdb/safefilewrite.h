#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace userdb {

// Writes all of `bytes` to an open device. Returns an empty text on success, else the reason.
QString writeAllTo(QIODevice &device, const QByteArray &bytes);

// Replaces the file at `path` with `bytes` in one step, through a temporary file that takes the
// old one's place only once it is completely written: a write that fails leaves the previous
// file as it was. Returns an empty text on success, else "Cannot <verb> "<path>": <reason>".
QString replaceFile(const QString &path, const QByteArray &bytes, const QString &verb);

} // namespace userdb
