#include "userdb/databasefile.h"
#include "userdb/textcodec.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace userdb;

namespace {

const QByteArray EmptyFields12 = QByteArrayLiteral(R"(,"","","","","","","","","","","","")");

QByteArray recordLine(const QStringList &cells) {
    QByteArray line;
    for (int i = 0; i < ColumnCount; ++i) {
        if (i > 0)
            line += ',';
        line += '"' + encodeWindows1252(cells.value(i)) + '"';
    }
    return line + "\r\n";
}

QStringList rowOf(const RecordStore &store, int slot) {
    QStringList row;
    for (const QString &cell : store.record(slot))
        row << cell;
    return row;
}

QByteArray readFileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFileBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Accepts a set number of bytes, then fails as a full disk would.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity)
        : m_capacity(capacity) {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override {
        if (m_written + length > m_capacity) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        m_written += length;
        return length;
    }

private:
    qint64 m_capacity;
    qint64 m_written = 0;
};

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

double fuzzSeconds() {
    bool ok = false;
    const double seconds = qEnvironmentVariable("REMLET_FUZZ_SECONDS").toDouble(&ok);
    return ok && seconds > 0 ? seconds : 3.0;
}

} // namespace

class TestUserdbFile : public QObject {
    Q_OBJECT

private slots:
    void codecRoundTripsEveryByte();
    void codecMapsEuroAndAccent();
    void codecReplacesUnencodable();

    void writerOutput_data();
    void writerOutput();
    void writeThenReadClosesGaps();
    void writeThenReadRandomStores();

    void readerFieldRules_data();
    void readerFieldRules();
    void readerFailures_data();
    void readerFailures();
    void readerStopsAfter4095Records();

    void saveReplacesExistingFile();
    void saveFailuresName_data();
    void saveFailuresName();
    void saveFailingWriteKeepsPreviousFile();
    void writeToFailingDeviceReports();
    void loadReportsFileAndReason();

    void readerSurvivesRandomInput();
};

void TestUserdbFile::codecRoundTripsEveryByte() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeWindows1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(encodeWindows1252(text), all);
    for (const QChar ch : text)
        QVERIFY(isWindows1252Character(ch));
    QCOMPARE(text.at(0x80), QChar(0x20AC));
    QCOMPARE(text.at(0x8D), QChar(0x8D));
    QCOMPARE(text.at(0x9F), QChar(0x178));
}

void TestUserdbFile::codecMapsEuroAndAccent() {
    const QString text = QStringLiteral("\u00E9\u20AC");
    QCOMPARE(encodeWindows1252(text), QByteArray("\xE9\x80"));
    QCOMPARE(decodeWindows1252(QByteArray("\xE9\x80")), text);
}

void TestUserdbFile::codecReplacesUnencodable() {
    QVERIFY(!isWindows1252Character(QChar(0x4E2D)));
    QVERIFY(!isWindows1252Character(QChar(0x80))); // a C1 control that 0x80 does not stand for
    // One "?" per code point, a surrogate pair included.
    QCOMPARE(encodeWindows1252(QStringLiteral("a\u4E2D") + QString::fromUcs4(U"\U0001F600") + "b"),
             QByteArray("a??b"));
}

void TestUserdbFile::writerOutput_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QList<QStringList>>("slotRows"); // slot number, then its 13 cells
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty database") << QString() << QList<QStringList>{} << QByteArray("\"\"\r\n");
    QTest::newRow("serial and surname")
        << "Depot" << QList<QStringList>{{"1", "0000001A", "", "Smith"}}
        << QByteArray("\"Depot\"\r\n\"0000001A\",\"\",\"Smith\"" + EmptyFields12.mid(6) + "\r\n");
    QTest::newRow("only owner details, no serial")
        << "" << QList<QStringList>{{"7", "", "", "", "", "", "", "", "", "", "", "", "", "note"}}
        << QByteArray("\"\"\r\n\"\"" + EmptyFields12.left(EmptyFields12.size() - 2) +
                      "\"note\"\r\n");
    QTest::newRow("two-line address and 1252 text")
        << QStringLiteral("Site\r\nCaf\u00E9 \u20AC") << QList<QStringList>{}
        << QByteArray("\"Site\r\nCaf\xE9 \x80\"\r\n");
}

