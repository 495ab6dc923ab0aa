#pragma once

#include "userdb/importrows.h"

#include <QString>

namespace userdb {

// The spreadsheet files by their extension (letter case ignored): ".csv" a CSV, ".xlsx" a
// workbook. What remletctl's export and import and the window's Tools menu call.
enum class SpreadsheetFormat { Csv, Xlsx, Unknown };
SpreadsheetFormat spreadsheetFormatOf(const QString &path);

// importCsvFile or importXlsxFile by the extension; any other is refused ("Cannot import
// "<path>": ...") before the file is opened.
SpreadsheetImport importSpreadsheetFile(const QString &path);

// exportCsvFile (which holds no address) or exportXlsxFile by the extension; any other is
// refused before anything is written. Empty on success, else "Cannot export to "<path>": ...".
QString exportSpreadsheetFile(const QString &path, const QString &address,
                              const RecordStore &store);

} // namespace userdb
