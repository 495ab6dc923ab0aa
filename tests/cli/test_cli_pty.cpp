// remletctl against the zepro-sim process on a pseudo-terminal, as an installer's script
// runs it.
#include "sim/simulatorprocess.h"
#include "tests/common/datacolumns.h"
#include "tests/common/testfiles.h"
#include "userdb/databasefile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
    bool operator==(const Run &) const = default;
};

const Run Silent{0, {}, {}}; // exit code 0, nothing printed

char *toString(const Run &run) {
    return QTest::toString(QByteArray::number(run.exitCode) + " | " + run.out + " | " + run.err);
}

Run remletctl(const QStringList &arguments, const QString &ports = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("REMLET_PORTS", ports);
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("REMLETCTL"), arguments);
    if (!process.waitForFinished(30000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// A database file holding `serials` in slots 1, 2, ... with auxiliary words "0001", "0002"...
bool writeDatabase(const QString &path, const QStringList &serials) {
    userdb::RecordStore store;
    for (int slot = 1; slot <= serials.size(); ++slot) {
        store.setCell(slot, userdb::SerialNumber, serials.at(slot - 1));
        store.setCell(slot, userdb::AuxiliaryWord, QString("%1").arg(slot, 4, 10, QChar('0')));
    }
    return userdb::saveDatabaseFile(path, "Site", store).isEmpty(); // no error
}

// The rows of a --log file in one direction, as "text" without time and direction.
QStringList logRows(const QString &path, const QString &direction) {
    QStringList rows;
    for (const QString &line : QString::fromUtf8(readFile(path)).split('\n', Qt::SkipEmptyParts))
        if (line.mid(25, 8).trimmed() == direction) // after "2025-03-01 14:02:11.123  "
            rows << line.mid(35);
    return rows;
}

} // namespace

class TestCliPty : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.filePath(name); }

