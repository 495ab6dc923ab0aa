#pragma once

#include "userdb/recordstore.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace userdb {

// The *.fxd database file: a header line holding the database address as one quoted field,
// then one line of 13 quoted fields per slot that holds any text, slots in ascending order.
// Lines end in CR LF, characters are Windows-1252 bytes, nothing inside quotes is escaped.
// Slot numbers are not stored: the n-th record line is read into slot n.

QByteArray writeDatabase(const QString &address, const RecordStore &store);

struct ReadResult {
    bool ok = false;
    QString error;       // plain English, empty when ok
    QString address;     // the header field; empty when even that could not be read
    int recordCount = 0; // records stored into slots 1.. before the end or the failure
};

// Reads a whole file's bytes into `into`. A file that begins with a UTF-8 byte-order mark is read
// as UTF-8 (and saved in Windows-1252 like any other)., which the caller has emptied: record n goes
// to slot n, other slots are left alone. On failure the records read before it stay stored.
ReadResult readDatabase(const QByteArray &bytes, RecordStore &into);

// Writes the database to an open device. Returns an empty text on success, else the reason.
QString writeDatabaseTo(QIODevice &device, const QString &address, const RecordStore &store);

// Why the database cannot be written without altering it (a double quote would end its field
// early, a character outside Windows-1252 would become "?"), naming the first place; empty when
// every text can be stored.
QString unstorableText(const QString &address, const RecordStore &store);

// Replaces the file at `path` in one step: a write that fails, or text that the file cannot
// hold, leaves the previous file as it was. Returns an empty text on success, else a message naming
// the file and the reason.
QString saveDatabaseFile(const QString &path, const QString &address, const RecordStore &store);

struct LoadResult {
    QString error; // empty on success, else a message naming the file and what is wrong
    QString address;
    int recordCount = 0;
};

// Reads the file at `path` into `freshStore`, which the caller has emptied. Anything but a
// regular file of at most 64 MB is refused before reading.
LoadResult loadDatabaseFile(const QString &path, RecordStore &freshStore);

} // namespace userdb
