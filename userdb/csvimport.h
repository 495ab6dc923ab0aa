#pragma once

#include "userdb/recordstore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace userdb {

// Reading a spreadsheet file (CSV) into a database, all or nothing: the records go into the
// store only when every row has been read and checked, so on any problem the store is left as
// it was and the caller changes nothing.
//
// Columns are found by their header titles (columntitles.h; letter case and surrounding spaces
// ignored, any order, unknown titles ignored); a Serial Number column is required. With a Slot
// column each row goes to its slot (1 to 4095, each once); without one the rows fill slots 1,
// 2, 3, ... in file order. A row with nothing in its known columns but a slot number is skipped
// and takes no slot. Serial numbers of up to 8 hexadecimal digits are padded to 8 capitals;
// other cells must fit the slot editor's length limits and hold only what the database file
// can: Windows-1252 characters, no double quote, no line break or other control character.

struct CsvImportResult {
    // Empty on success; else what is wrong, then the first 20 problems, each "Row 12, Surname:
    // ..." (the header is row 1).
    QString error;
    int userCount = 0;    // slots filled on success
    QString databasePath; // (importCsvFile) where to save the database: beside the spreadsheet
};

// Reads the bytes of a spreadsheet file into `freshStore`, which the caller has emptied.
// `error` is the reason alone, without a file name.
CsvImportResult readCsv(const QByteArray &bytes, RecordStore &freshStore);

// Reads the file at `path` (a regular file of at most 64 MB) into `freshStore`, which the caller
// has emptied. `error` names the file.
CsvImportResult importCsvFile(const QString &path, RecordStore &freshStore);

// The spreadsheet's path with its extension replaced by ".fxd", so that saving the imported
// database never writes over the spreadsheet ("users.fxd" itself becomes "users.fxd.fxd").
QString databasePathForCsv(const QString &csvPath);

} // namespace userdb
