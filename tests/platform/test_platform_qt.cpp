#include "pseudoterminal.h"

#include "platform/qt/hostsysteminfo.h"
#include "platform/qt/portnames.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <termios.h>
#include <thread>

using namespace platform;

namespace {

// Reads until `count` characters came or two seconds passed, running the event loop between
// reads as the programmer commands do; the largest single read goes to `largestRead`.
QByteArray collect(QtSerialPort &port, int count, int *largestRead = nullptr) {
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < count && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QByteArray chunk = port.read();
        if (largestRead)
            *largestRead = std::max(*largestRead, int(chunk.size()));
        got += chunk;
    }
    return got;
}

void usePorts(const QStringList &paths) {
    qputenv("REMLET_PORTS", paths.join(QLatin1Char(':')).toLocal8Bit());
}

// Opens `port` as port 1 on `pty` with the settings the programmer commands use.
void openOn(QtSerialPort &port, const PseudoTerminal &pty) {
    usePorts({pty.devicePath()});
    port.selectPort(1);
    port.applySettings(QStringLiteral("9600"));
    port.setReadLength(1);
    port.open();
}

} // namespace

class PlatformQtTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("REMLET_PORTS"); }

    void portTableFollowsConfiguredPaths();
    void absentPortsFailAtSelection_data();
    void absentPortsFailAtSelection();
    void exchangesCharactersOneAtATime();
    void flushInputDropsWaitingCharacters();
    void openSetsLineParametersWithoutHandshake();
    void settingsOtherThanBaudRateAreRefused_data();
    void settingsOtherThanBaudRateAreRefused();
    void operationsOnClosedPortFail();
    void vanishedDeviceClosesPort();
    void waitForEventsWakesOnCharacter();
    void silentWaitLastsItsMaximum();

    void messageBoxShowsTextCaptionAndIcon_data();
    void messageBoxShowsTextCaptionAndIcon();
    void fileDialogSettings();
    void fileDialogKeepsNameAndReportsCancel();
    void hostSystemInfo();
    void imagesAreBundled_data();
    void imagesAreBundled();
};

void PlatformQtTest::portTableFollowsConfiguredPaths() {
    PseudoTerminal a, b;
    QVERIFY(a.isValid() && b.isValid());
    usePorts({a.devicePath(), b.devicePath()});
    PortTable table;
    QCOMPARE(table.devicePath(1), a.devicePath());
    QCOMPARE(table.devicePath(2), b.devicePath());
    QVERIFY(table.devicePath(3).isEmpty());
    QVERIFY(table.devicePath(0).isEmpty());

    usePorts({QStringLiteral("/dev/no-such-device"), a.devicePath()});
    QVERIFY(table.devicePath(1).isEmpty());
    QCOMPARE(table.devicePath(2), a.devicePath());
}

void PlatformQtTest::absentPortsFailAtSelection_data() {
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("number");
    QTest::newRow("number beyond the list") << QStringList{QStringLiteral("/dev/null")} << 2;
    QTest::newRow("path that does not exist")
        << QStringList{QStringLiteral("/dev/no-such-tty")} << 1;
    QTest::newRow("number zero") << QStringList{QStringLiteral("/dev/null")} << 0;
}

void PlatformQtTest::absentPortsFailAtSelection() {
    QFETCH(QStringList, paths);
    QFETCH(int, number);
    usePorts(paths);
    QtSerialPort port;
    try {
        port.selectPort(number);
        QFAIL("selecting an absent port must fail");
    } catch (const PortError &e) {
        QVERIFY2(QString::fromStdString(e.what()).contains(QString::number(number)), e.what());
    }
    QVERIFY(!port.isOpen());
    QVERIFY_THROWS_EXCEPTION(PortError, port.open());
}

void PlatformQtTest::exchangesCharactersOneAtATime() {
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    QtSerialPort port;
    openOn(port, pty);
    QVERIFY(port.isOpen());
    QCOMPARE(port.devicePath(), pty.devicePath());

    port.write("P");
    port.write("\r");
    QCOMPARE(pty.receive(2), QByteArray("P\r"));

    pty.send("ZEPRO V1\r");
    int largest = 0;
    QCOMPARE(collect(port, 9, &largest), QByteArray("ZEPRO V1\r"));
    QCOMPARE(largest, 1);
    QVERIFY(port.read().isEmpty());

    port.setReadLength(0); // everything that waits
    pty.send("OK\r");
    QCOMPARE(collect(port, 3), QByteArray("OK\r"));

    port.close();
    QVERIFY(!port.isOpen());
    port.open(); // the port opens again for the next command
    QVERIFY(port.isOpen());
}

