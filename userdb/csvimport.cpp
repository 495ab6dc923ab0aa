#include "userdb/csvimport.h"

#include "userdb/columntitles.h"
#include "userdb/csvreader.h"
#include "userdb/fieldrules.h"
#include "userdb/filemessage.h"
#include "userdb/safefileread.h"
#include "userdb/spreadsheetguard.h"
#include "userdb/textcodec.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace userdb {

namespace {

constexpr int MaxListedProblems = 20;
constexpr int SerialDigits = 8;
// Fields of a row: the slot number, then the 13 record columns by their numbers.
constexpr int SlotField = 0;
constexpr int FieldCount = ColumnCount + 1;

QString fieldTitle(int field) {
    return field == SlotField ? slotColumnTitle() : columnTitle(field);
}

// A cell's text quoted in a message, cut short when long.
QString shown(const QString &text) {
    constexpr int Longest = 20;
    return QLatin1Char('"') + (text.size() > Longest ? text.left(Longest) + u'\u2026' : text) +
           QLatin1Char('"');
}

// The first problems found. Reading stops at one more than are listed: a file that far off is
// not worth reading to its end (a large one would take seconds).
class Problems {
public:
    void add(int row, const QString &where, const QString &what) {
        ++m_count;
        if (m_listed.size() < MaxListedProblems)
            m_listed << (where.isEmpty()
                             ? QStringLiteral("Row %1: %2").arg(row).arg(what)
                             : QStringLiteral("Row %1, %2: %3").arg(row).arg(where, what));
    }
    int count() const { return m_count; }
    bool enough() const { return m_count > MaxListedProblems; }
    const QStringList &listed() const { return m_listed; }

private:
    int m_count = 0;
    QStringList m_listed;
};

// Which cell of a row holds which field, from the header row.
class ColumnMap {
public:
    // Adds the problems of the header row (a title given twice).
    ColumnMap(const QStringList &header, Problems &problems)
        : m_width(int(header.size())) {
        m_cellOfField.fill(-1);
        m_fieldOfCell.assign(header.size(), -1);
        for (int cell = 0; cell < m_width; ++cell) {
            const QString title = header.at(cell).trimmed();
            for (int field = 0; field < FieldCount; ++field) {
                if (title.compare(fieldTitle(field), Qt::CaseInsensitive) != 0)
                    continue;
                if (m_cellOfField[field] >= 0) {
                    problems.add(1, fieldTitle(field),
                                 QStringLiteral("the title is given twice (columns %1 and %2)")
                                     .arg(m_cellOfField[field] + 1)
                                     .arg(cell + 1));
                    break;
                }
                m_cellOfField[field] = cell;
                m_fieldOfCell[std::size_t(cell)] = field;
                break;
            }
        }
    }

    bool has(int field) const { return m_cellOfField[field] >= 0; }
    int cellOf(int field) const { return m_cellOfField[field]; }
    int width() const { return m_width; }
    // How a message names a cell: its column's title, or its number when it has none we know.
    QString nameOfCell(int cell) const {
        const int field = cell < m_width ? m_fieldOfCell[std::size_t(cell)] : -1;
        return field >= 0 ? fieldTitle(field) : QStringLiteral("column %1").arg(cell + 1);
    }

private:
    int m_width;
    std::array<int, FieldCount> m_cellOfField{};
    std::vector<int> m_fieldOfCell;
};

bool isHexDigit(QChar ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
}

// Spreadsheets drop leading zeros and may change letter case; the database keeps 8 capitals.
bool normaliseSerial(QString &serial) {
    if (serial.isEmpty())
        return true;
    if (serial.size() > SerialDigits || !std::all_of(serial.begin(), serial.end(), isHexDigit))
        return false;
    serial = serial.toUpper().rightJustified(SerialDigits, u'0');
    return true;
}

// The slot number of a cell, or 0 when it is none.
int slotNumber(const QString &text) {
    if (text.isEmpty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
        return 0;
    const int slot = text.toInt();
    return slot <= SlotCount ? slot : 0;
}

// Why the database cannot take `text` in `column`; empty when it can. Nothing is altered to make
// it fit: the user fixes the spreadsheet.
QString textProblem(int column, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'"')
            return QStringLiteral("a double quote cannot be stored in a database file");
        if (ch == u'\r' || ch == u'\n')
            return QStringLiteral("a line break cannot be stored in this column");
        if (ch.category() == QChar::Other_Control)
            return QStringLiteral("the control character U+%1 cannot be stored in a database file")
                .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, u'0'));
        if (!isWindows1252Character(ch)) {
            const bool pair = ch.isHighSurrogate() && i + 1 < text.size();
            return QStringLiteral("the character \"%1\" cannot be stored in a database file")
                .arg(text.mid(i, pair ? 2 : 1));
        }
    }
    const int limit = maxTypedLengthOfColumn(column);
    if (limit > 0 && text.size() > limit)
        return QStringLiteral("%1 characters are more than the %2 that fit")
            .arg(text.size())
            .arg(limit);
    return {};
}

// Puts the rows into slots and checks them; the records wait here until the whole file is good.
class RowReader {
public:
    RowReader(const ColumnMap &columns, Problems &problems)
        : m_columns(columns)
        , m_problems(problems) {}

    // False when no later row can make a difference.
    bool read(int row, const QStringList &cells, const CsvSyntaxProblem &syntax) {
        readRow(row, cells, syntax);
        return !m_problems.enough() && m_nextSlot <= SlotCount;
    }

