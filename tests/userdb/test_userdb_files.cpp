#include "tests/common/datacolumns.h"
#include "tests/common/filledslots.h"
#include "tests/common/testfiles.h"
#include "userdb/csvexport.h"
#include "userdb/csvimport.h"
#include "userdb/databasefile.h"
#include "userdb/fieldrules.h"
#include "userdb/safefilewrite.h"
#include "userdb/spreadsheetfiles.h"
#include "userdb/textcodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// The database file (.fxd) and the spreadsheet (CSV) files: the code page, the writer and the
// reader, saving, and CSV export and import.
using namespace userdb;

namespace {

// `count` more empty quoted fields.
QByteArray rest(int count) {
    return QByteArray(",\"\"").repeated(count);
}

// An empty address, then records whose serials are 1, 2, ... count.
QByteArray numberedRecords(int count) {
    QByteArray file = "\"\"\r\n";
    for (int i = 1; i <= count; ++i)
        file += '"' + QByteArray::number(i) + '"' + rest(12) + "\r\n";
    return file;
}

const QByteArray Bom = "\xEF\xBB\xBF";
const QByteArray Header = "Slot,Serial Number,Auxiliary Word,Surname,Other Names,Address 1,"
                          "Address 2,Suburb,State,Post Code,Telephone,Mobile,Other Detail 1,"
                          "Other Detail 2\r\n";

// Random text over characters that stress the formats: separators, apostrophes, formula
// starts, accents, line breaks, a tab and a C1 control, which the database file takes and an
// import refuses. No double quote: typed text never holds one. Up to `limit` characters, now and
// then exactly that many, so that every limit is met.
QString randomText(QRandomGenerator &random, int limit) {
    static const QString alphabet =
        QStringLiteral("aZ09 ,;'=+-@.\u00E9\u20AC\u00FF\u0152\r\n\t\u0081");
    const int length = random.bounded(4) == 0 ? limit : random.bounded(0, limit + 1);
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

class TestUserdbFiles : public QObject {
    Q_OBJECT

private slots:
    void codec() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = decodeWindows1252(all);
        QCOMPARE(encodeWindows1252(text), all); // every byte survives, the undefined five included
        QVERIFY(std::all_of(text.begin(), text.end(), isWindows1252Character));
        QCOMPARE(text.mid(0xE9, 1) + text.at(0x80) + text.at(0x8D) + text.at(0x96) + text.at(0x9F),
                 QStringLiteral("\u00E9\u20AC\u008D\u2013\u0178"));
        // One "?" per code point, a surrogate pair included.
        QCOMPARE(
            encodeWindows1252(QStringLiteral("a\u4E2D") + QString::fromUcs4(U"\U0001F600") + "b"),
            QByteArray("a??b"));
    }

    void reading_data() {
        // file: null: there is no file
        // records: as filledSlots lists them
        // reason: why loading fails; empty: it loads
        addColumns<QByteArray, QString, QStringList, QString>("file", "address", "records",
                                                              "reason");
        auto row = [](const char *name, const QByteArray &file, const QString &address,
                      const QStringList &records, const QString &reason = {}) {
            QTest::newRow(name) << file << address << records << reason;
        };
        QStringList upTo4095;
        for (int i = 1; i <= SlotCount; ++i)
            upTo4095 << QStringLiteral("%1:%1").arg(i);
        const QString cutShort = QStringLiteral("Record %1 is cut short by the end of the file.");

        row("unquoted fields lose trailing spaces only",
            "  Depot  \r\n  0000001A  ,ab cd ,  x,,y" + rest(8) + "\r\n", "Depot",
            {"1:0000001A|ab cd|x||y"});
        row("text after a closing quote is skipped", "\"a\"junk\r\n\"1\"  ,\"b\"c\"d\"" + rest(11),
            "a", {"1:1|b"});
        row("quotes hold commas and line breaks", "\"x,\r\ny\"\r\n\"1,2\",\"a\r\nb\"" + rest(11),
            "x,\r\ny", {"1:1,2|a\r\nb"});
        row("a record borrows fields across a line end",
            "\"\"\r\n\"1\",\"2\",\"3\"\r\n\"4\",\"5\"" + rest(8) + "\r\n\"B\"" + rest(12), "",
            {"1:1|2|3|4|5", "2:B"});
        row("extra fields start the next record",
            "\"\"\r\n\"1\"" + rest(12) + ",\"x\",\"y\"\r\n\"z\"" + rest(10), "",
            {"1:1", "2:x|y|z"});
        row("bare line feeds, blank lines and spaces after the last record",
            "\"a\"\n\"1\"" + rest(12) + "\n\r\n\r\n   \t\r\n", "a", {"1:1"});
        row("header only", "\"a\"\r\n", "a", {});
        row("4095 records", numberedRecords(SlotCount), "", upTo4095);
        row("UTF-8 with a byte-order mark",
            "\xEF\xBB\xBF\"Caf\xC3\xA9\"\r\n\"1\",\"\xE2\x82\xAC\"" + rest(11),
            QStringLiteral("Caf\u00E9"), {QStringLiteral("1:1|\u20AC")});
        row("cannot open", QByteArray(), "", {}, "No such file");
        row("only blank lines", " \r\n\r\n", "", {}, "The file is empty.");
        row("address cut short", "\"Depot\r\n", "", {},
            "The database address is cut short by the end of the file.");
        row("record 1 a field short", "\"\"\r\n\"1\"" + rest(11) + "\r\n", "", {}, cutShort.arg(1));
        row("record 12 cut short", numberedRecords(11) + "\"12\",\"\",\"Smi", "",
            upTo4095.mid(0, 11), cutShort.arg(12));
        row("more than 4095 records", numberedRecords(SlotCount + 1), "", upTo4095,
            "The file holds more than 4095 records.");
    }

    void reading() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, records);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("users.fxd");
        QVERIFY(file.isNull() || writeFile(path, file));
        RecordStore store;
        const LoadResult result = loadDatabaseFile(path, store);
        QVERIFY2(reason.isEmpty()
                     ? result.error.isEmpty()
                     : result.error.startsWith("Cannot load \"" + path + "\": " + reason),
                 qPrintable(result.error));
        QTEST(result.address, "address");
        QCOMPARE(result.recordCount, records.size());
        QCOMPARE(filledSlots(store), records); // and nothing stored past them
    }

    // A name in a folder holding users.fxd, where the text goes (slot 0: the address) beside
    // slot 1's serial, the bytes a file may grow to (0: no limit), and how the reason after the
    // name starts (null: it saves).
    void saveOutcomes_data() {
        addColumns<QString, int, int, QString, int, QString>("name", "slot", "column", "text",
                                                             "sizeLimit", "error");
        auto row = [](const char *name, const char *file, int slot, int column, const QString &text,
                      int limit, const QString &error) {
            QTest::newRow(name) << QString(file) << slot << column << text << limit << error;
        };
        const QString plain(50, 'S');
        row("replaces a longer file", "users.fxd", 2, Surname, plain, 0, QString());
        // Written as it stands, any of these would make a file that loads back different.
        row("a double quote in the last cell", "users.fxd", SlotCount, OtherDetail2, "O\"Brien", 0,
            "Slot 4095, Other Detail 2: a double quote cannot be stored");
        row("outside Windows-1252", "users.fxd", 1, SerialNumber, QStringLiteral("Li \u4E2D"), 0,
            "Slot 1, Serial Number: the character \"\u4E2D\" cannot be stored");
        row("a double quote in the address", "users.fxd", 0, 0, "\"", 0,
            "Database address: a double quote cannot be stored");
        row("folder that does not exist", "missing/users.fxd", 2, Surname, plain, 0,
            "No such file");
        // The write itself fails midway, as on a full disk.
        row("file size limit", "users.fxd", 2, Surname, plain, 16,
            "Not all of the data could be written.");
    }

    void saveOutcomes() {
        QFETCH(QString, name);
        QFETCH(int, slot);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(int, sizeLimit);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QByteArray previous(500, 'x');
        QVERIFY(writeFile(dir.filePath("users.fxd"), previous));
        const QString path = dir.filePath(name);
        RecordStore store;
        store.setCell(1, SerialNumber, "0000001A");
        if (slot > 0)
            store.setCell(slot, column, text);
        const QString address = slot > 0 ? QString("Depot") : text;
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit limited{sizeLimit > 0 ? rlim_t(sizeLimit) : saved.rlim_cur, saved.rlim_max};
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const QString message = saveDatabaseFile(path, address, store);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY2(error.isNull() ? message.isEmpty()
                                : message.startsWith("Cannot save \"" + path + "\": " + error),
                 qPrintable(message));
        // A refusal leaves the old file as it was, and nothing else is left behind.
        QCOMPARE(readFile(dir.filePath("users.fxd")),
                 error.isNull() ? writeDatabase(address, store) : previous);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"users.fxd"});
    }

    // Every writer first asks whether the target may be replaced: both ways of writing, on each
    // kind of target.
    void writeTargets_data() {
        // throughName: replaceFileThrough, else replaceFile
        // reason: after "Cannot save "<path>": "; empty: written
        addColumns<QString, bool, QString>("kind", "throughName", "reason");
        const QList<std::pair<const char *, const char *>> kinds = {
            {"regular", ""},
            {"fifo", "It is not a regular file (a device or a pipe)."},
            {"folder", "It is a folder, not a file."},
            {"read-only", "The file is read-only."},
            {"link", ""},
            {"new", ""},
        };
        for (const auto &[kind, reason] : kinds)
            for (const bool through : {false, true})
                QTest::addRow("%s, %s", kind, through ? "through a name" : "bytes")
                    << QString(kind) << through << QString(reason);
    }

    void writeTargets() {
        QFETCH(QString, kind);
        QFETCH(bool, throughName);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("target");
        const QString real = dir.filePath("real");
        QVERIFY(writeFile(real, "old"));
        QVERIFY(
            QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QByteArray native = QFile::encodeName(path);
        if (kind == "regular")
            QVERIFY(QFile::rename(real, path));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(native.constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (kind == "read-only")
            QVERIFY(QFile::rename(real, path) && QFile::setPermissions(path, QFile::ReadOwner));
        else if (kind == "link")
            QVERIFY(QFile::link(real, path));
        struct stat before {};
        lstat(native.constData(), &before);
        const auto write = [](const QString &temporary) {
            return writeFile(temporary, "new") ? QString() : QString("not written");
        };
        const QString error = throughName ? replaceFileThrough(path, "save", write)
                                          : replaceFile(path, "new", "save");
        struct stat after {};
        lstat(native.constData(), &after);
        if (!reason.isEmpty()) {
            QCOMPARE(error, "Cannot save \"" + path + "\": " + reason);
            QCOMPARE(after.st_mode, before.st_mode);
            QCOMPARE(after.st_ino, before.st_ino);
            if (kind == "read-only")
                QCOMPARE(readFile(path), "old");
            return;
        }
        QCOMPARE(error, QString());
        QCOMPARE(readFile(path), "new");
        if (kind == "link") { // the link stays and its target was written
            QVERIFY(S_ISLNK(after.st_mode));
            QCOMPARE(readFile(real), "new");
        }
        const mode_t mask = umask(0);
        umask(mask);
        struct stat file {};
        stat(native.constData(), &file); // through a link, its target
        // The permission bits are kept; a new file gets what the mask leaves.
        QCOMPARE(file.st_mode & 07777, kind == "new" ? 0666 & ~mask : mode_t(0640));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files | QDir::System).size(),
                 kind == "regular" ? 1 : 2);
    }

    void randomFiles() {
        // Random stores first: whatever the text, every slot holding any comes back, packed in slot
        // order.
        QRandomGenerator random(qEnvironmentVariableIntValue("REMLET_FUZZ_SEED") + 1);
        QList<QByteArray> valid;
        for (int round = 0; round < 20; ++round) {
            RecordStore store;
            RecordStore packed; // what the file holds: the slots with text, in slot order
            int count = 0;
            for (int slot = SlotCount; slot >= 1; slot -= random.bounded(1, 400)) // the last too
                for (int column = 1; column <= ColumnCount; ++column)
                    store.setCell(slot, column, randomText(random, 12));
            for (int slot = 1; slot <= SlotCount; ++slot)
                if (store.record(slot) != Record{})
                    packed.setRecord(++count, store.record(slot));
            const QString address = randomText(random, 12);
            valid << writeDatabase(address, store);
            RecordStore read;
            const ReadResult result = readDatabase(valid.last(), read);
            QVERIFY2(result.ok, qPrintable(result.error));
            QCOMPARE(result.address, address);
            QCOMPARE(result.recordCount, count);
            QCOMPARE(filledSlots(read), filledSlots(packed));
        }

        // Then random byte soup over the format's special characters, and those files with bytes
        // changed, cut or repeated. The reader must stay within its promises on every input.
        static const QByteArray specials = QByteArray("\",\r\n \t\"\"a9\x80\x81\xFF\x00", 14);
        auto special = [&] { return specials.at(random.bounded(specials.size())); };
        const double seconds = qEnvironmentVariable("REMLET_FUZZ_SECONDS").toDouble(); // 0: unset
        const qint64 budget = qint64((seconds > 0 ? seconds : 3.0) * 1000);
        QElapsedTimer timer;
        timer.start();
        int inputs = 0;
        RecordStore store;
        for (; timer.elapsed() < budget || inputs < 100; ++inputs) {
            const bool damaged = inputs % 2;
            QByteArray input = damaged ? valid.at(random.bounded(valid.size())) : QByteArray();
            for (int i = damaged ? 0 : random.bounded(0, 600); i > 0; --i)
                input += random.bounded(4) == 0 ? char(random.bounded(256)) : special();
            for (int e = random.bounded(1, 8); damaged && e > 0 && !input.isEmpty(); --e) {
                const auto at = qsizetype(random.bounded(int(input.size())));
                const int edit = random.bounded(4);
                if (edit == 0)
                    input[at] = special();
                else if (edit == 1)
                    input.truncate(at);
                else if (edit == 2)
                    input.remove(at, random.bounded(1, 40));
                else
                    input.insert(at, input.mid(random.bounded(input.size()), random.bounded(80)));
            }
            const ReadResult result = readDatabase(input, store);
            QVERIFY(result.ok == result.error.isEmpty());
            QVERIFY(result.recordCount >= 0 && result.recordCount <= SlotCount);
            if (result.recordCount < SlotCount)
                QVERIFY(store.record(result.recordCount + 1) == Record{});
            for (int slot = 1; slot <= result.recordCount; ++slot)
                store.setRecord(slot, Record{}); // fresh again for the next input
        }
        qInfo("%d inputs in %lld ms", inputs, timer.elapsed());
    }
    void exportCells_data() {
        // text: the surname of slot 7
        // written: its cell in the file
        addColumns<QString, QByteArray>("text", "written");
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
        store.setCell(7, Surname, text);
        QCOMPARE(writeCsv(store),
                 Bom + Header + "7,,," + written + QByteArray(",").repeated(10) + "\r\n");
    }

    // Every database with a user comes back from its CSV exactly, in the same slots: text past
    // the editor's limits, tabs, line breaks and other control characters, serials of any shape.
    void roundTrip() {
        QRandomGenerator random(4242);
        QTemporaryDir dir;
        const QStringList oddSerials = {"1234", "1a2b3c4d", "12/03", "=1+2",
                                        "'x",   "1234E567", " 0001", "00000000"};
        for (int round = 0; round < 12; ++round) {
            RecordStore store;
            for (int slot = random.bounded(1, 5); slot <= SlotCount;
                 slot += random.bounded(1, 300)) {
                for (int column = AuxiliaryWord; column <= ColumnCount; ++column)
                    if (random.bounded(3) > 0)
                        store.setCell(slot, column, randomText(random, 70));
                store.setCell(slot, SerialNumber,
                              random.bounded(4) == 0
                                  ? oddSerials.at(random.bounded(oddSerials.size()))
                                  : randomSerial(random));
            }
            const bool throughFile = round % 4 == 0; // now and then
            const QString path = dir.filePath("users.csv");
            if (throughFile)
                QCOMPARE(exportCsvFile(path, store), QString());
            const SpreadsheetImport result =
                throughFile ? importCsvFile(path) : readCsv(writeCsv(store));
            QCOMPARE(result.error, QString());
            QCOMPARE(result.userCount, filledSlots(store).size());
            QCOMPARE(filledSlots(result.records), filledSlots(store));
        }
    }

    void importCases_data() {
        // filled: as filledSlots lists them
        // error: the reason; empty: the file is read
        addColumns<QByteArray, QStringList, QString>("file", "filled", "error");
        auto row = [](const char *name, const QByteArray &file, const QStringList &filled,
                      const QString &error = {}) {
            QTest::newRow(name) << file << filled << error;
        };
        auto problem = [](const QString &line) { return "It has a problem:\n" + line; };
        const QString quote = "a double quote cannot be stored in a database file";
        const QString notSerial = QStringLiteral(
            "Row %1, Serial Number: \"%2\" is not a serial number of up to 8 hexadecimal digits");

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
        row("one apostrophe removed; a serial with one stands",
            "Serial Number,Surname,Telephone\r\n"
            "'1a,''O'Brien,'+61 3\r\n",
            {"1:1a||'O'Brien|||||||+61 3"});
        row("only a header", "Serial Number,Surname\r\n", {}, "It holds no users.");
        const QString utf16 = "The file is in UTF-16 (%1), which the import does not read: save it "
                              "as CSV in UTF-8 and import that.";
        row("UTF-16 with its mark", "\xFF\xFES\0e\0r\0", {}, utf16.arg("little-endian"));
        row("UTF-16 without a mark", QByteArray("\0S\0e\0r\0i\0a\0l", 12), {},
            utf16.arg("big-endian"));
        row("row with only a slot number is empty", "Slot,Serial Number\r\n5,\r\n5,1\r\n",
            {"5:00000001"});
        row("empty file", "", {}, "The file is empty.");
        row("missing Serial Number column", "Slot,Surname\r\n1,Smith\r\n", {},
            "The first row has no \"Serial Number\" column title.");
        row("slot used twice", "Slot,Serial Number\r\n3,1\r\n3,2\r\n", {},
            problem("Row 3, Slot: slot 3 is already given to row 2"));
        row("slot 4096", "Slot,Serial Number\r\n4096,1\r\n", {},
            problem("Row 2, Slot: \"4096\" is not a slot number from 1 to 4095"));
        row("9-digit serial", "Serial Number\r\n123456789\r\n", {},
            problem(notSerial.arg(2).arg("123456789")));
        row("line break in a quoted cell keeps the row numbers",
            "Serial Number,Surname\r\n1,\"Smith\r\nJones\"\r\n2,\"x\"y\r\n3,\"a\"\"b\"\r\n", {},
            "It has 2 problems:\nRow 3, Surname: text follows the closing quote of the cell\n"
            "Row 4, Surname: " +
                quote);
        row("quote never closed", "Serial Number,Surname\r\n1,\"Smith\r\n2,x\r\n", {},
            problem("Row 2, Surname: the quoted cell has no closing quote"));
        // Each character is named whole: one beyond the first plane, and one within it.
        const QString notStored = "Row 2, %1: the character \"%2\" cannot be stored in a database "
                                  "file";
        row("not Windows-1252",
            "Serial Number,Other Names,Surname\r\n1,\xF0\x9F\x98\x80,\xE4\xB8\xADx\r\n", {},
            "It has 2 problems:\n" + notStored.arg("Surname", "\u4E2D") + '\n' +
                notStored.arg("Other Names", "\U0001F600"));
        row("cell past the header", "Serial Number,Surname\r\n1,Smith,Jo\r\n1,Smith,\r\n", {},
            problem("Row 2, column 3: the header row has no title for this cell"));
        row("more cells than a spreadsheet has columns",
            "Serial Number" + QByteArray(",").repeated(16384), {},
            problem("Row 1, column 16385: a row has at most 16384 cells"));
        row("title twice", "Serial Number,Surname,surname\r\n", {},
            problem("Row 1, Surname: the title is given twice (columns 2 and 3)"));

        QStringList first20;
        for (int i = 2; i <= 21; ++i)
            first20 << notSerial.arg(i).arg("X");
        row("reading stops after 20 problems",
            "Serial Number\r\n" + QByteArray("X\r\n").repeated(25), {},
            "It has more than 20 problems; the first 20 are:\n" + first20.join('\n'));
        row("4096 rows without a Slot column",
            "Serial Number\r\n" + QByteArray("1\r\n").repeated(4096), {},
            problem("Row 4097: a database holds at most 4095 users"));
    }

    void importCases() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, filled);
        const SpreadsheetImport result = readCsv(file);
        QTEST(result.error, "error");
        QCOMPARE(filledSlots(result.records), filled); // nothing at all stored on a refusal
        QCOMPARE(result.userCount, filled.size());
    }

    void fileRefusals_data() {
        // name: in a folder holding a folder "taken"
        addColumns<QString, QString>("name", "reason");
        auto row = [](const char *name, const char *file, const QString &reason) {
            QTest::newRow(name) << QString(file) << reason;
        };
        row("missing", "missing.csv", "No such file or directory");
        row("folder", "taken", "It is a folder, not a file.");
        row("larger than 64 MB", "huge.csv", "The file is larger than 64 MB.");
        row("pipe, which would block", "pipe.csv",
            "It is not a regular file (a device or a pipe).");
    }

    void fileRefusals() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QFile huge(dir.filePath("huge.csv"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1)); // sparse
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath("pipe.csv")).constData(), 0600), 0);
        const QString path = dir.filePath(name);
        const SpreadsheetImport result = importCsvFile(path);
        QCOMPARE(result.error, "Cannot import \"" + path + "\": " + reason);
        QCOMPARE(filledSlots(result.records), QStringList());

        // Exporting into a folder that is not there names the file too.
        const QString target = dir.filePath("missing/users.csv");
        QVERIFY(exportCsvFile(target, RecordStore())
                    .startsWith("Cannot export to \"" + target + "\": "));
    }

    void proposedPath() {
        QCOMPARE(proposedDatabasePath("/a/list.v2.CSV"), "/a/list.v2.fxd");
        QCOMPARE(proposedDatabasePath("/a.b/users"), "/a.b/users.fxd");
        QCOMPARE(proposedDatabasePath("/a/users.FXD"), "/a/users.FXD.fxd"); // never the file read
    }
};

QTEST_GUILESS_MAIN(TestUserdbFiles)
#include "test_userdb_files.moc"