void PlatformQtTest::flushInputDropsWaitingCharacters() {
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    QtSerialPort port;
    openOn(port, pty);
    pty.send("stale");
    QTest::qWait(100); // some reach the port's buffer, some may still wait in the terminal
    port.flushInput();
    QCOMPARE(collect(port, 1), QByteArray());
    pty.send("K");
    QCOMPARE(collect(port, 1), QByteArray("K"));
}

void PlatformQtTest::openSetsLineParametersWithoutHandshake() {
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    termios before{};
    QCOMPARE(tcgetattr(pty.masterFd(), &before), 0);
    cfsetspeed(&before, B1200);
    before.c_cflag |= PARENB | CSTOPB | CRTSCTS;
    before.c_iflag |= IXON | IXOFF;
    QCOMPARE(tcsetattr(pty.masterFd(), TCSANOW, &before), 0);

    QtSerialPort port;
    openOn(port, pty);
    termios now{};
    QCOMPARE(tcgetattr(pty.masterFd(), &now), 0);
    QCOMPARE(cfgetospeed(&now), speed_t(B9600));
    QCOMPARE(now.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(now.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(now.c_iflag & (IXON | IXOFF), tcflag_t(0));

    port.applySettings(QStringLiteral("4800")); // applies at once to an open port
    QCOMPARE(tcgetattr(pty.masterFd(), &now), 0);
    QCOMPARE(cfgetospeed(&now), speed_t(B4800));
}

void PlatformQtTest::settingsOtherThanBaudRateAreRefused_data() {
    QTest::addColumn<QString>("settings");
    QTest::newRow("empty") << QString();
    QTest::newRow("trailing text") << QStringLiteral("9600x");
    QTest::newRow("negative") << QStringLiteral("-9600");
}

void PlatformQtTest::settingsOtherThanBaudRateAreRefused() {
    QFETCH(QString, settings);
    QtSerialPort port;
    QVERIFY_THROWS_EXCEPTION(PortError, port.applySettings(settings));
}

void PlatformQtTest::operationsOnClosedPortFail() {
    QTemporaryDir dir;
    const QString notATerminal = dir.filePath(QStringLiteral("plain-file"));
    QVERIFY(QFile(notATerminal).open(QIODevice::WriteOnly));
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    usePorts({pty.devicePath(), notATerminal});
    QtSerialPort port;
    QVERIFY_THROWS_EXCEPTION(PortError, port.open()); // nothing selected yet
    port.selectPort(1);
    QVERIFY_THROWS_EXCEPTION(PortError, port.read());
    QVERIFY_THROWS_EXCEPTION(PortError, port.write("P"));
    QVERIFY_THROWS_EXCEPTION(PortError, port.flushInput());
    port.open();
    QVERIFY_THROWS_EXCEPTION(PortError, port.open());
    QVERIFY_THROWS_EXCEPTION(PortError, port.selectPort(2)); // not while port 1 is open
    port.close();

    port.selectPort(2);
    try {
        port.open();
        QFAIL("a plain file is no serial port");
    } catch (const PortError &e) {
        const QString message = QString::fromStdString(e.what());
        QVERIFY2(message.contains(QStringLiteral("port 2")) && message.contains(notATerminal),
                 e.what());
    }
    QVERIFY(!port.isOpen());
}

void PlatformQtTest::vanishedDeviceClosesPort() {
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    QtSerialPort port;
    openOn(port, pty);
    pty.hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(!port.isOpen(), 2000);
    try {
        port.read();
        QFAIL("reading from a vanished device must fail");
    } catch (const PortError &e) {
        QVERIFY2(QString::fromStdString(e.what()).contains(QStringLiteral("gone away")), e.what());
    }
    // With the port closed nothing keeps waking the event loop.
    QtEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    loop.waitForEvents(0.2);
    QVERIFY(timer.elapsed() >= 150);
    port.close();
    QVERIFY_THROWS_EXCEPTION(PortError, port.open()); // the device is still gone
}

void PlatformQtTest::waitForEventsWakesOnCharacter() {
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    QtSerialPort port;
    openOn(port, pty);
    QtEventLoop loop;
    std::thread device([&pty] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pty.send("O");
    });
    QElapsedTimer timer;
    timer.start();
    QByteArray got;
    while (got.isEmpty() && timer.elapsed() < 5000) {
        got = port.read();
        if (got.isEmpty())
            loop.waitForEvents(5.0);
    }
    const qint64 elapsed = timer.elapsed();
    device.join();
    QCOMPARE(got, QByteArray("O"));
    QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
}

void PlatformQtTest::silentWaitLastsItsMaximum() {
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    QtSerialPort port;
    openOn(port, pty);
    port.write("P\r"); // a write must not leave anything that keeps waking the loop
    QtEventLoop loop;
    loop.yield();
    QElapsedTimer timer;
    timer.start();
    loop.waitForEvents(0.3);
    QVERIFY2(timer.elapsed() >= 290, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(port.read().isEmpty());
}

void PlatformQtTest::messageBoxShowsTextCaptionAndIcon_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("critical");
    QTest::addColumn<QString>("shownCaption");
    QTest::newRow("failure") << QStringLiteral("Clear") << true << QStringLiteral("Clear");
    QTest::newRow("untitled success") << QString() << false << QStringLiteral("RemletManager");
}

void PlatformQtTest::messageBoxShowsTextCaptionAndIcon() {
    QFETCH(QString, caption);
    QFETCH(bool, critical);
    QFETCH(QString, shownCaption);
    QWidget window;
    QtDialogs dialogs(&window);
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Question;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        parent = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    dialogs.message(QStringLiteral("Receiver Memory Cleared"), caption,
                    critical ? MessageIcon::Critical : MessageIcon::None);
    QCOMPARE(title, shownCaption);
    QCOMPARE(text, QStringLiteral("Receiver Memory Cleared"));
    QCOMPARE(icon, critical ? QMessageBox::Critical : QMessageBox::NoIcon);
    QCOMPARE(parent, &window);
}

void PlatformQtTest::fileDialogSettings() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("app.path")));

    QtFileDialog files;
    QFileDialog open, save;
    files.configure(open, QtFileDialog::Mode::Open);
    files.configure(save, QtFileDialog::Mode::Save);
    QDir::setCurrent(previous);

    for (QFileDialog *dialog : {&open, &save}) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("File Open"));
        QCOMPARE(dialog->nameFilters(),
                 QStringList{QStringLiteral("Remlet Manager Files (*.fxd)")});
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("fxd"));
        QCOMPARE(QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(),
                 QFileInfo(dir.filePath(QStringLiteral("app.path"))).canonicalFilePath());
    }
    QCOMPARE(open.fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(open.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));
}

