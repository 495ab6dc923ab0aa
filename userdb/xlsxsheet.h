#pragma once

#include "userdb/xlsxbook.h"

#include <QString>

#include <functional>
#include <vector>

namespace userdb {

// One cell of a workbook's sheet, as the file keeps it.
struct XlsxCell {
    enum class Kind { Text, Number, TruthValue, ErrorValue, IsoDate };
    int column = 0; // from 0 (column A)
    Kind kind = Kind::Text;
    QString value; // the text; or the number, truth value, error or date as the file writes it
    int style = 0; // the cell style, which says how a number is shown (XlsxBook::numberStyle)
};

// Reads the rows of the sheet `sheet` in order, streaming, and gives each row's number (from 1)
// and its cells that hold a value (in column order) to `take`, which returns false to stop
// early. Empty, or the reason: the sheet unpacks to more than MaxUnpackedPartBytes (told before
// anything is unpacked), is not well-formed, or refers to a shared text the workbook lacks.
QString readSheetRows(ZipArchive &zip, const XlsxBook &book, const XlsxSheetInfo &sheet,
                      const std::function<bool(int row, const std::vector<XlsxCell> &)> &take);

} // namespace userdb
