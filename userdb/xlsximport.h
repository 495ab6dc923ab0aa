#pragma once

#include "userdb/importrows.h"

#include <QByteArray>
#include <QString>

namespace userdb {

// Reading an Office Open XML workbook (.xlsx) into a new database, all or nothing, by the rules
// that every spreadsheet import shares (importrows.h). The users come from the first sheet other
// than "Database", whose first row finds the columns by their titles; the "Database" sheet,
// when its A1 reads "Database Address", gives the address from B1.
//
// Text cells (shared texts, inline texts, rich-text runs, a formula's text) are taken as they
// stand. A whole number in Serial Number is padded to 8 digits and in Auxiliary Word to 4 (a
// spreadsheet made the typed digits a number and dropped their leading zeros); any other number
// (in scientific notation it has lost digits), date, truth value or error in a text column is
// refused with its row, column and a hint.
//
// Bounds, checked before anything is read whole: a file of at most 64 MB, a sheet that unpacks
// to at most 256 MB (streamed, never held whole), at most 4095 user rows (reading stops at the
// first one too many).

// Reads the bytes of a workbook file. `error` is the reason alone, without a file name.
SpreadsheetImport readXlsx(const QByteArray &bytes);

// Reads the file at `path` (a regular file of at most 64 MB). `error` names the file;
// `proposedPath` is proposedDatabasePath(path).
SpreadsheetImport importXlsxFile(const QString &path);

} // namespace userdb
