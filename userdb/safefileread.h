#pragma once

#include <QByteArray>
#include <QString>

namespace userdb {

// Far beyond 4,095 full records: anything bigger is not a file this program wrote.
constexpr qint64 MaxReadableFileBytes = 64 * 1024 * 1024;

struct FileBytes {
    QByteArray bytes;
    QString error; // why the file was not read, in plain English; empty on success
};

// Reads a whole regular file of at most maxBytes. A folder, a FIFO, a device or a file larger
// than the limit is refused before reading, so that it can neither block nor exhaust the program.
FileBytes readRegularFile(const QString &path, qint64 maxBytes = MaxReadableFileBytes);

} // namespace userdb
