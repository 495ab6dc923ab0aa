#pragma once

#include "userdb/importrows.h"

#include <QByteArray>
#include <QString>

namespace userdb {

// Reading a spreadsheet file (CSV) into a new database, all or nothing, by the rules that every
// spreadsheet import shares (importrows.h). The text is UTF-8 or Windows-1252 (UTF-16 is refused
// by name), comma or semicolon separated; one leading apostrophe, the export's formula guard, is
// removed from every cell.
//
// Serial numbers: a CSV cannot say "this is text", and a spreadsheet that opened and saved one
// dropped the leading zeros of every serial that looks like a number. So a serial of up to 8
// hexadecimal digits is padded to 8 capitals; anything else is refused. A serial written with a
// leading apostrophe is taken as it stands: the export writes so every serial that the padding
// would change (a short one, small letters, not hexadecimal), so that the database comes back
// exactly.

// Reads the bytes of a spreadsheet file. `error` is the reason alone, without a file name.
SpreadsheetImport readCsv(const QByteArray &bytes);

// Reads the file at `path` (a regular file of at most 64 MB). `error` names the file;
// `proposedPath` is proposedDatabasePath(path).
SpreadsheetImport importCsvFile(const QString &path);

} // namespace userdb
