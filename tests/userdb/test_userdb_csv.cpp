#include "tests/common/testfiles.h"
#include "userdb/columntitles.h"
#include "userdb/csvexport.h"
#include "userdb/csvimport.h"
#include "userdb/fieldrules.h"
#include "userdb/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace userdb;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";
const QByteArray Header = "Slot,Serial Number,Auxiliary Word,Surname,Other Names,Address 1,"
                          "Address 2,Suburb,State,Post Code,Telephone,Mobile,Other Detail 1,"
                          "Other Detail 2\r\n";

// Each slot holding text as "slot:cell|cell|...", trailing empty cells left out.
QStringList filledSlots(const RecordStore &store) {
    QStringList list;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        QStringList cells(store.record(slot).begin(), store.record(slot).end());
        if (cells.join(QString()).isEmpty())
            continue;
        while (cells.last().isEmpty())
            cells.removeLast();
        list << QString::number(slot) + ':' + cells.join('|');
    }
    return list;
}

// Text that the database file and the import take, up to `limit` characters (0: any length),
// over characters that stress the format: separators, apostrophes, formula starts, accents.
QString randomText(QRandomGenerator &random, int limit) {
    static const QString alphabet = QStringLiteral("aZ09 ,;'=+-@\u00E9\u20AC\u00FF\u0152.");
    const int longest = limit > 0 ? limit : 80;
    // Now and then exactly at the limit, so that every limit is met.
    const int length = random.bounded(4) == 0 ? longest : random.bounded(0, longest + 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(alphabet.size()));
    return text;
}

QString randomSerial(QRandomGenerator &random) {
    if (random.bounded(5) == 0)
        return {};
    // Small numbers keep their leading zeros, which spreadsheets drop.
    const quint32 value = random.bounded(2) ? random.bounded(0x100u) : random.generate();
    return QString::number(value, 16).toUpper().rightJustified(8, u'0');
}

} // namespace

class TestUserdbCsv : public QObject {
    Q_OBJECT

private slots:
    void exportCells_data() {
        QTest::addColumn<QString>("text");       // the surname of slot 7
        QTest::addColumn<QByteArray>("written"); // its cell in the file
        QTest::newRow("plain") << "Smith" << QByteArray("Smith");
        QTest::newRow("comma quoted") << "Smith, Jo" << QByteArray("\"Smith, Jo\"");
        QTest::newRow("quote doubled") << "a\"b" << QByteArray("\"a\"\"b\"");
        QTest::newRow("line break quoted") << "a\nb" << QByteArray("\"a\nb\"");
        QTest::newRow("edge space quoted") << " a" << QByteArray("\" a\"");
        QTest::newRow("UTF-8") << QStringLiteral("Caf\u00E9 \u20AC")
                               << QByteArray("Caf\xC3\xA9 \xE2\x82\xAC");
        QTest::newRow("inner apostrophe kept") << "O'Brien" << QByteArray("O'Brien");
        for (const char *formula : {"=1+2", "+61 3", "-", "@SUM(A1)", "\tx", "'x"})
            QTest::addRow("guarded %s", formula) << formula << "'" + QByteArray(formula);
        QTest::newRow("guarded and quoted") << "=A1,B1" << QByteArray("\"'=A1,B1\"");
    }

    void exportCells() {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        RecordStore store;
        QCOMPARE(writeCsv(store), Bom + Header);
        store.setCell(7, Surname, text);
        QCOMPARE(writeCsv(store),
                 Bom + Header + "7,,," + written + QByteArray(",").repeated(10) + "\r\n");
    }

    // Whatever the editor can hold comes back unchanged, in the same slots.
    void roundTrip() {
        QRandomGenerator random(4242);
        QTemporaryDir dir;
        for (int round = 0; round < 12; ++round) {
            RecordStore store;
            for (int slot = random.bounded(1, 5); slot <= SlotCount;
                 slot += random.bounded(1, 300)) {
                for (int column = AuxiliaryWord; column <= ColumnCount; ++column) {
                    if (random.bounded(3) == 0)
                        continue;
                    QString text = randomText(random, maxTypedLengthOfColumn(column));
                    store.setCell(slot, column, text);
                }
                store.setCell(slot, SerialNumber, randomSerial(random));
            }
            RecordStore read;
            CsvImportResult result;
            if (round % 4 == 0) { // through a file now and then
                const QString path = dir.filePath("users.csv");
                QCOMPARE(exportCsvFile(path, store), QString());
                result = importCsvFile(path, read);
                QCOMPARE(result.databasePath, dir.filePath("users.fxd"));
            } else {
                result = readCsv(writeCsv(store), read);
            }
            QCOMPARE(result.error, QString());
            QCOMPARE(result.userCount, filledSlots(store).size());
            QCOMPARE(filledSlots(read), filledSlots(store));
        }
    }