private slots:
    // enrol: new fobs into the next free slots (slot 2 holds "00000000" and keeps its aux), a
    // known fob named on standard error, a fob held on the reader and lines without a fob
    // ignored; then a run ended by SIGTERM switches the receiver off. Every fob printed is in
    // the file, and the file as it was before each run is kept.
    void enrol() {
        const QString link = path("enrol-zepro"), db = path("enrol.fxd");
        const QString kept = path("enrol.old.fxd");
        QVERIFY(writeDatabase(db, {"0000ABCD", "00000000"}));
        const QByteArray original = readFile(db);
        QVERIFY(writeFile(path("fobs.txt"), "RX 1A2B3C4D\nRX 1A2B3C4D\nRX 0000abcd\nnoise\n\n"
                                            "rx 00c0ffee\nRX 12345678\n"));
        {
            sim::SimulatorProcess sim({"--no-pacing", "--link", link, "--capture-lines",
                                       path("fobs.txt"), "--capture-every", "0.2"});
            QCOMPARE(
                remletctl({"enrol", db, "--count", "2", "--port", link}),
                (Run{0, "2\t1A2B3C4D\n3\t00C0FFEE\n", "remletctl: 0000ABCD already in slot 1\n"}));
            QCOMPARE(readFile(kept), original);
            userdb::RecordStore store;
            QCOMPARE(userdb::loadDatabaseFile(db, store).error, QString());
            QCOMPARE(store.cell(2, 1) + store.cell(2, 2) + store.cell(3, 1) + store.cell(4, 1),
                     "1A2B3C4D000200C0FFEE");
        }

        const QByteArray beforeSecond = readFile(db);
        sim::SimulatorProcess sim({"--link", link, "--capture-every", "0.3"});
        QProcess enrol;
        enrol.start(qEnvironmentVariable("REMLETCTL"), {"enrol", db, "--port", link});
        QVERIFY(enrol.waitForReadyRead(10000));
        enrol.terminate();
        QVERIFY(enrol.waitForFinished(10000));
        QCOMPARE(enrol.exitStatus(), QProcess::NormalExit);
        QCOMPARE(enrol.exitCode(), 0);
        QCOMPARE(enrol.readAllStandardError(), QByteArray());
        const QList<QByteArray> printed = enrol.readAllStandardOutput().split('\n');
        QVERIFY(printed.first() == "4\t00000001");
        userdb::RecordStore store;
        QCOMPARE(userdb::loadDatabaseFile(db, store).error, QString());
        for (int slot = 4; slot < 4 + printed.size() - 1; ++slot) // one empty after the last
            QCOMPARE(store.cell(slot, 1), QString(printed.at(slot - 4)).section('\t', 1));
        QCOMPARE(store.cell(4 + int(printed.size()) - 1, 1), QString());
        QCOMPARE(readFile(kept), beforeSecond);
        // The receiver is off: a line typed at the simulator has no one to go to.
        sim.process.write("RX 0000BEEF\n");
        QByteArray simErrors;
        QTRY_VERIFY_WITH_TIMEOUT(
            (simErrors += sim.process.readAllStandardError()).contains("the receiver is off"),
            5000);
    }

    // export and import need no programmer: a database through a workbook comes back byte for
    // byte, through a CSV without its address; an existing database is replaced with --force.
    // The usage line names the program, not the path it was started by.
    void conversionsAndHelp() {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QVERIFY(writeDatabase("site.fxd", {"0000ABCD", "1234E567", "", "00001234"}));
        const QByteArray site = readFile("site.fxd");
        QCOMPARE(remletctl({"export", "site.fxd", "users.xlsx"}), Silent);
        QCOMPARE(remletctl({"import", "users.xlsx", "back.fxd"}), Silent);
        QCOMPARE(readFile("back.fxd"), site);
        QCOMPARE(remletctl({"export", "site.fxd", "users.CSV"}), Silent);
        QCOMPARE(remletctl({"import", "--force", "users.CSV", "back.fxd"}), Silent);
        QCOMPARE(readFile("back.fxd"), "\"\"" + site.mid(site.indexOf('\r')));

        const Run help = remletctl({"--help"});
        QVERIFY2(help.exitCode == 0 && help.out.startsWith("Usage: remletctl [options] "),
                 help.out);
    }

    // Against a programmer that ends its lines with CR LF, at the wire's pace: find searches the
    // ports, or asks the one given (by a path relative to the current folder, which the serial
    // port alone would look for under /dev); read and compare send no size command unless
    // --sizes is given; users beyond the size are named and make program and compare exit 1; a
    // comparison prints each slot that differs, nothing when all match; --log writes every line
    // that went over the wire. Results go to standard output only.
    void sizesLeftOutUsersAndLog() {
        const QString link = path("crlf");
        sim::SimulatorProcess sim({"--crlf", "--link", link});
        QStringList serials;
        for (int slot = 1; slot <= 100; ++slot)
            serials << QString("%1").arg(0xA000 + slot, 8, 16, QChar('0')).toUpper();
        QVERIFY(writeDatabase(path("hundred.fxd"), serials));
        const auto run = [&](const QString &command, const char *log) {
            return remletctl(command.split(' ') << "--port" << link << "--log" << path(log));
        };

        QVERIFY(QDir::setCurrent(m_dir.path()));
        const Run found{0, "1\t" + link.toUtf8() + "\tZEPRO V2.4\n", ""};
        QCOMPARE(remletctl({"find"}, link), found);
        QCOMPARE(remletctl({"find", "--sizes", "85", "--port", "crlf", "--log", "find.log"}),
                 found);
        QCOMPARE(logRows(path("find.log"), "sent"), (QStringList{"P<CR>", "F<CR>", "H<CR>"}));
        // Each LF comes a character after its CR: read with it, after the port closed (not
        // read at all), or in the next command's wait (a row of its own), as timing has it.
        QStringList received = logRows(path("find.log"), "received").replaceInStrings("<LF>", "");
        received.removeAll(QString());
        QCOMPARE(received, (QStringList{"ZEPRO V2.4<CR>", "OK<CR>", "OK<CR>"}));

        const QString leftOut = "remletctl: the receiver has 85 slots; the users in these slots "
                                "were left out: 86-100\n";
        QCOMPARE(run("--sizes 85 program receiver " + path("hundred.fxd"), "p.log"),
                 (Run{1, "", leftOut.toUtf8()}));
        const QStringList writes = logRows(path("p.log"), "sent");
        QCOMPARE(writes.size(), 1 + 85);
        QCOMPARE(writes.first(2), (QStringList{"F<CR>", "W=001,0000A001,0001<CR>"}));

        QCOMPARE(run("read receiver " + path("back.fxd"), "read.log"), Silent);
        QCOMPARE(logRows(path("read.log"), "sent"), QStringList{"D<CR>"});
        QCOMPARE(logRows(path("read.log"), "received").size(), 85 + 1);
        userdb::RecordStore back;
        QCOMPARE(userdb::loadDatabaseFile(path("back.fxd"), back).error, QString());
        QCOMPARE(back.cell(85, userdb::SerialNumber), "0000A055");

        // Without --sizes, 340 slots are compared: the device reports none beyond 85.
        const Run all = run("compare receiver " + path("hundred.fxd"), "all.log");
        QCOMPARE(all.exitCode, 1);
        QVERIFY2(all.out.startsWith("86\t0000A056\t0086\t00000000\t0000\n"), all.out);
        QCOMPARE(all.out.count('\n'), 15);
        QCOMPARE(all.err, QByteArray());
        QCOMPARE(logRows(path("all.log"), "sent"), QStringList{"D<CR>"});
        QCOMPARE(run("--sizes 85 compare receiver " + path("hundred.fxd"), "85.log"),
                 (Run{1, "", leftOut.toUtf8()}));
        QCOMPARE(logRows(path("85.log"), "sent"), (QStringList{"F<CR>", "D<CR>"}));
        QCOMPARE(run("compare receiver " + path("back.fxd"), "back.log"), Silent);
    }

    // Each failure exits 2 with one line on standard error and leaves the files as they were,
    // making none.
    void failures_data() {
        // simulator: empty: none is started
        // arguments: "PORT" is replaced by the port's path
        // reason: a part of the line
        addColumns<QStringList, QStringList, QString>("simulator", "arguments", "reason");
        const auto row = [](const char *name, const char *simulator, const char *arguments,
                            const char *reason) {
            QTest::newRow(name) << QString(simulator).split(' ', Qt::SkipEmptyParts)
                                << QString(arguments).split(' ') << QString(reason);
        };
        row("missing port", "", "compare tag site.fxd --port PORT", "zepro: no such serial device");
        row("unsendable serial", "--state state", "program receiver bad.fxd --port PORT",
            "Slot 2: the serial number holds characters that cannot be sent to the programmer");
        row("read error", "--read-error-at 5", "read tag site.fxd --port PORT",
            "Communications error with reciever, please try again");
        row("bad size", "", "find --sizes 100", "--sizes wants 340 or 85");
        row("bad count", "", "enrol site.fxd --count 0", "--count wants a whole number of 1");
        row("no free slot", "--capture-lines fob.txt --capture-every 0.1",
            "enrol full.fxd --sizes 85 --port PORT", "1A2B3C4D: No free slot in slots 1 to 85");
        row("programmer gone during enrol", "--hang-up-after 1", "enrol site.fxd --port PORT",
            "Communications Error: the programmer went away (0 fobs enrolled, saved in site.fxd)");
        row("log in a missing folder", "--state state", "find --port PORT --log no/such.log",
            "no/such.log");
        row("import over a file", "", "import bad.csv site.fxd",
            "Cannot save \"site.fxd\": It exists: give --force to replace it.");
        row("import of a bad file", "", "import bad.csv new.fxd",
            "Cannot import \"bad.csv\": It has 2 problems:; Row 2, Serial Number: \"X\" is not");
        row("export to another format", "", "export site.fxd users.ods",
            "Its name ends in neither .csv nor .xlsx.");
        row("force on export", "", "export --force site.fxd a.csv",
            "--force goes with import only");
    }
    void failures() {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()) && writeDatabase("site.fxd", {"0000ABCD"}));
        QVERIFY(writeDatabase("bad.fxd", {"0000ABCD", "1234\t678"}));
        QStringList full;
        for (int slot = 1; slot <= 85; ++slot)
            full << QString::number(slot).rightJustified(8, '0');
        QVERIFY(writeDatabase("full.fxd", full) && writeFile("fob.txt", "RX 1A2B3C4D\n"));
        QVERIFY(writeFile("bad.csv", "Serial Number\r\nX\r\nY\r\n"));
        const QByteArray before = readFile("site.fxd");
        std::optional<sim::SimulatorProcess> sim;
        if (!simulator.isEmpty())
            sim.emplace(QStringList{"--no-pacing", "--link", dir.filePath("zepro")} + simulator);
        arguments.replaceInStrings("PORT", dir.filePath("zepro"));

        const Run run = remletctl(arguments);

        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("remletctl: ") && run.err.count('\n') == 1, run.err);
        QVERIFY2(run.err.contains(reason.toUtf8()), run.err);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(readFile("site.fxd"), before);
        // Nor a state file: the simulator saves its memories on every change, sizes included.
        QVERIFY(!QFile::exists("state") && !QFile::exists("new.fxd") && !QFile::exists("a.csv"));
    }
};

QTEST_GUILESS_MAIN(TestCliPty)
#include "test_cli_pty.moc"
