#include "userdb/xlsximport.h"

#include "userdb/columntitles.h"
#include "userdb/xlsxsheet.h"

#include <QDate>
#include <QTime>

#include <cmath>
#include <optional>

namespace userdb {

namespace {

const QString AddressSheet = QStringLiteral("Database");
const QString AddressTitle = QStringLiteral("Database Address");
const QString TypeAgain = QStringLiteral("format the column as text and type it again");

// The digits of a whole number from 0 to below 10^digits, padded to `digits`; else empty.
QString wholeNumber(const QString &value, int digits) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < 0 || number >= std::pow(10.0, digits) ||
        number != std::floor(number))
        return {};
    return QString::number(qint64(number)).rightJustified(digits, u'0');
}

// The calendar date (and time) that a spreadsheet's day number stands for.
QString dateText(const QString &value, bool from1904) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    constexpr double LastDay = 2958465; // 9999-12-31
    if (!ok || !std::isfinite(number) || number < 0 || number > LastDay)
        return value;
    const auto days = qint64(number);
    QString text;
    if (from1904)
        text = QDate(1904, 1, 1).addDays(days).toString(Qt::ISODate);
    else if (days == 60) // the leap day that spreadsheets give 1900 for old times' sake
        text = QStringLiteral("1900-02-29");
    else // day 1 is 1900-01-01
        text = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days).toString(Qt::ISODate);
    const int minutes = int(std::lround((number - double(days)) * 24 * 60)) % (24 * 60);
    if (minutes > 0)
        text += u' ' + QTime(0, 0).addSecs(minutes * 60).toString(QStringLiteral("hh:mm"));
    return text;
}

// The text that `cell` gives field `field`; when it gives none, `problem` says why.
QString fieldText(const XlsxCell &cell, int field, const XlsxBook &book, QString &problem) {
    using Kind = XlsxCell::Kind;
    switch (cell.kind) {
    case Kind::Text:
        return cell.value;
    case Kind::TruthValue:
        problem = QStringLiteral("%1 is a truth value: %2").arg(cell.value, TypeAgain);
        return {};
    case Kind::ErrorValue:
        problem = QStringLiteral("%1 is an error value, not text").arg(cell.value);
        return {};
    case Kind::IsoDate:
        problem = QStringLiteral("%1 is a date: %2").arg(cell.value, TypeAgain);
        return {};
    case Kind::Number:
        break;
    }
    const NumberStyle style = book.numberStyle(cell.style);
    if (field == SlotField) {
        const QString whole = wholeNumber(cell.value, 9);
        return whole.isEmpty() ? cell.value : QString::number(whole.toLongLong());
    }
    if (style == NumberStyle::Date) {
        problem = QStringLiteral("%1 is a date: %2")
                      .arg(dateText(cell.value, book.uses1904Dates()), TypeAgain);
        return {};
    }
    // Typed digits that became a number lost only their leading zeros; in scientific notation
    // ("1E000007" read as 1.00E+07) they lost their letters too.
    const bool plain = style == NumberStyle::Plain;
    if (field == SerialNumber) {
        if (QString serial = plain ? wholeNumber(cell.value, 8) : QString(); !serial.isEmpty())
            return serial;
        problem = QStringLiteral("%1 is a number, not a serial: format the column as text")
                      .arg(cell.value);
        return {};
    }
    if (field == AuxiliaryWord && plain)
        if (QString word = wholeNumber(cell.value, 4); !word.isEmpty())
            return word;
    problem = QStringLiteral("%1 is a number: %2").arg(cell.value, TypeAgain);
    return {};
}

bool holdsValue(const XlsxCell &cell) {
    return cell.kind != XlsxCell::Kind::Text || !cell.value.isEmpty();
}

// One row after the header. False when no later row can make a difference.
bool readRow(int row, const std::vector<XlsxCell> &cells, const ImportColumns &columns,
             const XlsxBook &book, ImportProblems &problems, ImportRows &rows) {
    bool empty = true;
    for (const XlsxCell &cell : cells) {
        if (cell.column >= columns.width() && holdsValue(cell)) {
            problems.add(row, columns.nameOfCell(cell.column), untitledCellProblem());
            return !problems.enough();
        }
        empty = empty && (columns.fieldOf(cell.column) <= SlotField || !holdsValue(cell));
    }
    if (empty)
        return true;
    Record record;
    QString slotText;
    bool good = true;
    for (const XlsxCell &cell : cells) {
        const int field = columns.fieldOf(cell.column);
        if (field < 0)
            continue;
        QString problem;
        QString text = fieldText(cell, field, book, problem);
        if (!problem.isEmpty()) {
            problems.add(row, importFieldTitle(field), problem);
            good = false;
        } else if (field == SlotField) {
            slotText = text;
        } else {
            record[std::size_t(field - 1)] = text;
        }
    }
    return rows.add(row, slotText, record, good);
}

