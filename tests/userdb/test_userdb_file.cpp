#include "tests/common/testfiles.h"
#include "userdb/databasefile.h"
#include "userdb/textcodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

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

QStringList rowOf(const RecordStore &store, int slot) {
    return QStringList(store.record(slot).begin(), store.record(slot).end());
}

bool isEmptyRecord(const RecordStore &store, int slot) {
    return rowOf(store, slot).join(QString()).isEmpty();
}

// Random text over the characters that stress the format (no double quote: typed text never
// holds one, and without escaping it cannot survive the file).
QString randomCellText(QRandomGenerator &random) {
    static const QString alphabet = QStringLiteral("aZ09 ,\r\n\t\u00E9\u20AC\u0081\u00FF;");
    QString text;
    const int length = random.bounded(0, 4) == 0 ? 0 : random.bounded(1, 12);
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(alphabet.size()));
    return text;
}

} // namespace

class TestUserdbFile : public QObject {
    Q_OBJECT

private slots:
    void codec() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = decodeWindows1252(all);
        QCOMPARE(encodeWindows1252(text), all); // every byte survives, the undefined five included
        QVERIFY(std::all_of(text.begin(), text.end(), isWindows1252Character));
        QCOMPARE(text.mid(0xE9, 1) + text.at(0x80) + text.at(0x8D) + text.at(0x9F),
                 QStringLiteral("\u00E9\u20AC\u008D\u0178"));
        // One "?" per code point, a surrogate pair included.
        QCOMPARE(
            encodeWindows1252(QStringLiteral("a\u4E2D") + QString::fromUcs4(U"\U0001F600") + "b"),
            QByteArray("a??b"));
    }

    void writerOutput_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("filled"); // "slot:serial:surname:other detail 2", slot order
        QTest::addColumn<QByteArray>("expected");
        const QByteArray noAddress = "\"\"\r\n";
        auto line = [](const QByteArray &serial) { return '"' + serial + '"' + rest(12) + "\r\n"; };
        QTest::newRow("empty database") << "" << QStringList() << noAddress;
        QTest::newRow("serial and surname")
            << "Depot" << QStringList{"1:0000001A:Smith"}
            << "\"Depot\"\r\n\"0000001A\",\"\",\"Smith\"" + rest(10) + "\r\n";
        QTest::newRow("slots 1 and 5 become records 1 and 2")
            << "" << QStringList{"1:1:", "5:5:"} << noAddress + line("1") + line("5");
        QTest::newRow("only Other Detail 2")
            << "" << QStringList{"7:::spare"} << noAddress + "\"\"" + rest(11) + ",\"spare\"\r\n";
        QTest::newRow("00000000 holds its place")
            << "" << QStringList{"2:00000000:", "3:3:"} << noAddress + line("00000000") + line("3");
        QTest::newRow("two-line address in Windows-1252")
            << QStringLiteral("Site\r\nCaf\u00E9 \u20AC") << QStringList()
            << QByteArray("\"Site\r\nCaf\xE9 \x80\"\r\n");
    }

    void writerOutput() {
        QFETCH(QString, address);
        QFETCH(QStringList, filled);
        QFETCH(QByteArray, expected);
        RecordStore store;
        for (const QString &slot : filled) {
            const QStringList parts = slot.split(':');
            store.setCell(parts.at(0).toInt(), SerialNumber, parts.at(1));
            store.setCell(parts.at(0).toInt(), Surname, parts.at(2));
            store.setCell(parts.at(0).toInt(), OtherDetail2, parts.value(3));
        }
        QCOMPARE(writeDatabase(address, store), expected);

        RecordStore read; // and back: the records fill slots 1, 2, ... in the same order
        const ReadResult result = readDatabase(expected, read);
        QCOMPARE(result.address, address);
        QCOMPARE(result.recordCount, filled.size());
        for (int i = 0; i < filled.size(); ++i) {
            const QStringList parts = (filled.at(i) + ":::").split(':');
            QCOMPARE((QStringList{read.cell(i + 1, SerialNumber), read.cell(i + 1, Surname),
                                  read.cell(i + 1, OtherDetail2)}),
                     parts.mid(1, 3));
        }
    }

    void reading_data() {
        // null: there is no file; "<huge>": a 65 MB sparse file
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QList<QStringList>>("records"); // leading cells of the records stored
        QTest::addColumn<QString>("reason");             // why loading fails; empty: it loads
        using Rows = QList<QStringList>;
        auto row = [](const char *name, const QByteArray &file, const QString &address,
                      const Rows &records, const QString &reason = {}) {
            QTest::newRow(name) << file << address << records << reason;
        };
        Rows upTo4095;
        for (int i = 1; i <= SlotCount; ++i)
            upTo4095 << QStringList{QString::number(i), ""};
        const QString cutShort = QStringLiteral("Record %1 is cut short by the end of the file.");
        const QString empty = QStringLiteral("The file is empty.");

        row("unquoted fields lose trailing spaces only",
            "  Depot  \r\n  0000001A  ,ab cd ,  x,,y" + rest(8) + "\r\n", "Depot",
            {{"0000001A", "ab cd", "x", "", "y"}});
        row("text after a closing quote is skipped", "\"a\"junk\r\n\"1\"  ,\"b\"c\"d\"" + rest(11),
            "a", {{"1", "b", ""}});
        row("quotes hold commas and line breaks", "\"x,\r\ny\"\r\n\"1,2\",\"a\r\nb\"" + rest(11),
            "x,\r\ny", {{"1,2", "a\r\nb", ""}});
        row("a record borrows fields across a line end",
            "\"\"\r\n\"1\",\"2\",\"3\"\r\n\"4\",\"5\"" + rest(8) + "\r\n\"B\"" + rest(12), "",
            {{"1", "2", "3", "4", "5", ""}, {"B", ""}});
        row("extra fields start the next record",
            "\"\"\r\n\"1\"" + rest(12) + ",\"x\",\"y\"\r\n\"z\"" + rest(10), "",
            {{"1", ""}, {"x", "y", "z", ""}});
        row("bare line feeds, blank lines and spaces after the last record",
            "\"a\"\n\"1\"" + rest(12) + "\n\r\n\r\n   \t\r\n", "a", {{"1"}});
        row("header only", "\"a\"\r\n", "a", {});
        row("4095 records", numberedRecords(SlotCount), "", upTo4095);
        row("UTF-8 with a byte-order mark",
            "\xEF\xBB\xBF\"Caf\xC3\xA9\"\r\n\"1\",\"\xE2\x82\xAC\"" + rest(11),
            QStringLiteral("Caf\u00E9"), {{"1", QStringLiteral("\u20AC")}});
        row("cannot open", QByteArray(), "", {}, "No such file");
        row("larger than 64 MB", "<huge>", "", {}, "The file is larger than 64 MB");
        row("empty", "", "", {}, empty);
        row("only blank lines", " \r\n\r\n", "", {}, empty);
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
        QFETCH(QString, address);
        QFETCH(QList<QStringList>, records);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("users.fxd");
        if (file == "<huge>") {
            QFile huge(path); // sparse: costs no disk space
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(65LL * 1024 * 1024));
        } else if (!file.isNull()) {
            QVERIFY(writeFile(path, file));
        }
        RecordStore store;
        const LoadResult result = loadDatabaseFile(path, store);
        if (reason.isEmpty())
            QCOMPARE(result.error, QString());
        else
            QVERIFY2(result.error.startsWith("Cannot load \"" + path + "\": " + reason),
                     qPrintable(result.error));
        QCOMPARE(result.address, address);
        QCOMPARE(result.recordCount, records.size());
        for (int i = 0; i < records.size(); ++i)
            QCOMPARE(rowOf(store, i + 1).mid(0, records.at(i).size()), records.at(i));
        if (records.size() < SlotCount)
            QVERIFY(isEmptyRecord(store, records.size() + 1));
    }

    void saveOutcomes_data() {
        QTest::addColumn<QString>("name"); // inside a folder holding users.fxd and taken/inside.fxd
        QTest::addColumn<int>("records");  // slots filled, each about 90 bytes in the file
        QTest::addColumn<int>("sizeLimit"); // bytes a file may grow to; 0: no limit
        QTest::addColumn<QString>(
            "error"); // how the reason after the file name starts; null: saves
        QTest::addColumn<QString>("surname"); // of every record
        const QString plain(50, 'S');
        QTest::newRow("replaces a longer file") << "users.fxd" << 1 << 0 << QString() << plain;
        // Written as it stands, either would make a file that loads back different.
        QTest::newRow("a double quote")
            << "users.fxd" << 2 << 0 << "Slot 1, Surname: a double quote cannot be stored"
            << "O\"Brien";
        QTest::newRow("outside Windows-1252")
            << "users.fxd" << 2 << 0 << "Slot 1, Surname: the character \"\u4E2D\" cannot be stored"
            << QStringLiteral("Li \u4E2D");
        QTest::newRow("folder that does not exist")
            << "missing/users.fxd" << 1 << 0 << "No such file" << plain;
        QTest::newRow("path taken by a folder")
            << "taken" << 1 << 0 << "Filename refers to a directory" << plain;
#ifdef Q_OS_UNIX
        // The write itself fails midway, as on a full disk.
        QTest::newRow("file size limit")
            << "users.fxd" << SlotCount << 4096 << "Not all of the data could be written." << plain;
        QTest::newRow("file size limit, small file") << "users.fxd" << 1 << 16 << "" << plain;
#endif
    }

    void saveOutcomes() {
        QFETCH(QString, name);
        QFETCH(int, records);
        QFETCH(int, sizeLimit);
        QFETCH(QString, error);
        QFETCH(QString, surname);
        QTemporaryDir dir;
        const QByteArray previous(500, 'x');
        QVERIFY(writeFile(dir.filePath("users.fxd"), previous));
        QVERIFY(QDir(dir.path()).mkdir("taken"));
        QVERIFY(writeFile(dir.filePath("taken/inside.fxd"), "kept"));
        const QString path = dir.filePath(name);
        RecordStore store;
        for (int slot = 1; slot <= records; ++slot) {
            store.setCell(slot, SerialNumber, "0000001A");
            store.setCell(slot, Surname, surname);
        }
#ifdef Q_OS_UNIX
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = sizeLimit > 0 ? rlim_t(sizeLimit) : saved.rlim_cur;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
#endif
        const QString message = saveDatabaseFile(path, "Depot", store);
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
#endif
        if (error.isNull()) {
            QCOMPARE(message, QString());
            QCOMPARE(readFile(path), writeDatabase("Depot", store));
        } else {
            QVERIFY2(message.startsWith("Cannot save \"" + path + "\": " + error),
                     qPrintable(message));
            QCOMPARE(readFile(dir.filePath("users.fxd")), previous);
        }
        // Nothing else is left behind, and the folder in the way is untouched.
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList({"taken", "users.fxd"}));
        QCOMPARE(readFile(dir.filePath("taken/inside.fxd")), QByteArray("kept"));
    }

    void randomFiles() {
        // Random stores first: whatever the text, every slot holding any comes back, packed in slot
        // order.
        QRandomGenerator random(qEnvironmentVariableIntValue("REMLET_FUZZ_SEED") + 1);
        QList<QByteArray> valid;
        for (int round = 0; round < 20; ++round) {
            RecordStore store;
            QList<int> written;
            for (int slot = 1; slot <= SlotCount; slot += random.bounded(1, 400)) {
                bool holdsText = false;
                for (int column = 1; column <= ColumnCount; ++column) {
                    const QString text = randomCellText(random);
                    store.setCell(slot, column, text);
                    holdsText = holdsText || !text.isEmpty();
                }
                if (holdsText)
                    written << slot;
            }
            const QString address = randomCellText(random);
            valid << writeDatabase(address, store);
            RecordStore read;
            const ReadResult result = readDatabase(valid.last(), read);
            QVERIFY2(result.ok, qPrintable(result.error));
            QCOMPARE(result.address, address);
            QCOMPARE(result.recordCount, written.size());
            for (int i = 0; i < written.size(); ++i)
                QCOMPARE(rowOf(read, i + 1), rowOf(store, written.at(i)));
        }

        // Then random byte soup over the format's special characters, and those files with bytes
        // changed, cut or repeated. The reader must stay within its promises on every input.
        static const QByteArray specials = QByteArray("\",\r\n \t\"\"a9\x80\x81\xFF\x00", 14);
        auto special = [&] { return specials.at(random.bounded(specials.size())); };
        bool ok = false;
        const double seconds = qEnvironmentVariable("REMLET_FUZZ_SECONDS").toDouble(&ok);
        const qint64 budget = qint64((ok && seconds > 0 ? seconds : 3.0) * 1000);
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
                const int at = random.bounded(input.size());
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
                QVERIFY(isEmptyRecord(store, result.recordCount + 1));
            for (int slot = 1; slot <= result.recordCount; ++slot)
                store.setRecord(slot, Record{}); // fresh again for the next input
        }
        qInfo("%d inputs in %lld ms", inputs, timer.elapsed());
    }
};

QTEST_GUILESS_MAIN(TestUserdbFile)
#include "test_userdb_file.moc"