    void importCases_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("filled"); // as filledSlots lists them
        QTest::addColumn<QString>("error");      // the reason; empty: the file is read
        auto row = [](const char *name, const QByteArray &file, const QStringList &filled,
                      const QString &error = {}) {
            QTest::newRow(name) << file << filled << error;
        };
        auto problem = [](const QString &line) { return "It has a problem:\n" + line; };
        const QString quote = "a double quote cannot be stored in a database file";

        row("semicolons, comma kept", "Serial Number;Surname\r\n1A;Smith, Jo\r\n",
            {"1:0000001A||Smith, Jo"});
        row("Windows-1252 bytes", "Serial Number,Surname\r\n1,Caf\xE9 \x80\r\n",
            {QStringLiteral("1:00000001||Caf\u00E9 \u20AC")});
        row("UTF-8 with BOM", Bom + "Serial Number,Surname\n2,Zo\xC3\xAB",
            {QStringLiteral("1:00000002||Zo\u00EB")});
        row("reordered and unknown columns",
            " surname ,Notes,SERIAL NUMBER,slot\r\nSmith,x,ab,7\r\n", {"7:000000AB||Smith"});
        row("empty rows take no slot, CR line ends", "Serial Number,Surname\r1,A\r,\r\r2,B",
            {"1:00000001||A", "2:00000002||B"});
        row("lower-case serial with dropped zeros", "Serial Number\r\n1a2b\r\n", {"1:00001A2B"});
        row("one apostrophe removed", "Serial Number,Surname,Telephone\r\n'1,''O'Brien,'+61 3\r\n",
            {"1:00000001||'O'Brien|||||||+61 3"});
        row("only a header", "Serial Number,Surname\r\n", {});
        row("row with only a slot number is empty", "Slot,Serial Number\r\n5,\r\n5,1\r\n",
            {"5:00000001"});
        row("empty file", "", {}, "The file is empty.");
        row("missing Serial Number column", "Slot,Surname\r\n1,Smith\r\n", {},
            "The first row has no \"Serial Number\" column title.");
        row("slot used twice", "Slot,Serial Number\r\n3,1\r\n3,2\r\n", {},
            problem("Row 3, Slot: slot 3 is already given to row 2"));
        row("slot 4096", "Slot,Serial Number\r\n4096,1\r\n", {},
            problem("Row 2, Slot: \"4096\" is not a slot number from 1 to 4095"));
        row("double quote", "Serial Number,Surname\r\n1,\"Jo \"\"JJ\"\" Smith\"\r\n", {},
            problem("Row 2, Surname: " + quote));
        row("9-digit serial", "Serial Number\r\n123456789\r\n", {},
            problem("Row 2, Serial Number: \"123456789\" is not a serial number of up to 8 "
                    "hexadecimal digits"));
        row("line break in a quoted cell keeps the row numbers",
            "Serial Number,Surname\r\n1,\"Smith\r\nJones\"\r\n2,\"x\"y\r\n", {},
            "It has 2 problems:\nRow 2, Surname: a line break cannot be stored in this column\n"
            "Row 3, Surname: text follows the closing quote of the cell");
        row("quote never closed", "Serial Number,Surname\r\n1,\"Smith\r\n2,x\r\n", {},
            problem("Row 2, Surname: the quoted cell has no closing quote"));
        row("too long, not Windows-1252, control character",
            "Serial Number,Surname,Other Names,Post Code\r\n1," + QByteArray(51, 'S') +
                ",\xE4\xB8\xAD,30\t0\r\n",
            {},
            "It has 3 problems:\nRow 2, Surname: 51 characters are more than the 50 that fit\n"
            "Row 2, Other Names: the character \"\u4E2D\" cannot be stored in a database file\n"
            "Row 2, Post Code: the control character U+0009 cannot be stored in a database file");
        row("cell past the header", "Serial Number,Surname\r\n1,Smith,Jo\r\n1,Smith,\r\n", {},
            problem("Row 2, column 3: the header row has no title for this cell"));
        row("more cells than a spreadsheet has columns",
            "Serial Number" + QByteArray(",").repeated(16384), {},
            problem("Row 1, column 16385: a row has at most 16384 cells"));
        row("title twice", "Serial Number,Surname,surname\r\n", {},
            problem("Row 1, Surname: the title is given twice (columns 2 and 3)"));

