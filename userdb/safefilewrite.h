#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace userdb {

// Writes all of `bytes` to an open device. Returns an empty text on success, else the reason.
QString writeAllTo(QIODevice &device, const QByteArray &bytes);

// Why the file at `path` must not be replaced, as "Cannot <verb> "<path>": <reason>"; empty when
// it may be (or does not exist yet). Every writer asks this first: a folder, a device or a pipe
// would be swapped for a regular file, and a file the user may not write (even as root, whom the
// system lets write anything: a file whose mode allows no writing counts as read-only) stays as
// it is. A symbolic link is judged by the file it points to, which is the one written.
QString writeTargetError(const QString &path, const QString &verb);

// Replaces the file at `path` with `bytes` in one step, through a temporary file that takes the
// old one's place only once it is completely written: a write that fails leaves the previous
// file as it was. The new file keeps the old one's permission bits; a symbolic link stays and
// its target is written. Returns an empty text on success, else "Cannot <verb> "<path>":
// <reason>".
QString replaceFile(const QString &path, const QByteArray &bytes, const QString &verb);

// The same for a writer that can only write a file by its name (a library that makes the file
// itself): `write` makes the whole new file at the temporary path it is given, in the target's
// folder, and returns an empty text or its reason.
QString replaceFileThrough(const QString &path, const QString &verb,
                           const std::function<QString(const QString &temporaryPath)> &write);

} // namespace userdb