void TestUserdbFile::writerOutput() {
    QFETCH(QString, address);
    QFETCH(QList<QStringList>, slotRows);
    QFETCH(QByteArray, expected);
    RecordStore store;
    for (const QStringList &slot : slotRows)
        for (int column = 1; column < slot.size(); ++column)
            store.setCell(slot.first().toInt(), column, slot.at(column));
    QCOMPARE(writeDatabase(address, store), expected);
}

void TestUserdbFile::writeThenReadClosesGaps() {
    RecordStore store;
    store.setCell(1, SerialNumber, "00000001");
    store.setCell(2, SerialNumber, NoSerialNumber); // text: holds its place
    store.setCell(3, SerialNumber, "00000003");
    store.setCell(7, SerialNumber, "00000007");
    store.setCell(7, Surname, "Jones");
    store.setCell(4095, Mobile, "0400");
    const QString address = QStringLiteral("Line one\r\nLine two");

    RecordStore read;
    const ReadResult result = readDatabase(writeDatabase(address, store), read);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.address, address);
    QCOMPARE(result.recordCount, 5);
    QCOMPARE(read.cell(2, SerialNumber), NoSerialNumber);
    QCOMPARE(read.cell(3, SerialNumber), "00000003");
    QCOMPARE(rowOf(read, 4), rowOf(store, 7));
    QCOMPARE(rowOf(read, 5), rowOf(store, 4095));
    QVERIFY(read.isFree(6));
}

void TestUserdbFile::writeThenReadRandomStores() {
    QRandomGenerator random(1234);
    for (int round = 0; round < 20; ++round) {
        RecordStore store;
        QList<int> written;
        for (int slot = 1; slot <= SlotCount; slot += random.bounded(1, 400)) {
            for (int column = 1; column <= ColumnCount; ++column)
                store.setCell(slot, column, randomCellText(random));
            if (!store.isFree(slot))
                written << slot;
        }
        const QString address = randomCellText(random);
        RecordStore read;
        const ReadResult result = readDatabase(writeDatabase(address, store), read);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.address, address);
        QCOMPARE(result.recordCount, written.size());
        for (int i = 0; i < written.size(); ++i)
            QCOMPARE(rowOf(read, i + 1), rowOf(store, written.at(i)));
    }
}

void TestUserdbFile::readerFieldRules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QList<QStringList>>("records"); // the leading cells of records 1, 2, ...

    auto rest = [](int count) { return QByteArray(",\"\"").repeated(count); };
    QTest::newRow("unquoted fields lose trailing spaces only")
        << QByteArray("  Depot  \r\n  0000001A  ,ab cd ,  x,,y" + rest(8) + "\r\n") << "Depot"
        << QList<QStringList>{{"0000001A", "ab cd", "x", "", "y"}};
    QTest::newRow("text after a closing quote is skipped")
        << QByteArray("\"a\"junk\r\n\"1\"  ,\"b\"c\"d\"" + rest(11) + "\r\n") << "a"
        << QList<QStringList>{{"1", "b", ""}};
    QTest::newRow("quotes hold commas and line breaks")
        << QByteArray("\"x,\r\ny\"\r\n\"1,2\",\"a\r\nb\"" + rest(11)) << "x,\r\ny"
        << QList<QStringList>{{"1,2", "a\r\nb", ""}};
    QTest::newRow("a record borrows fields across a line end")
        << QByteArray("\"\"\r\n\"1\",\"2\",\"3\"\r\n\"4\",\"5\"" + rest(8) + "\r\n\"B\"" +
                      rest(12) + "\r\n")
        << "" << QList<QStringList>{{"1", "2", "3", "4", "5", ""}, {"B", ""}};
    QTest::newRow("extra fields start the next record")
        << QByteArray("\"\"\r\n\"1\"" + rest(12) + ",\"x\",\"y\"\r\n\"z\"" + rest(10) + "\r\n")
        << "" << QList<QStringList>{{"1", ""}, {"x", "y", "z", ""}};
    QTest::newRow("bare line feeds")
        << QByteArray("\"a\"\n\"1\"" + rest(12) + "\n") << "a" << QList<QStringList>{{"1"}};
    QTest::newRow("blank lines and spaces after the last record")
        << QByteArray("\"a\"\r\n\"1\"" + rest(12) + "\r\n\r\n\r\n   \t\r\n") << "a"
        << QList<QStringList>{{"1"}};
    QTest::newRow("header only") << QByteArray("\"a\"\r\n") << "a" << QList<QStringList>{};
    QTest::newRow("high bytes decode as Windows-1252")
        << QByteArray("\"\x80\x9D\xFF\"") << QStringLiteral("\u20AC\u009D\u00FF")
        << QList<QStringList>{};
}

