#include "userdb/xlsxexport.h"

#include "userdb/columntitles.h"
#include "userdb/filemessage.h"
#include "userdb/safefilewrite.h"

#include <QByteArray>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <memory>

namespace userdb {

namespace {

const QString AddressTitle = QStringLiteral("Database Address");
constexpr int WidestColumn = 60; // characters; longer text wraps out of sight, as in any sheet

bool isHexDigit(QChar ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F') || (ch >= u'a' && ch <= u'f');
}

// The text as a workbook stores it. The library writes control characters as "_xHHHH_", the
// format's escape; text that already reads like one gets its underscore escaped ("_x005F_") so
// that it comes back as written. NUL, which no C string holds, is escaped here too.
QByteArray workbookText(const QString &text) {
    if (!text.contains(QLatin1String("_x")) && !text.contains(QChar(0)))
        return text.toUtf8();
    QString escaped;
    escaped.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QChar(0)) {
            escaped += QLatin1String("_x0000_");
            continue;
        }
        if (ch == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' && text.at(i + 6) == u'_' &&
            std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHexDigit)) {
            escaped += QLatin1String("_x005F_");
            continue;
        }
        escaped += ch;
    }
    return escaped.toUtf8();
}

QString tooLong(const QString &where, qsizetype length) {
    return QStringLiteral("%1: %2 characters are more than the %3 that a spreadsheet cell holds.")
        .arg(where)
        .arg(length)
        .arg(MaxSpreadsheetCellLength);
}

QString libraryReason(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

// Builds the workbook with libxlsxwriter, which writes it to `file` when closed.
class WorkbookWriter {
public:
    explicit WorkbookWriter(const QString &file)
        : m_book(workbook_new(QFile::encodeName(file).constData())) {}
    ~WorkbookWriter() {
        if (m_book)
            workbook_close(m_book); // a book given up on frees its memory here
    }
    WorkbookWriter(const WorkbookWriter &) = delete;
    WorkbookWriter &operator=(const WorkbookWriter &) = delete;

    // Empty on success, else the reason.
    QString write(const QString &address, const RecordStore &store) {
        if (!m_book)
            return QStringLiteral("The workbook could not be started (out of memory).");
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        m_text = workbook_add_format(m_book);
        format_set_num_format(m_text, "@");
        m_wrappedText = workbook_add_format(m_book);
        format_set_num_format(m_wrappedText, "@");
        format_set_text_wrap(m_wrappedText);
        QString reason = writeUsers(store);
        if (reason.isEmpty())
            reason = writeDatabase(address);
        if (!reason.isEmpty())
            return reason;
        const lxw_error closed = workbook_close(m_book);
        m_book = nullptr;
        return closed == LXW_NO_ERROR ? QString() : libraryReason(closed);
    }

private:
    QString writeUsers(const RecordStore &store) {
        lxw_worksheet *sheet = workbook_add_worksheet(m_book, "Users");
        std::array<int, ColumnCount + 1> widths{};
        // The header's titles, with room for the autofilter's button.
        for (int column = 0; column <= ColumnCount; ++column) {
            const QString title = column == 0 ? slotColumnTitle() : columnTitle(column);
            worksheet_write_string(sheet, 0, lxw_col_t(column), title.toUtf8().constData(), m_bold);
            widths[std::size_t(column)] = int(title.size()) + 3;
        }
        lxw_row_t row = 0;
        for (int slot = 1; slot <= SlotCount; ++slot) {
            if (store.isFree(slot))
                continue;
            ++row;
            worksheet_write_number(sheet, row, 0, slot, nullptr);
            const Record &record = store.record(slot);
            for (int column = 1; column <= ColumnCount; ++column) {
                const QString &text = record[std::size_t(column - 1)];
                if (text.isEmpty())
                    continue; // the column's format keeps a cell typed later text
                int &width = widths[std::size_t(column)];
                width = std::max(width, std::min(int(text.size()) + 1, WidestColumn));
                const lxw_error error = worksheet_write_string(
                    sheet, row, lxw_col_t(column), workbookText(text).constData(), m_text);
                if (error != LXW_NO_ERROR)
                    return QStringLiteral("Slot %1, %2: %3")
                        .arg(slot)
                        .arg(columnTitle(column), libraryReason(error));
            }
        }
        worksheet_set_column(sheet, 0, 0, widths[0], nullptr);
        for (int column = 1; column <= ColumnCount; ++column)
            worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column),
                                 widths[std::size_t(column)], m_text);
        worksheet_freeze_panes(sheet, 1, 0);
        worksheet_autofilter(sheet, 0, 0, row, ColumnCount);
        return {};
    }

    QString writeDatabase(const QString &address) {
        lxw_worksheet *sheet = workbook_add_worksheet(m_book, "Database");
        worksheet_write_string(sheet, 0, 0, AddressTitle.toUtf8().constData(), m_bold);
        worksheet_set_column(sheet, 0, 0, double(AddressTitle.size()) + 2, nullptr);
        worksheet_set_column(sheet, 1, 1, WidestColumn, m_wrappedText);
        if (address.isEmpty())
            return {};
        const lxw_error error =
            worksheet_write_string(sheet, 0, 1, workbookText(address).constData(), m_wrappedText);
        return error == LXW_NO_ERROR ? QString()
                                     : AddressTitle + QStringLiteral(": ") + libraryReason(error);
    }

    lxw_workbook *m_book;
    lxw_format *m_bold = nullptr;
    lxw_format *m_text = nullptr;
    lxw_format *m_wrappedText = nullptr;
};

} // namespace

QString xlsxExportProblem(const QString &address, const RecordStore &store) {
    if (address.size() > MaxSpreadsheetCellLength)
        return tooLong(AddressTitle, address.size());
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (int column = 1; column <= ColumnCount; ++column)
            if (const QString &text = store.cell(slot, column);
                text.size() > MaxSpreadsheetCellLength)
                return tooLong(QStringLiteral("Slot %1, %2").arg(slot).arg(columnTitle(column)),
                               text.size());
    return {};
}

QString exportXlsxFile(const QString &path, const QString &address, const RecordStore &store) {
    const QString verb = QStringLiteral("export to");
    if (const QString problem = xlsxExportProblem(address, store); !problem.isEmpty())
        return fileMessage(verb, path, problem);
    return replaceFileThrough(path, verb, [&](const QString &temporaryPath) {
        return WorkbookWriter(temporaryPath).write(address, store);
    });
}

} // namespace userdb
