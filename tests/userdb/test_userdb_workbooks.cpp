#include "tests/common/datacolumns.h"
#include "tests/common/filledslots.h"
#include "tests/common/testfiles.h"
#include "userdb/csvexport.h"
#include "userdb/spreadsheetfiles.h"
#include "userdb/xlsxbook.h"
#include "userdb/xlsxexport.h"
#include "userdb/xlsximport.h"
#include "userdb/ziparchive.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>
#include <zip.h>

#include <functional>

// The workbook (.xlsx) export and import, and what they share with the CSV ones: every kind of
// value through both, cells as spreadsheets write them, refusals and bounds.
using namespace userdb;

namespace {

// A workbook made cell by cell as a spreadsheet program would save it: sheet "Users" with the
// header row given, then whatever `fill` writes from row 2 (row index 1).
struct Sheet {
    lxw_workbook *book;
    lxw_worksheet *users;
    lxw_format *format(const char *code) {
        lxw_format *made = workbook_add_format(book);
        format_set_num_format(made, code);
        return made;
    }
    void number(int row, int column, double value, lxw_format *style = nullptr) {
        worksheet_write_number(users, lxw_row_t(row), lxw_col_t(column), value, style);
    }
    void text(int row, int column, const char *value) {
        worksheet_write_string(users, lxw_row_t(row), lxw_col_t(column), value, nullptr);
    }
};
using Fill = std::function<void(Sheet &)>;

QByteArray makeWorkbook(const QString &header, const Fill &fill, bool inlineTexts = false) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("made.xlsx"));
    lxw_workbook_options options{};
    options.constant_memory = inlineTexts; // writes inline strings rather than shared ones
    Sheet sheet{workbook_new_opt(path.constData(), &options), nullptr};
    sheet.users = workbook_add_worksheet(sheet.book, "Users");
    const QStringList titles = header.split(',');
    for (int i = 0; i < titles.size(); ++i)
        sheet.text(0, i, titles.at(i).toUtf8().constData());
    fill(sheet);
    workbook_close(sheet.book);
    return readFile(dir.filePath("made.xlsx"));
}

// A zip archive of the named entries (deflated), as a hostile or foreign file could be.
QByteArray makeZip(const QList<std::pair<QString, QByteArray>> &entries) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("made.zip"));
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    for (const auto &[name, bytes] : entries) {
        zipOpenNewFileInZip64(zip, name.toUtf8().constData(), nullptr, nullptr, 0, nullptr, 0,
                              nullptr, Z_DEFLATED, 1, 1);
        zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return readFile(dir.filePath("made.zip"));
}

} // namespace

class TestUserdbWorkbooks : public QObject {
    Q_OBJECT

private slots:
    // Each kind of value that spreadsheets are known to change comes back from both exports as
    // it was, in its slot, with the address (a CSV holds none).
    void valueKinds_data() {
        addColumns<QString, int, QString>("extension", "column", "text");
        const QList<std::tuple<const char *, int, QString>> kinds = {
            {"hex serial with E", SerialNumber, "1234E567"},
            {"all-digit serial with leading zeros", SerialNumber, "00001234"},
            {"short serial in small letters", SerialNumber, "12ab"},
            {"auxiliary word of digits", AuxiliaryWord, "0001"},
            {"post code with a leading zero", PostCode, "0800"},
            {"formula", Surname, "=1+2"},
            {"phone with a plus", Telephone, "+61 3 9397 1234"},
            {"at sign", OtherNames, "@SUM(A1)"},
            {"day and month", Surname, "12/03"},
            {"truth value", State, "TRUE"},
            {"leading apostrophe", Surname, "'quoted"},
            {"text that reads as an escape", Suburb, "_x0041_ and _x005F_"},
            {"tab, line breaks, C1 controls", Address1,
             QStringLiteral("a\tb\r\nc\rd\ne\u0081\u008D")},
            {"NUL", Address2, QString("nul") + QChar(0) + "x"},
            {"spaces at both ends", OtherNames, "  padded  "},
            {"Windows-1252 letters", Surname, QStringLiteral("M\u00FCller \u20AC \u0152")},
            {"the longest cell", OtherDetail2, QString(MaxSpreadsheetCellLength, 'w')},
        };
        for (const char *extension : {"csv", "xlsx"})
            for (const auto &[name, column, text] : kinds)
                QTest::addRow("%s, %s", extension, name) << QString(extension) << column << text;
    }