    // Stores the records; only when no row had a problem.
    int storeInto(RecordStore &store) {
        for (auto &[slot, record] : m_records)
            store.setRecord(slot, record);
        return int(m_records.size());
    }

private:
    void readRow(int row, const QStringList &cells, const CsvSyntaxProblem &syntax) {
        if (syntax.cell >= 0) {
            m_problems.add(row, m_columns.nameOfCell(syntax.cell), syntax.what);
            return;
        }
        for (int cell = m_columns.width(); cell < cells.size(); ++cell) {
            if (!cells.at(cell).isEmpty()) {
                m_problems.add(row, m_columns.nameOfCell(cell),
                               QStringLiteral("the header row has no title for this cell"));
                return;
            }
        }
        Record record;
        bool empty = true;
        for (int column = 1; column <= ColumnCount; ++column) {
            QString &text = record[std::size_t(column - 1)];
            if (m_columns.has(column))
                text = removeFormulaGuard(cells.value(m_columns.cellOf(column)));
            empty = empty && text.isEmpty();
        }
        if (empty)
            return;
        const int slot = slotOf(row, cells);
        bool good = slot > 0;
        good = checkSerial(row, record[SerialNumber - 1]) && good;
        for (int column = AuxiliaryWord; column <= ColumnCount; ++column) {
            const QString problem = textProblem(column, record[std::size_t(column - 1)]);
            if (!problem.isEmpty()) {
                m_problems.add(row, columnTitle(column), problem);
                good = false;
            }
        }
        if (good)
            m_records.emplace_back(slot, std::move(record));
    }

    // The row's slot, or 0 after adding the problem.
    int slotOf(int row, const QStringList &cells) {
        if (!m_columns.has(SlotField)) {
            if (++m_nextSlot <= SlotCount)
                return m_nextSlot;
            m_problems.add(row, {},
                           QStringLiteral("a database holds at most %1 users").arg(SlotCount));
            return 0;
        }
        const QString text = removeFormulaGuard(cells.value(m_columns.cellOf(SlotField)));
        const int slot = slotNumber(text);
        if (slot == 0) {
            m_problems.add(row, slotColumnTitle(),
                           text.isEmpty() ? QStringLiteral("the slot number is missing")
                                          : QStringLiteral("%1 is not a slot number from 1 to %2")
                                                .arg(shown(text))
                                                .arg(SlotCount));
            return 0;
        }
        int &owner = m_rowOfSlot[std::size_t(slot - 1)];
        if (owner != 0) {
            m_problems.add(
                row, slotColumnTitle(),
                QStringLiteral("slot %1 is already given to row %2").arg(slot).arg(owner));
            return 0;
        }
        owner = row;
        return slot;
    }

    bool checkSerial(int row, QString &serial) {
        if (normaliseSerial(serial))
            return true;
        m_problems.add(row, columnTitle(SerialNumber),
                       QStringLiteral("%1 is not a serial number of up to 8 hexadecimal digits")
                           .arg(shown(serial)));
        return false;
    }

    const ColumnMap &m_columns;
    Problems &m_problems;
    int m_nextSlot = 0;
    std::vector<int> m_rowOfSlot = std::vector<int>(SlotCount, 0);
    std::vector<std::pair<int, Record>> m_records;
};

QString problemsReason(const Problems &problems) {
    return problems.count() == 1 ? QStringLiteral("It has a problem:")
           : !problems.enough()  ? QStringLiteral("It has %1 problems:").arg(problems.count())
                                 : QStringLiteral("It has more than %1 problems; the first %1 are:")
                                      .arg(MaxListedProblems);
}

} // namespace

CsvImportResult readCsv(const QByteArray &bytes, RecordStore &freshStore) {
    CsvImportResult result;
    const QString text = decodeSpreadsheetText(bytes);
    if (text.trimmed().isEmpty()) {
        result.error = QStringLiteral("The file is empty.");
        return result;
    }
    CsvReader reader(text, detectSeparator(text));
    QStringList cells;
    reader.readRow(cells);
    Problems problems;
    if (reader.problem().cell >= 0)
        problems.add(1, QStringLiteral("column %1").arg(reader.problem().cell + 1),
                     reader.problem().what);
    const ColumnMap columns(cells, problems);
    if (!columns.has(SerialNumber)) {
        result.error = QStringLiteral("The first row has no \"%1\" column title.")
                           .arg(columnTitle(SerialNumber));
        return result;
    }
    RowReader rows(columns, problems);
    while (reader.readRow(cells)) {
        if (!rows.read(reader.row(), cells, reader.problem()))
            break;
    }

    if (problems.count() > 0)
        result.error = problemsReason(problems) + u'\n' + problems.listed().join(u'\n');
    else
        result.userCount = rows.storeInto(freshStore);
    return result;
}

CsvImportResult importCsvFile(const QString &path, RecordStore &freshStore) {
    const QString verb = QStringLiteral("import");
    CsvImportResult result;
    const FileReadResult file = readRegularFile(path, MaxReadFileBytes, verb);
    if (!file.error.isEmpty()) {
        result.error = file.error;
        return result;
    }
    result = readCsv(file.bytes, freshStore);
    if (!result.error.isEmpty())
        result.error = fileMessage(verb, path, result.error);
    result.databasePath = databasePathForCsv(path);
    return result;
}

QString databasePathForCsv(const QString &csvPath) {
    const QString suffix = QFileInfo(csvPath).suffix();
    const bool keepSuffix = suffix.isEmpty() || suffix.compare(u"fxd", Qt::CaseInsensitive) == 0;
    return (keepSuffix ? csvPath : csvPath.chopped(suffix.size() + 1)) + QStringLiteral(".fxd");
}

} // namespace userdb