// The address from the "Database" sheet: B1, when A1 is its title.
QString readAddress(ZipArchive &zip, const XlsxBook &book, const XlsxSheetInfo &sheet,
                    QString &address, ImportProblems &problems) {
    return readSheetRows(zip, book, sheet, [&](int row, const std::vector<XlsxCell> &cells) {
        if (row != 1 || cells.empty() || cells.front().column != 0 ||
            cells.front().value.trimmed().compare(AddressTitle, Qt::CaseInsensitive) != 0)
            return false;
        if (cells.size() < 2 || cells.at(1).column != 1)
            return false;
        QString problem;
        address = fieldText(cells.at(1), Address1, book, problem);
        if (problem.isEmpty())
            problem = storableTextProblem(address);
        if (!problem.isEmpty())
            problems.addLine(QStringLiteral("Sheet \"%1\", B1: %2").arg(sheet.name, problem));
        return false;
    });
}

// Why bytes that are no zip archive are not a workbook.
QString notAWorkbook(const QByteArray &bytes) {
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return QStringLiteral("It is an older Excel workbook (.xls): save it as an Excel "
                              "workbook (.xlsx) and import that.");
    return QStringLiteral("It is not an Excel workbook (.xlsx).");
}

} // namespace

SpreadsheetImport readXlsx(const QByteArray &bytes) {
    SpreadsheetImport result;
    ZipArchive zip(bytes);
    if (!zip.isOpen()) {
        result.error = notAWorkbook(bytes);
        return result;
    }
    if (zip.entrySize(QStringLiteral("mimetype")) >= 0 &&
        zip.entrySize(QStringLiteral("content.xml")) >= 0) {
        result.error = QStringLiteral("It is an OpenDocument spreadsheet (.ods): save it as an "
                                      "Excel workbook (.xlsx) and import that.");
        return result;
    }
    XlsxBook book;
    if (QString error = book.read(zip); !error.isEmpty()) {
        result.error = error;
        return result;
    }
    const XlsxSheetInfo *users = nullptr;
    const XlsxSheetInfo *addressSheet = nullptr;
    for (const XlsxSheetInfo &sheet : book.sheets()) {
        if (sheet.name.compare(AddressSheet, Qt::CaseInsensitive) != 0)
            users = users ? users : &sheet;
        else
            addressSheet = addressSheet ? addressSheet : &sheet;
    }
    if (!users) {
        result.error = QStringLiteral("It has no sheet of users.");
        return result;
    }

    ImportProblems problems;
    if (addressSheet) {
        if (QString error = readAddress(zip, book, *addressSheet, result.address, problems);
            !error.isEmpty()) {
            result.error = error;
            return result;
        }
    }
    std::optional<ImportColumns> columns;
    std::optional<ImportRows> rows;
    const QString error =
        readSheetRows(zip, book, *users, [&](int row, const std::vector<XlsxCell> &cells) {
            if (!columns) {
                QStringList header;
                for (const XlsxCell &cell : row == 1 ? cells : std::vector<XlsxCell>()) {
                    while (header.size() < cell.column)
                        header.append(QString());
                    header.append(cell.value);
                }
                columns.emplace(header, problems);
                if (!columns->has(SerialNumber))
                    return false;
                rows.emplace(*columns, problems);
                if (row == 1)
                    return true;
            }
            return readRow(row, cells, *columns, book, problems, *rows);
        });
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    if (!rows) {
        result.error = QStringLiteral("The first row of the sheet \"%1\" has no \"%2\" column "
                                      "title.")
                           .arg(users->name, columnTitle(SerialNumber));
        return result;
    }
    rows->finish(result);
    if (!result.error.isEmpty())
        result.address.clear();
    return result;
}

SpreadsheetImport importXlsxFile(const QString &path) {
    return importSpreadsheet(path, &readXlsx);
}

} // namespace userdb
