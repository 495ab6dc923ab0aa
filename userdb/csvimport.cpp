#include "userdb/csvimport.h"

#include "userdb/columntitles.h"
#include "userdb/csvreader.h"
#include "userdb/spreadsheetguard.h"

#include <algorithm>

namespace userdb {

namespace {

constexpr int SerialDigits = 8;

bool isHexDigit(QChar ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
}

// Spreadsheets drop leading zeros; the database keeps 8 capitals.
bool normaliseSerial(QString &serial) {
    if (serial.isEmpty())
        return true;
    if (serial.size() > SerialDigits || !std::all_of(serial.begin(), serial.end(), isHexDigit))
        return false;
    serial = serial.toUpper().rightJustified(SerialDigits, u'0');
    return true;
}

// One row after the header. False when no later row can make a difference.
bool readRow(int row, const QStringList &cells, const CsvSyntaxProblem &syntax,
             const ImportColumns &columns, ImportProblems &problems, ImportRows &rows) {
    if (syntax.cell >= 0) {
        problems.add(row, columns.nameOfCell(syntax.cell), syntax.what);
        return !problems.enough();
    }
    for (int cell = columns.width(); cell < cells.size(); ++cell) {
        if (!cells.at(cell).isEmpty()) {
            problems.add(row, columns.nameOfCell(cell), untitledCellProblem());
            return !problems.enough();
        }
    }
    Record record;
    bool serialAsItStands = false;
    for (int column = 1; column <= ColumnCount; ++column) {
        const QString cell = cells.value(columns.cellOf(column));
        if (column == SerialNumber)
            serialAsItStands = cell.startsWith(u'\'');
        record[std::size_t(column - 1)] = removeFormulaGuard(cell);
    }
    if (isEmptyRecord(record))
        return true;
    QString &serial = record[SerialNumber - 1];
    const bool good = serialAsItStands || normaliseSerial(serial);
    if (!good)
        problems.add(row, columnTitle(SerialNumber),
                     QStringLiteral("%1 is not a serial number of up to 8 hexadecimal digits")
                         .arg(shownInMessage(serial)));
    return rows.add(row, removeFormulaGuard(cells.value(columns.cellOf(SlotField))), record, good);
}

} // namespace

SpreadsheetImport readCsv(const QByteArray &bytes) {
    SpreadsheetImport result;
    if (const QString encoding = unreadableEncoding(bytes); !encoding.isEmpty()) {
        result.error = QStringLiteral("The file is in %1, which the import does not read: save "
                                      "it as CSV in UTF-8 and import that.")
                           .arg(encoding);
        return result;
    }
    const QString text = decodeSpreadsheetText(bytes);
    if (text.trimmed().isEmpty()) {
        result.error = QStringLiteral("The file is empty.");
        return result;
    }
    CsvReader reader(text, detectSeparator(text));
    QStringList cells;
    reader.readRow(cells);
    ImportProblems problems;
    if (reader.problem().cell >= 0)
        problems.add(1, QStringLiteral("column %1").arg(reader.problem().cell + 1),
                     reader.problem().what);
    const ImportColumns columns(cells, problems);
    if (!columns.has(SerialNumber)) {
        result.error = QStringLiteral("The first row has no \"%1\" column title.")
                           .arg(columnTitle(SerialNumber));
        return result;
    }
    ImportRows rows(columns, problems);
    while (reader.readRow(cells))
        if (!readRow(reader.row(), cells, reader.problem(), columns, problems, rows))
            break;
    rows.finish(result);
    return result;
}

SpreadsheetImport importCsvFile(const QString &path) {
    return importSpreadsheet(path, &readCsv);
}

} // namespace userdb