        QByteArray many = "Serial Number\r\n";
        QStringList first20;
        for (int i = 2; i <= 26; ++i) {
            many += "X\r\n";
            if (first20.size() < 20)
                first20 << QStringLiteral(
                               "Row %1, Serial Number: \"X\" is not a serial number of up "
                               "to 8 hexadecimal digits")
                               .arg(i);
        }
        row("reading stops after 20 problems", many, {},
            "It has more than 20 problems; the first 20 are:\n" + first20.join('\n'));
        row("4096 rows without a Slot column",
            "Serial Number\r\n" + QByteArray("1\r\n").repeated(4096), {},
            problem("Row 4097: a database holds at most 4095 users"));
    }

    void importCases() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, filled);
        QFETCH(QString, error);
        RecordStore fresh;
        const CsvImportResult result = readCsv(file, fresh);
        QCOMPARE(result.error, error);
        QCOMPARE(filledSlots(fresh), filled); // nothing at all stored on a refusal
        QCOMPARE(result.userCount, filled.size());
        QCOMPARE(result.problems, error.section('\n', 1).split('\n', Qt::SkipEmptyParts));
        QCOMPARE(result.moreProblems, error.contains("more than 20 problems"));
    }

    void fileRefusals_data() {
        QTest::addColumn<QString>("name"); // in a folder holding a folder "taken"
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.csv"
                                 << "No such file or directory";
        QTest::newRow("folder") << "taken"
                                << "It is a folder, not a file.";
        QTest::newRow("larger than 64 MB") << "huge.csv"
                                           << "The file is larger than 64 MB.";
#ifdef Q_OS_UNIX
        QTest::newRow("pipe, which would block")
            << "pipe.csv"
            << "It is not a regular file (a device or a pipe).";
#endif
        QTest::newRow("cell problems") << "bad.csv"
                                       << "It has a problem:\nRow 2, Surname: 51 "
                                          "characters are more than the 50 that fit";
    }

    void fileRefusals() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QFile huge(dir.filePath("huge.csv"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1)); // sparse
        huge.close();
        QVERIFY(writeFile(dir.filePath("bad.csv"),
                          "Serial Number,Surname\r\n1," + QByteArray(51, 'x')));
#ifdef Q_OS_UNIX
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath("pipe.csv")).constData(), 0600), 0);
#endif
        const QString path = dir.filePath(name);
        RecordStore fresh;
        const CsvImportResult result = importCsvFile(path, fresh);
        QCOMPARE(result.error, "Cannot import \"" + path + "\": " + reason);
        QCOMPARE(filledSlots(fresh), QStringList());

        // Exporting into a folder that is not there names the file too.
        const QString target = dir.filePath("missing/users.csv");
        QVERIFY(exportCsvFile(target, fresh).startsWith("Cannot export to \"" + target + "\": "));
    }

    void databasePath() {
        QCOMPARE(databasePathForCsv("/a/users.csv"), "/a/users.fxd");
        QCOMPARE(databasePathForCsv("/a/list.v2.CSV"), "/a/list.v2.fxd");
        QCOMPARE(databasePathForCsv("/a.b/users"), "/a.b/users.fxd");
        QCOMPARE(databasePathForCsv("/a/users.FXD"), "/a/users.FXD.fxd"); // never the file itself
        QCOMPARE(slotColumnTitle() + ',' + columnTitle(SerialNumber) + ',' +
                     columnTitle(OtherDetail2),
                 "Slot,Serial Number,Other Detail 2");
    }
};

QTEST_GUILESS_MAIN(TestUserdbCsv)
#include "test_userdb_csv.moc"
