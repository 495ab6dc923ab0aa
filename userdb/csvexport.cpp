#include "userdb/csvexport.h"

#include "userdb/columntitles.h"
#include "userdb/safefilewrite.h"
#include "userdb/spreadsheetguard.h"

#include <algorithm>

namespace userdb {

namespace {

constexpr QChar Separator = u',';
constexpr QChar Quote = u'"';
const QString LineEnd = QStringLiteral("\r\n");

// Quotes for the separator, quotes and line breaks; also for spaces at either end, which some
// readers trim from unquoted fields.
bool needsQuotes(const QString &text) {
    if (text.isEmpty())
        return false;
    if (text.front() == u' ' || text.back() == u' ')
        return true;
    for (const QChar ch : text)
        if (ch == Separator || ch == Quote || ch == u'\r' || ch == u'\n')
            return true;
    return false;
}

void appendField(QString &out, const QString &text) {
    if (!needsQuotes(text)) {
        out += text;
        return;
    }
    out += Quote;
    for (const QChar ch : text) {
        if (ch == Quote)
            out += Quote;
        out += ch;
    }
    out += Quote;
}

// The import pads a serial of up to 8 hexadecimal digits to 8 capitals (a spreadsheet drops
// leading zeros); a serial that this would change is written with a leading apostrophe, which
// the import reads as "take it as it stands", so that it comes back exactly.
QString serialCell(const QString &serial) {
    const bool standard =
        serial.isEmpty() ||
        (serial.size() == 8 && std::all_of(serial.begin(), serial.end(), [](QChar ch) {
             return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F');
         }));
    return standard ? serial : u'\'' + serial;
}

} // namespace

QByteArray writeCsv(const RecordStore &store) {
    QString text;
    text.reserve(qsizetype(64) * 1024);
    text += slotColumnTitle();
    for (int column = 1; column <= ColumnCount; ++column)
        text += Separator + columnTitle(column);
    text += LineEnd;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        if (store.isFree(slot))
            continue;
        text += QString::number(slot);
        const Record &record = store.record(slot);
        text += Separator;
        appendField(text, serialCell(record[SerialNumber - 1]));
        for (int column = AuxiliaryWord; column <= ColumnCount; ++column) {
            text += Separator;
            appendField(text, guardAgainstFormula(record[std::size_t(column - 1)]));
        }
        text += LineEnd;
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString exportCsvFile(const QString &path, const RecordStore &store) {
    return replaceFile(path, writeCsv(store), QStringLiteral("export to"));
}

} // namespace userdb
