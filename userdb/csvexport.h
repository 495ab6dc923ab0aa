#pragma once

#include "userdb/recordstore.h"

#include <QByteArray>
#include <QString>

namespace userdb {

// The user list as a spreadsheet file (CSV as spreadsheets read it): UTF-8 with a byte-order
// mark (without one, spreadsheets on Windows read accents in the local code page), comma
// separators, CR LF line ends, fields in double quotes only where they need them, inner quotes
// doubled. A header row of the column titles (Slot first), then one row per slot that holds any
// text, of all 4095, in slot order. Cells that a spreadsheet would run as a formula are guarded
// (spreadsheetguard.h), and so is a serial that the import would otherwise pad (csvimport.h):
// every database with a user comes back from its CSV exactly.
QByteArray writeCsv(const RecordStore &store);

// Writes the file in one step like a database save. Returns an empty text on success, else a
// message naming the file and the reason; a failed write leaves any previous file as it was.
QString exportCsvFile(const QString &path, const RecordStore &store);

} // namespace userdb