    void valueKinds() {
        QFETCH(QString, extension);
        QFETCH(int, column);
        QFETCH(QString, text);
        RecordStore store;
        store.setCell(1, SerialNumber, "0000ABCD");
        store.setCell(3, SerialNumber, "0000ABCE");
        store.setCell(3, column, text); // a serial kind takes its place
        const QString address = "Harbour Towers\r\n1 Beach Road";
        QTemporaryDir dir;
        const QString path = dir.filePath("users." + extension);
        QCOMPARE(exportSpreadsheetFile(path, address, store), QString());
        const SpreadsheetImport back = importSpreadsheetFile(path);
        QCOMPARE(back.error, QString());
        QCOMPARE(filledSlots(back.records), filledSlots(store));
        QCOMPARE(back.address, extension == "xlsx" ? address : QString());
        QCOMPARE(back.proposedPath, dir.filePath("users.fxd"));
    }

    // Cells as spreadsheet programs write them: numbers, dates and truth values where text
    // belongs, rich text, inline text; with the problems listed as the user sees them. Then files
    // that are no workbook of users, and the bounds, refused before they are read whole.
    void workbookCells_data() {
        addColumns<QByteArray, QStringList, QString>("file", "filled", "error");
        const auto refused = [](const char *name, const QByteArray &file, const QString &error) {
            QTest::newRow(name) << file << QStringList() << error;
        };
        const QString header = "Slot,Serial Number,Auxiliary Word,Surname,Post Code";
        const auto row = [&](const char *name, const QStringList &filled, const QString &error,
                             const Fill &fill, bool inlineTexts = false) {
            QTest::newRow(name) << makeWorkbook(header, fill, inlineTexts) << filled << error;
        };
        const auto problem = [](const QString &line) { return "It has a problem:\n" + line; };

        row("whole numbers padded; slot as a number", {"7:00001234|0001"}, {}, [](Sheet &s) {
            s.number(1, 0, 7);
            s.number(1, 1, 1234);
            s.number(1, 2, 1);
        });
        row("the issue's two numbers", {},
            "It has 2 problems:\nRow 2, Serial Number: 1E+308 is a number, not a serial: "
            "format the column as text\n"
            "Row 5, Post Code: 800 is a number: format the column as text and type it again",
            [](Sheet &s) {
                s.number(1, 0, 3);
                s.number(1, 1, 1e308);
                s.number(4, 0, 5);
                s.text(4, 1, "0000ABCD");
                s.number(4, 4, 800);
            });
        row("scientific notation lost the letters", {},
            problem("Row 2, Serial Number: 10000000 is a number, not a serial: format the "
                    "column as text"),
            [](Sheet &s) {
                s.number(1, 0, 1);
                s.number(1, 1, 1e7, s.format("0.00E+00"));
            });
        row("a date, a truth value", {},
            "It has 2 problems:\n"
            "Row 2, Surname: 2025-03-12 is a date: format the column as text and type it again\n"
            "Row 2, Post Code: TRUE is a truth value: format the column as text and type it "
            "again",
            [](Sheet &s) {
                lxw_datetime date{2025, 3, 12, 0, 0, 0};
                s.number(1, 0, 1);
                s.text(1, 1, "0000ABCD");
                worksheet_write_datetime(s.users, 1, 3, &date, s.format("dd/mm/yy"));
                worksheet_write_boolean(s.users, 1, 4, 1, nullptr);
            });
        row("rich text runs joined", {"2:||McDonald"}, {}, [](Sheet &s) {
            lxw_format *bold = workbook_add_format(s.book);
            format_set_bold(bold);
            lxw_rich_string_tuple first{bold, const_cast<char *>("Mc")};
            lxw_rich_string_tuple second{nullptr, const_cast<char *>("Donald")};
            lxw_rich_string_tuple *runs[] = {&first, &second, nullptr};
            s.number(1, 0, 2);
            worksheet_write_rich_string(s.users, 1, 3, runs, nullptr);
        });
        row(
            "inline texts, a formula's text", {"4:0000abcd||Nguyen"}, {},
            [](Sheet &s) {
                s.text(1, 0, "4");
                s.text(1, 1, "0000abcd");
                worksheet_write_formula_str(s.users, 1, 3, "=\"Ng\"&\"uyen\"", nullptr, "Nguyen");
            },
            true);
        row("untitled cell", {},
            problem("Row 2, column 7: the header row has no title for this cell"),
            [](Sheet &s) { s.text(1, 6, "note"); });
        row("header only", {}, "It holds no users.", [](Sheet &) {});
        refused("no serial title", makeWorkbook("Slot,Surname", [](Sheet &) {}),
                "The first row of the sheet \"Users\" has no \"Serial Number\" column title.");
        const QByteArray workbook =
            makeWorkbook("Serial Number", [](Sheet &s) { s.text(1, 0, "0000ABCD"); });
        const QString notWorkbook = "It is not an Excel workbook (.xlsx).";
        refused("text", "Serial Number\r\n1\r\n", notWorkbook);
        refused("older Excel",
                QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0'),
                "It is an older Excel workbook (.xls): save it as an Excel workbook (.xlsx) and "
                "import that.");
        refused(
            "OpenDocument",
            makeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                     {"content.xml", "<x/>"}}),
            "It is an OpenDocument spreadsheet (.ods): save it as an Excel workbook (.xlsx) and "
            "import that.");
        refused("zip without a workbook", makeZip({{"a.txt", "a"}}),
                "It is not an Excel workbook (.xlsx): it has no workbook part.");
        refused("workbook cut short", workbook.left(workbook.size() / 2), notWorkbook);
        // A sheet that would unpack to more than 256 MB, though its file is small.
        QByteArray huge = "<worksheet><sheetData>";
        huge += QByteArray(MaxUnpackedPartBytes, ' ') + "</sheetData></worksheet>";
        QList<std::pair<QString, QByteArray>> entries;
        for (const char *part : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                                 "xl/_rels/workbook.xml.rels"})
            entries.append({part, unpacked(workbook, part)});
        entries.append({"xl/worksheets/sheet1.xml", huge});
        huge.clear();
        refused("sheet over 256 MB unpacked", makeZip(entries),
                "The sheet \"Users\" unpacks to more than 256 MB.");
    }

    void workbookCells() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, filled);
        const SpreadsheetImport result = readXlsx(file);
        QTEST(result.error, "error");
        QCOMPARE(filledSlots(result.records), filled);
        QCOMPARE(result.userCount, filled.size());
    }

    // A name of neither kind, and an export that a cell cannot hold, which writes nothing. (The
    // size bound is the CSV import's own, tested there.)
    void fileBounds() {
        QTemporaryDir dir;
        const QString other = dir.filePath("users.ods");
        QCOMPARE(importSpreadsheetFile(other).error,
                 "Cannot import \"" + other + "\": Its name ends in neither .csv nor .xlsx.");

        RecordStore store;
        store.setCell(12, Surname, QString(MaxSpreadsheetCellLength + 1, 'x'));
        const QString target = dir.filePath("users.xlsx");
        const auto tooLong = [&](const QString &cell) {
            return "Cannot export to \"" + target + "\": " + cell +
                   ": 32768 characters are more than the 32767 that a spreadsheet cell holds.";
        };
        QCOMPARE(exportXlsxFile(target, "", store), tooLong("Slot 12, Surname"));
        QCOMPARE(exportXlsxFile(target, QString(MaxSpreadsheetCellLength + 1, 'a'), {}),
                 tooLong("Database Address"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

private:
    // One part of a workbook, unpacked with the reader under test's own archive class.
    static QByteArray unpacked(const QByteArray &workbook, const char *part) {
        ZipArchive zip(workbook);
        QString error;
        const auto device = zip.openEntry(part, error);
        return device ? device->readAll() : QByteArray();
    }
};

QTEST_GUILESS_MAIN(TestUserdbWorkbooks)
#include "test_userdb_workbooks.moc"
