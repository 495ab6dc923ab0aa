#pragma once

#include "userdb/recordstore.h"

#include <QString>

namespace userdb {

// The users as an Office Open XML workbook (.xlsx), which, unlike a CSV, says "this is text":
// a spreadsheet keeps every digit of serials such as 1234E567 or 00001234. Sheet "Users": the
// CSV's columns (Slot, then the 13 fields in file order), one row per slot that holds any text;
// every field a text cell, and the field columns formatted as Text ("@") so that values typed in
// later stay text too; Slot as a number; a bold, frozen header row with an autofilter; columns
// as wide as their text. Sheet "Database": A1 "Database Address", B1 the address.

// A spreadsheet cell holds at most this many characters.
constexpr int MaxSpreadsheetCellLength = 32767;

// Why the workbook cannot hold the database, naming the first slot and field (or the address)
// too long for a cell; empty when it can.
QString xlsxExportProblem(const QString &address, const RecordStore &store);

// Writes the workbook at `path` in one step like a database save (safefilewrite.h), after
// checking xlsxExportProblem, so that a refused export writes nothing. Returns an empty text
// on success, else "Cannot export to "<path>": <reason>".
QString exportXlsxFile(const QString &path, const QString &address, const RecordStore &store);

} // namespace userdb
