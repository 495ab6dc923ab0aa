#include "userdb/xlsxsheet.h"

namespace userdb {

namespace {

constexpr int MaxColumns = 16384; // A to XFD
constexpr int MaxRows = 1048576;

// The column of a cell reference such as "B12", from 0; -1 when it has none.
int columnOf(QStringView reference) {
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter() && column <= MaxColumns; ++i)
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    return i == 0 ? -1 : column - 1;
}

// Streams the rows of a sheet; error() tells what it found wrong beyond the XML itself.
class SheetReader {
public:
    explicit SheetReader(const XlsxBook &book)
        : m_book(book) {}

    void read(QXmlStreamReader &xml,
              const std::function<bool(int, const std::vector<XlsxCell> &)> &take) {
        int row = 0;
        std::vector<XlsxCell> cells;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"worksheet" || xml.name() == u"sheetData")
                continue; // into it
            if (xml.name() != u"row") {
                xml.skipCurrentElement();
                continue;
            }
            const int numbered = xml.attributes().value(QLatin1String("r")).toInt();
            row = numbered > 0 ? numbered : row + 1;
            if (row > MaxRows)
                return fail(QStringLiteral("It has a row past row %1.").arg(MaxRows));
            cells.clear();
            while (xml.readNextStartElement()) {
                if (xml.name() == u"c") {
                    const int before = cells.empty() ? -1 : cells.back().column;
                    if (!readCell(xml, before, cells))
                        return;
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (!take(row, cells))
                return;
        }
    }

    const QString &error() const { return m_error; }

private:
    void fail(const QString &error) { m_error = error; }

    // Reads a cell into `cells` when it holds a value. False on a fault of the sheet.
    bool readCell(QXmlStreamReader &xml, int previousColumn, std::vector<XlsxCell> &cells) {
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringView reference = attributes.value(QLatin1String("r"));
        const QStringView type = attributes.value(QLatin1String("t"));
        XlsxCell cell;
        cell.column = reference.isEmpty() ? previousColumn + 1 : columnOf(reference);
        cell.style = attributes.value(QLatin1String("s")).toInt();
        if (cell.column < 0 || cell.column >= MaxColumns) {
            fail(QStringLiteral("The cell \"%1\" lies outside the sheet.").arg(reference));
            return false;
        }
        bool hasValue = false;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v") {
                cell.value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == u"is") {
                cell.value = readStringItem(xml);
                hasValue = true;
            } else {
                xml.skipCurrentElement(); // a formula: its last result is the value
            }
        }
        if (!hasValue)
            return true; // formatted but empty
        if (type == u"s") {
            bool number = false;
            const qint64 index = cell.value.toLongLong(&number);
            if (!number || !m_book.sharedText(index, cell.value)) {
                fail(QStringLiteral("The cell %1 refers to shared text %2, which the workbook "
                                    "lacks.")
                         .arg(reference, cell.value));
                return false;
            }
        } else if (type == u"str") {
            cell.value = unescapeWorkbookText(cell.value);
        } else if (type == u"b") {
            cell.kind = XlsxCell::Kind::TruthValue;
            cell.value = cell.value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == u"e") {
            cell.kind = XlsxCell::Kind::ErrorValue;
        } else if (type == u"d") {
            cell.kind = XlsxCell::Kind::IsoDate;
        } else if (type != u"inlineStr") {
            cell.kind = XlsxCell::Kind::Number;
        }
        cells.push_back(std::move(cell));
        return true;
    }

    const XlsxBook &m_book;
    QString m_error;
};

} // namespace

QString readSheetRows(ZipArchive &zip, const XlsxBook &book, const XlsxSheetInfo &sheet,
                      const std::function<bool(int row, const std::vector<XlsxCell> &)> &take) {
    if (zip.entrySize(sheet.part) > MaxUnpackedPartBytes)
        return QStringLiteral("The sheet \"%1\" unpacks to more than %2 MB.")
            .arg(sheet.name)
            .arg(MaxUnpackedPartBytes / (qint64(1024) * 1024));
    SheetReader reader(book);
    QString error = readXmlPart(zip, sheet.part, MaxUnpackedPartBytes,
                                [&](QXmlStreamReader &xml) { reader.read(xml, take); });
    if (!reader.error().isEmpty())
        return QStringLiteral("The sheet \"%1\" cannot be read. %2")
            .arg(sheet.name, reader.error());
    return error;
}

} // namespace userdb
