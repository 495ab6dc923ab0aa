#pragma once

#include "userdb/recordstore.h"

#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace userdb {

// What the spreadsheet imports (CSV and workbook) share: the columns found by their titles, the
// rules for rows and slots, what the database file can hold, the list of problems and the
// all-or-nothing result.

// A spreadsheet read into a new database: either every row went in, or nothing did.
struct SpreadsheetImport {
    // Empty on success; else what is wrong, then the first 20 problems, each "Row 12, Surname:
    // ..." (the header is row 1). The file functions put "Cannot import "<path>": " first.
    QString error;
    RecordStore records; // the users in their slots; empty on failure
    int userCount = 0;   // slots filled
    QString address;     // the database address: a workbook's "Database" sheet gives it
    // (file functions) A proposal for where to keep the database, for the Save As dialog only:
    // the spreadsheet's name with ".fxd" (proposedDatabasePath). The import is a new, unsaved
    // database: nothing is ever saved there without the user choosing it.
    QString proposedPath;
};

// Fields of a row: the slot number, then the 13 record columns by their numbers.
constexpr int SlotField = 0;
constexpr int ImportFieldCount = ColumnCount + 1;
QString importFieldTitle(int field);

// The first problems found. Reading stops at one more than are listed: a file that far off is
// not worth reading to its end (a large one would take seconds).
class ImportProblems {
public:
    // "Row 12, Surname: what" or, without `where`, "Row 12: what".
    void add(int row, const QString &where, const QString &what);
    // A problem outside the rows, as it stands.
    void addLine(const QString &line);
    int count() const { return m_count; }
    bool enough() const;
    // "It has a problem:" or "It has 3 problems:" and so on, then the list, one per line.
    QString text() const;

private:
    int m_count = 0;
    QStringList m_listed;
};

// Which cell of a row holds which field, from the header row: titles as columntitles.h gives
// them, letter case and surrounding spaces ignored, any order, unknown titles ignored.
class ImportColumns {
public:
    // Adds the problems of the header row (a title given twice).
    ImportColumns(const QStringList &header, ImportProblems &problems);

    bool has(int field) const { return m_cellOfField[std::size_t(field)] >= 0; }
    // The cell index (from 0) of `field`, or -1.
    int cellOf(int field) const { return m_cellOfField[std::size_t(field)]; }
    // The field of cell `cell`, or -1 when its title is none we know.
    int fieldOf(int cell) const {
        return cell >= 0 && cell < m_width ? m_fieldOfCell[std::size_t(cell)] : -1;
    }
    // Cells from this index on have no title at all: text there is refused.
    int width() const { return m_width; }
    // How a message names a cell: its column's title, or its number when it has none we know.
    QString nameOfCell(int cell) const;

private:
    int m_width;
    std::array<int, ImportFieldCount> m_cellOfField{};
    std::vector<int> m_fieldOfCell;
};

QString untitledCellProblem();
QString tooManyUsersProblem();

// Why the database file cannot hold `text` as it stands, empty when it can: a double quote
// would end its field early, a character outside Windows-1252 has no byte there. Everything
// else (line breaks, tabs and other control characters, any length) the file keeps.
QString storableTextProblem(const QString &text);

// Puts rows into slots and checks them; the records wait here until the whole file is good.
// With a Slot column each row goes to its slot (1 to 4095, each once); without one the rows
// fill slots 1, 2, 3, ... in file order.
class ImportRows {
public:
    ImportRows(const ImportColumns &columns, ImportProblems &problems)
        : m_columns(columns)
        , m_problems(problems) {}

    // A row that holds text in a record column (rows that do not take no slot). `good` is false
    // when the caller already found a problem in it. False when no later row can make a
    // difference.
    bool add(int row, const QString &slotText, const Record &record, bool good);

    // On success (no problems, at least one user), moves the records into `result`; else sets
    // its error.
    void finish(SpreadsheetImport &result);

private:
    int slotOf(int row, const QString &text);

    const ImportColumns &m_columns;
    ImportProblems &m_problems;
    int m_nextSlot = 0;
    std::vector<int> m_rowOfSlot = std::vector<int>(SlotCount, 0);
    std::vector<std::pair<int, Record>> m_records;
};

// True when every record column is empty: such a row takes no slot.
bool isEmptyRecord(const Record &record);

// A cell's text quoted in a message, cut short when long.
QString shownInMessage(const QString &text);

// Where Save As proposes to keep an imported database: the spreadsheet's path with its
// extension replaced by ".fxd" ("users.fxd" itself becomes "users.fxd.fxd", never the file
// read).
QString proposedDatabasePath(const QString &spreadsheetPath);

// Reads the spreadsheet file at `path` (a regular file of at most 64 MB) with `read`: the error
// names the file, and the proposal for its database is proposedDatabasePath(path).
SpreadsheetImport importSpreadsheet(const QString &path,
                                    SpreadsheetImport (*read)(const QByteArray &bytes));

} // namespace userdb