void TestUserdbFile::readerFieldRules() {
    QFETCH(QByteArray, file);
    QFETCH(QString, address);
    QFETCH(QList<QStringList>, records);
    RecordStore store;
    const ReadResult result = readDatabase(file, store);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(result.address, address);
    QCOMPARE(result.recordCount, records.size());
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(rowOf(store, i + 1).mid(0, records.at(i).size()), records.at(i));
    QVERIFY(store.isFree(records.size() + 1));
}

void TestUserdbFile::readerFailures_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("recordsKept");

    QByteArray elevenRecords = "\"\"\r\n";
    for (int i = 1; i <= 11; ++i)
        elevenRecords += recordLine({QString::number(i)});

    QTest::newRow("empty") << QByteArray() << "The file is empty." << 0;
    QTest::newRow("only blank lines") << QByteArray(" \r\n\r\n") << "The file is empty." << 0;
    QTest::newRow("address without its closing quote")
        << QByteArray("\"Depot\r\n") << "The database address is cut short by the end of the file."
        << 0;
    QTest::newRow("first record short of a field")
        << QByteArray("\"\"\r\n\"1\"" + EmptyFields12.left(EmptyFields12.size() - 3) + "\r\n")
        << "Record 1 is cut short by the end of the file." << 0;
    QTest::newRow("record 12 cut short") << QByteArray(elevenRecords + "\"12\",\"\",\"Smi")
                                         << "Record 12 is cut short by the end of the file." << 11;
}

void TestUserdbFile::readerFailures() {
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    QFETCH(int, recordsKept);
    RecordStore store;
    const ReadResult result = readDatabase(file, store);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, error);
    QCOMPARE(result.recordCount, recordsKept);
    for (int slot = 1; slot <= recordsKept; ++slot)
        QCOMPARE(store.cell(slot, SerialNumber), QString::number(slot));
    QVERIFY(store.isFree(recordsKept + 1));
}

void TestUserdbFile::readerStopsAfter4095Records() {
    QByteArray file = "\"\"\r\n";
    for (int i = 1; i <= SlotCount; ++i)
        file += recordLine({QString::number(i)});
    RecordStore store;
    QVERIFY(readDatabase(file, store).ok);

    file += recordLine({"one too many"});
    RecordStore overfull;
    const ReadResult result = readDatabase(file, overfull);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, "The file holds more than 4095 records.");
    QCOMPARE(result.recordCount, SlotCount);
    QCOMPARE(overfull.cell(SlotCount, SerialNumber), "4095");
}

void TestUserdbFile::saveReplacesExistingFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("users.fxd");
    writeFileBytes(path, QByteArray(5000, 'x'));
    RecordStore store;
    store.setCell(1, SerialNumber, "0000001A");
    QCOMPARE(saveDatabaseFile(path, "Depot", store), QString());
    QCOMPARE(readFileBytes(path), writeDatabase("Depot", store));

    RecordStore loaded;
    const LoadResult load = loadDatabaseFile(path, loaded);
    QCOMPARE(load.error, QString());
    QCOMPARE(load.address, "Depot");
    QCOMPARE(load.recordCount, 1);
    QCOMPARE(loaded.cell(1, SerialNumber), "0000001A");
}

void TestUserdbFile::saveFailuresName_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder that does not exist") << "missing/users.fxd"
                                                << "No such file";
    QTest::newRow("path taken by a folder") << "taken"
                                            << "";
}

