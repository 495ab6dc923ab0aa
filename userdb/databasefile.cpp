#include "userdb/databasefile.h"

#include "userdb/columntitles.h"
#include "userdb/filemessage.h"
#include "userdb/safefileread.h"
#include "userdb/safefilewrite.h"
#include "userdb/textcodec.h"

#include <cstring>

namespace userdb {

namespace {

constexpr char Quote = '"';
constexpr char Comma = ',';
constexpr char Cr = '\r';
constexpr char Lf = '\n';

void appendQuoted(QByteArray &out, const QString &text) {
    out.append(Quote);
    appendWindows1252(out, text);
    out.append(Quote);
}

// Reads the fields of a database file one at a time. Fields do not follow lines: a record is
// simply the next 13 fields, wherever the line ends fall.
class FieldReader {
public:
    using Decoder = QString (*)(QByteArrayView);

    // The separators are ASCII, so the same byte scan reads Windows-1252 and UTF-8 alike;
    // only the decoding of each field differs.
    FieldReader(QByteArrayView bytes, Decoder decode)
        : m_data(bytes.data())
        , m_size(bytes.size())
        , m_decode(decode) {}

    // True when nothing but whitespace and line ends is left: blank lines or spaces after the
    // last record end the file rather than starting one more record.
    bool atEnd() const {
        for (qsizetype i = m_pos; i < m_size; ++i)
            if (m_data[i] != ' ' && m_data[i] != '\t' && m_data[i] != Cr && m_data[i] != Lf)
                return false;
        return true;
    }

    // False when the file ends before a whole field could be read (including inside quotes).
    bool readField(QString &text) {
        while (m_pos < m_size && (m_data[m_pos] == ' ' || isLineEnd(m_data[m_pos])))
            ++m_pos;
        if (m_pos >= m_size)
            return false;
        if (m_data[m_pos] == Quote)
            return readQuoted(text);
        readUnquoted(text);
        return true;
    }

private:
    static bool isLineEnd(char c) { return c == Cr || c == Lf; }

    bool readQuoted(QString &text) {
        const qsizetype start = m_pos + 1;
        const char *close = static_cast<const char *>(
            std::memchr(m_data + start, Quote, std::size_t(m_size - start)));
        if (!close)
            return false;
        const qsizetype end = close - m_data;
        text = m_decode(QByteArrayView(m_data + start, end - start));
        // Anything between the closing quote and the separator is ignored.
        m_pos = end + 1;
        while (m_pos < m_size && m_data[m_pos] != Comma && !isLineEnd(m_data[m_pos]))
            ++m_pos;
        consumeSeparator();
        return true;
    }

    void readUnquoted(QString &text) {
        const qsizetype start = m_pos;
        while (m_pos < m_size && m_data[m_pos] != Comma && !isLineEnd(m_data[m_pos]))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && m_data[end - 1] == ' ')
            --end;
        text = m_decode(QByteArrayView(m_data + start, end - start));
        consumeSeparator();
    }

    // A comma, or a line end, where CR LF counts as one.
    void consumeSeparator() {
        if (m_pos >= m_size)
            return;
        if (m_data[m_pos] == Cr && m_pos + 1 < m_size && m_data[m_pos + 1] == Lf)
            ++m_pos;
        ++m_pos;
    }

    const char *m_data;
    qsizetype m_size;
    Decoder m_decode;
    qsizetype m_pos = 0;
};

QString decodeUtf8(QByteArrayView bytes) {
    return QString::fromUtf8(bytes);
}

// Why `text` would not survive a save, or empty when it would.
QString unstorableReason(const QString &text) {
    for (const QChar ch : text) {
        if (ch == QLatin1Char(Quote))
            return QStringLiteral("a double quote cannot be stored in a database file");
        if (!isWindows1252Character(ch))
            return QStringLiteral("the character \"%1\" cannot be stored in a database file")
                .arg(ch);
    }
    return {};
}

} // namespace

QByteArray writeDatabase(const QString &address, const RecordStore &store) {
    // Sized once, so that appending never moves the buffer.
    qsizetype size = address.size() + 4;
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (const QString &cell : store.record(slot))
            size += cell.size() + 3;
    QByteArray out;
    out.reserve(size + qsizetype(2) * SlotCount);
    appendQuoted(out, address);
    out.append("\r\n");
    for (int slot = 1; slot <= SlotCount; ++slot) {
        if (store.isFree(slot))
            continue;
        const Record &record = store.record(slot);
        for (int column = 0; column < ColumnCount; ++column) {
            if (column > 0)
                out.append(Comma);
            appendQuoted(out, record[std::size_t(column)]);
        }
        out.append("\r\n");
    }
    return out;
}

ReadResult readDatabase(const QByteArray &bytes, RecordStore &into) {
    ReadResult result;
    // A file that a text editor saved as UTF-8 says so with a byte-order mark.
    static const QByteArray Utf8Mark = "\xEF\xBB\xBF";
    const bool utf8 = bytes.startsWith(Utf8Mark);
    FieldReader reader(QByteArrayView(bytes).sliced(utf8 ? Utf8Mark.size() : 0),
                       utf8 ? decodeUtf8 : decodeWindows1252);
    if (reader.atEnd()) {
        result.error = QStringLiteral("The file is empty.");
        return result;
    }
    if (!reader.readField(result.address)) {
        result.error = QStringLiteral("The database address is cut short by the end of the file.");
        return result;
    }
    Record record;
    while (!reader.atEnd()) {
        if (result.recordCount == SlotCount) {
            result.error = QStringLiteral("The file holds more than %1 records.").arg(SlotCount);
            return result;
        }
        for (QString &cell : record) {
            if (!reader.readField(cell)) {
                result.error = QStringLiteral("Record %1 is cut short by the end of the file.")
                                   .arg(result.recordCount + 1);
                return result;
            }
        }
        into.setRecord(++result.recordCount, record);
    }
    result.ok = true;
    return result;
}

QString writeDatabaseTo(QIODevice &device, const QString &address, const RecordStore &store) {
    return writeAllTo(device, writeDatabase(address, store));
}

QString unstorableText(const QString &address, const RecordStore &store) {
    if (const QString reason = unstorableReason(address); !reason.isEmpty())
        return QStringLiteral("Database address: %1.").arg(reason);
    for (int slot = 1; slot <= SlotCount; ++slot) {
        for (int column = 1; column <= ColumnCount; ++column) {
            const QString reason = unstorableReason(store.cell(slot, column));
            if (!reason.isEmpty())
                return QStringLiteral("Slot %1, %2: %3.")
                    .arg(slot)
                    .arg(columnTitle(column), reason);
        }
    }
    return {};
}

QString saveDatabaseFile(const QString &path, const QString &address, const RecordStore &store) {
    const QString verb = QStringLiteral("save");
    if (const QString reason = unstorableText(address, store); !reason.isEmpty())
        return fileMessage(verb, path, reason);
    return replaceFile(path, writeDatabase(address, store), verb);
}

LoadResult loadDatabaseFile(const QString &path, RecordStore &freshStore) {
    const QString verb = QStringLiteral("load");
    LoadResult result;
    const FileReadResult file = readRegularFile(path, MaxReadFileBytes, verb);
    if (!file.error.isEmpty()) {
        result.error = file.error;
        return result;
    }
    const ReadResult read = readDatabase(file.bytes, freshStore);
    result.address = read.address;
    result.recordCount = read.recordCount;
    if (!read.ok)
        result.error = fileMessage(verb, path, read.error);
    return result;
}

} // namespace userdb
