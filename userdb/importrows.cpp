#include "userdb/importrows.h"

#include "userdb/columntitles.h"
#include "userdb/filemessage.h"
#include "userdb/safefileread.h"
#include "userdb/textcodec.h"

#include <QFileInfo>

#include <algorithm>

namespace userdb {

namespace {

constexpr int MaxListedProblems = 20;

// Bytes that the database file spends on a record besides its text: 13 pairs of quotes, 12
// commas and CR LF.
constexpr qint64 RecordOverhead = 2 * ColumnCount + (ColumnCount - 1) + 2;

// The size of the database file that would hold the records and the address.
qint64 databaseFileSize(const std::vector<std::pair<int, Record>> &records,
                        const QString &address) {
    qint64 size = address.size() + 4;
    for (const auto &entry : records) {
        size += RecordOverhead;
        for (const QString &cell : entry.second)
            size += cell.size(); // one byte per character: only Windows-1252 gets this far
    }
    return size;
}

// The slot number of a cell, or 0 when it is none.
int slotNumber(const QString &text) {
    if (text.isEmpty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
        return 0;
    const int slot = text.toInt();
    return slot <= SlotCount ? slot : 0;
}

} // namespace

QString importFieldTitle(int field) {
    return field == SlotField ? slotColumnTitle() : columnTitle(field);
}

void ImportProblems::add(int row, const QString &where, const QString &what) {
    addLine(where.isEmpty() ? QStringLiteral("Row %1: %2").arg(row).arg(what)
                            : QStringLiteral("Row %1, %2: %3").arg(row).arg(where, what));
}

void ImportProblems::addLine(const QString &line) {
    ++m_count;
    if (m_listed.size() < MaxListedProblems)
        m_listed << line;
}

bool ImportProblems::enough() const {
    return m_count > MaxListedProblems;
}

QString ImportProblems::text() const {
    const QString reason = m_count == 1 ? QStringLiteral("It has a problem:")
                           : !enough()
                               ? QStringLiteral("It has %1 problems:").arg(m_count)
                               : QStringLiteral("It has more than %1 problems; the first %1 are:")
                                     .arg(MaxListedProblems);
    return reason + u'\n' + m_listed.join(u'\n');
}

ImportColumns::ImportColumns(const QStringList &header, ImportProblems &problems)
    : m_width(int(header.size())) {
    m_cellOfField.fill(-1);
    m_fieldOfCell.assign(header.size(), -1);
    for (int cell = 0; cell < m_width; ++cell) {
        const QString title = header.at(cell).trimmed();
        for (int field = 0; field < ImportFieldCount; ++field) {
            if (title.compare(importFieldTitle(field), Qt::CaseInsensitive) != 0)
                continue;
            int &known = m_cellOfField[std::size_t(field)];
            if (known >= 0) {
                problems.add(1, importFieldTitle(field),
                             QStringLiteral("the title is given twice (columns %1 and %2)")
                                 .arg(known + 1)
                                 .arg(cell + 1));
                break;
            }
            known = cell;
            m_fieldOfCell[std::size_t(cell)] = field;
            break;
        }
    }
}

QString ImportColumns::nameOfCell(int cell) const {
    const int field = fieldOf(cell);
    return field >= 0 ? importFieldTitle(field) : QStringLiteral("column %1").arg(cell + 1);
}

QString untitledCellProblem() {
    return QStringLiteral("the header row has no title for this cell");
}

QString tooManyUsersProblem() {
    return QStringLiteral("a database holds at most %1 users").arg(SlotCount);
}

QString storableTextProblem(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'"')
            return QStringLiteral("a double quote cannot be stored in a database file");
        if (!isWindows1252Character(ch)) {
            const bool pair = ch.isHighSurrogate() && i + 1 < text.size();
            return QStringLiteral("the character \"%1\" cannot be stored in a database file")
                .arg(text.mid(i, pair ? 2 : 1));
        }
    }
    return {};
}

bool isEmptyRecord(const Record &record) {
    return std::all_of(record.begin(), record.end(),
                       [](const QString &text) { return text.isEmpty(); });
}

QString shownInMessage(const QString &text) {
    constexpr int Longest = 20;
    return QLatin1Char('"') + (text.size() > Longest ? text.left(Longest) + u'\u2026' : text) +
           QLatin1Char('"');
}

bool ImportRows::add(int row, const QString &slotText, const Record &record, bool good) {
    const int slot = slotOf(row, slotText);
    good = slot > 0 && good;
    for (int column = 1; column <= ColumnCount; ++column) {
        const QString problem = storableTextProblem(record[std::size_t(column - 1)]);
        if (!problem.isEmpty()) {
            m_problems.add(row, columnTitle(column), problem);
            good = false;
        }
    }
    if (good)
        m_records.emplace_back(slot, record);
    return !m_problems.enough() && m_nextSlot <= SlotCount;
}

int ImportRows::slotOf(int row, const QString &text) {
    if (!m_columns.has(SlotField)) {
        if (++m_nextSlot <= SlotCount)
            return m_nextSlot;
        m_problems.add(row, {}, tooManyUsersProblem());
        return 0;
    }
    const int slot = slotNumber(text);
    if (slot == 0) {
        m_problems.add(row, slotColumnTitle(),
                       text.isEmpty() ? QStringLiteral("the slot number is missing")
                                      : QStringLiteral("%1 is not a slot number from 1 to %2")
                                            .arg(shownInMessage(text))
                                            .arg(SlotCount));
        return 0;
    }
    int &owner = m_rowOfSlot[std::size_t(slot - 1)];
    if (owner != 0) {
        m_problems.add(row, slotColumnTitle(),
                       QStringLiteral("slot %1 is already given to row %2").arg(slot).arg(owner));
        return 0;
    }
    owner = row;
    return slot;
}

void ImportRows::finish(SpreadsheetImport &result) {
    if (m_problems.count() > 0) {
        result.error = m_problems.text();
        return;
    }
    if (m_records.empty()) {
        result.error = QStringLiteral("It holds no users.");
        return;
    }
    // Load reads files of up to 64 MB: a database any larger could be saved but never opened.
    if (databaseFileSize(m_records, result.address) > MaxReadFileBytes) {
        result.error = QStringLiteral("Its users would make a database file larger than %1 MB, "
                                      "which Load Database does not read.")
                           .arg(MaxReadFileBytes / (qint64(1024) * 1024));
        return;
    }
    for (auto &[slot, record] : m_records)
        result.records.setRecord(slot, record);
    result.userCount = int(m_records.size());
}

QString proposedDatabasePath(const QString &spreadsheetPath) {
    const QString suffix = QFileInfo(spreadsheetPath).suffix();
    const bool keepSuffix = suffix.isEmpty() || suffix.compare(u"fxd", Qt::CaseInsensitive) == 0;
    return (keepSuffix ? spreadsheetPath : spreadsheetPath.chopped(suffix.size() + 1)) +
           QStringLiteral(".fxd");
}

SpreadsheetImport importSpreadsheet(const QString &path,
                                    SpreadsheetImport (*read)(const QByteArray &bytes)) {
    const QString verb = QStringLiteral("import");
    const FileReadResult file = readRegularFile(path, MaxReadFileBytes, verb);
    SpreadsheetImport result;
    if (!file.error.isEmpty())
        result.error = file.error;
    else
        result = read(file.bytes);
    if (!result.error.isEmpty() && file.error.isEmpty())
        result.error = fileMessage(verb, path, result.error);
    result.proposedPath = proposedDatabasePath(path);
    return result;
}

} // namespace userdb