void TestUserdbFile::saveFailuresName() {
    QFETCH(QString, relativePath);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken"));
    writeFileBytes(dir.filePath("taken/inside.fxd"), "kept");
    const QString path = dir.filePath(relativePath);

    const QString error = saveDatabaseFile(path, "", RecordStore());
    QVERIFY2(error.startsWith("Cannot save \"" + path + "\": "), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(QFileInfo(dir.filePath("taken")).isDir());
    QCOMPARE(readFileBytes(dir.filePath("taken/inside.fxd")), QByteArray("kept"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
}

void TestUserdbFile::saveFailingWriteKeepsPreviousFile() {
#ifdef Q_OS_UNIX
    // A file size limit makes the write itself fail, as a full disk would.
    QTemporaryDir dir;
    const QString path = dir.filePath("users.fxd");
    writeFileBytes(path, "\"previous\"\r\n");
    RecordStore store;
    for (int slot = 1; slot <= SlotCount; ++slot)
        store.setCell(slot, Surname, QString(50, 'S'));

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString error = saveDatabaseFile(path, "new", store);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY2(error.startsWith("Cannot save \"" + path + "\": "), qPrintable(error));
    QCOMPARE(readFileBytes(path), QByteArray("\"previous\"\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"users.fxd"});
#else
    QSKIP("needs a file size limit");
#endif
}

void TestUserdbFile::writeToFailingDeviceReports() {
    RecordStore store;
    store.setCell(1, SerialNumber, "0000001A");
    FailingDevice device(10);
    QCOMPARE(writeDatabaseTo(device, "a long database address", store), "No space left on device");
    FailingDevice roomy(1000);
    QCOMPARE(writeDatabaseTo(roomy, "", store), QString());
}

void TestUserdbFile::loadReportsFileAndReason() {
    QTemporaryDir dir;
    RecordStore store;
    const QString missing = dir.filePath("none.fxd");
    const LoadResult notThere = loadDatabaseFile(missing, store);
    QVERIFY2(notThere.error.startsWith("Cannot load \"" + missing + "\": "),
             qPrintable(notThere.error));

    const QString folder = dir.path();
    QVERIFY(!loadDatabaseFile(folder, store).error.isEmpty());

    const QString empty = dir.filePath("empty.fxd");
    writeFileBytes(empty, "");
    QCOMPARE(loadDatabaseFile(empty, store).error,
             "Cannot load \"" + empty + "\": The file is empty.");

    const QString cut = dir.filePath("cut.fxd");
    writeFileBytes(cut, "\"Depot\"\r\n\"1\",\"2\"");
    const LoadResult cutShort = loadDatabaseFile(cut, store);
    QCOMPARE(cutShort.error,
             "Cannot load \"" + cut + "\": Record 1 is cut short by the end of the file.");
    QCOMPARE(cutShort.address, "Depot");
}

void TestUserdbFile::readerSurvivesRandomInput() {
    // Random byte soup over the format's special characters, and valid files with bytes
    // changed, cut or repeated. The reader must stay within its promises on every input.
    static const QByteArray specials = QByteArray("\",\r\n \t\"\"a9\x80\x81\xFF\x00", 14);
    RecordStore seedStore;
    for (int slot = 1; slot <= 30; ++slot)
        for (int column = 1; column <= ColumnCount; column += 3)
            seedStore.setCell(slot, column, QStringLiteral("v%1,%2").arg(slot).arg(column));
    const QByteArray seed = writeDatabase("Depot\r\nSouth", seedStore);

    QRandomGenerator random(qEnvironmentVariableIntValue("REMLET_FUZZ_SEED") + 1);
    const qint64 budget = qint64(fuzzSeconds() * 1000);
    QElapsedTimer timer;
    timer.start();
    int inputs = 0;
    auto store = std::make_unique<RecordStore>();
    while (timer.elapsed() < budget || inputs < 100) {
        QByteArray input;
        if (inputs % 2 == 0) {
            const int length = random.bounded(0, 600);
            for (int i = 0; i < length; ++i)
                input += random.bounded(4) == 0 ? char(random.bounded(256))
                                                : specials.at(random.bounded(specials.size()));
        } else {
            input = seed;
            const int edits = random.bounded(1, 8);
            for (int e = 0; e < edits && !input.isEmpty(); ++e) {
                const int at = random.bounded(input.size());
                switch (random.bounded(4)) {
                case 0:
                    input[at] = specials.at(random.bounded(specials.size()));
                    break;
                case 1:
                    input.truncate(at);
                    break;
                case 2:
                    input.remove(at, random.bounded(1, 40));
                    break;
                default:
                    input.insert(at, input.mid(random.bounded(input.size()), random.bounded(80)));
                }
            }
        }
        const ReadResult result = readDatabase(input, *store);
        QVERIFY(result.ok == result.error.isEmpty());
        QVERIFY(result.recordCount >= 0 && result.recordCount <= SlotCount);
        if (result.recordCount < SlotCount)
            QVERIFY(store->isFree(result.recordCount + 1));
        for (int slot = 1; slot <= result.recordCount; ++slot)
            store->setRecord(slot, Record{}); // fresh again for the next input
        ++inputs;
    }
    qInfo("%d inputs in %lld ms", inputs, timer.elapsed());
}

QTEST_GUILESS_MAIN(TestUserdbFile)
#include "test_userdb_file.moc"