void PlatformQtTest::fileDialogKeepsNameAndReportsCancel() {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("site.fxd"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QtFileDialog files;
    files.setFileName(existing);
    QString offered;
    auto answer = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            offered = dialog->selectedFiles().value(0);
            // QFileDialog::accept() checks the choice as a click on Open would.
            QDialog *asDialog = dialog;
            accept ? asDialog->accept() : asDialog->reject();
        });
    };
    answer(true);
    QVERIFY(files.showOpen());
    QCOMPARE(QFileInfo(offered).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    QCOMPARE(QFileInfo(files.fileName()).canonicalFilePath(),
             QFileInfo(existing).canonicalFilePath());

    const QString kept = files.fileName();
    answer(false);
    QVERIFY(!files.showSave());
    QCOMPARE(files.fileName(), kept);
}

void PlatformQtTest::hostSystemInfo() {
    HostSystemInfo host;
    QString value = QStringLiteral("left over");
    QVERIFY(!host.getKeyValue(SystemInfoHost::HKEY_LOCAL_MACHINE_ROOT,
                              QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                              QStringLiteral("PATH"), value));
    QVERIFY(value.isEmpty());

    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("tool.sh"));
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\ntouch \"$0.ran\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);

    QVERIFY(host.fileExists(program));
    QVERIFY(!host.fileExists(dir.path()));
    QVERIFY(!host.fileExists(dir.filePath(QStringLiteral("MSINFO32.EXE"))));
    QVERIFY(!host.startProgram(dir.filePath(QStringLiteral("missing"))));
    QVERIFY(host.startProgram(program));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(program + QStringLiteral(".ran")), 5000);
}

void PlatformQtTest::imagesAreBundled_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    for (const char *key :
         {"New", "Open", "Save", "Saveas", "close1", "sort", "Merge3", "LoadfromRX", "LoadfromTag",
          "SavetoRX", "SavetoTag", "TagtoRX", "RXtoTag", "ClearRX1", "ClearTag2", "EnableRX41",
          "DisableRX3", "FindZEPRO1", "exit"})
        QTest::newRow(key) << QString::fromLatin1(key) << 24;
    QTest::newRow("application icon") << QStringLiteral("remletmanager") << 64;
    QTest::newRow("product picture") << QStringLiteral("product") << 64;
}

void PlatformQtTest::imagesAreBundled() {
    QFETCH(QString, name);
    QFETCH(int, size);
    const QImage image(QStringLiteral(":/icons/%1.png").arg(name));
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
}

QTEST_MAIN(PlatformQtTest)
#include "test_platform_qt.moc"
