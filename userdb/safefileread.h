#pragma once

#include <QByteArray>
#include <QString>

namespace userdb {

// The largest file that the database, merge and spreadsheet readers take: 4095 full records
// need well under 2 MB, so anything near this size is not one of their files.
constexpr qint64 MaxReadFileBytes = qint64(64) * 1024 * 1024;

struct FileReadResult {
    QByteArray bytes;
    QString error; // empty on success, else "Cannot <verb> "<path>": <reason>"
};

// Reads the whole file at `path` if it is a regular file (a symbolic link counts as its target)
// of at most `maxBytes`. A folder, device or pipe is refused before it is opened, so that a
// pipe cannot block the program and a device cannot feed it without end. `verb` says what the
// caller was doing ("load", "merge", "import") for the message.
FileReadResult readRegularFile(const QString &path, qint64 maxBytes, const QString &verb);

} // namespace userdb
