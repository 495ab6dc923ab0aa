#include "platform/qt/portnames.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtportcatalog.h"
#include "platform/qt/qtserialport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>
#include <QtTest>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace platform;

namespace {

// A pseudo-terminal pair: the port opens the device path, the test plays the device on the
// master side. The slave stays open so the path lives as long as the test wants it.
struct Pty {
    Pty() {
        char name[256] = {};
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&master, &slave, name, &raw, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~Pty() {
        hangUp();
        ::close(slave);
    }
    void send(const QByteArray &bytes) {
        if (::write(master, bytes.constData(), size_t(bytes.size())) != bytes.size())
            qWarning("short write to the pseudo-terminal");
    }
    // What the port has written, waiting up to two seconds for `expected` characters.
    QByteArray receive(int expected) {
        QByteArray got;
        char buffer[256];
        pollfd fd{master, POLLIN, 0};
        for (ssize_t n = 0; got.size() < expected && poll(&fd, 1, 2000) > 0; got.append(buffer, n))
            if ((n = ::read(master, buffer, sizeof buffer)) <= 0)
                break;
        return got;
    }
    void hangUp() { ::close(std::exchange(master, -1)); } // the device vanishes
    int master = -1, slave = -1;
    QString path;
};

void usePorts(const QStringList &paths) {
    qputenv("REMLET_PORTS", paths.join(QLatin1Char(':')).toLocal8Bit());
}

// Reads until `count` characters came or two seconds passed, running the event loop between
// reads as the programmer commands do.
QByteArray collect(QtSerialPort &port, int count) {
    QByteArray got;
    for (QDeadlineTimer deadline(2000); got.size() < count && !deadline.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        got += port.read();
    }
    return got;
}

// Runs `act` on the modal dialog of type T that the caller opens next.
template <typename T> void whenShown(const std::function<void(T *)> &act) {
    QTimer::singleShot(0, [act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget()))
            act(dialog);
    });
}

QString errorOf(const std::function<void()> &operation) {
    try {
        operation();
    } catch (const PortError &e) {
        return QString::fromStdString(e.what());
    }
    return QStringLiteral("no error");
}

} // namespace

class PlatformQtTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { qunsetenv("REMLET_PORTS"); }

    // Ports by number, as REMLET_PORTS lists them; a port misused or failing names itself.
    void portTableMisuseAndFailures() {
        QTemporaryDir dir;
        const QString plainFile = dir.filePath(QStringLiteral("plain-file"));
        QVERIFY(QFile(plainFile).open(QIODevice::WriteOnly));
        Pty a, b;
        QVERIFY(!a.path.isEmpty() && !b.path.isEmpty());
        usePorts({a.path, QStringLiteral("/dev/no-such-tty"), b.path, plainFile});
        PortTable table;
        QCOMPARE(table.devicePath(1), a.path);
        QVERIFY(table.devicePath(2).isEmpty()); // a listed path that does not exist
        QCOMPARE(table.devicePath(3), b.path);  // the n-th path, absent ones counted
        QVERIFY(table.devicePath(5).isEmpty()); // beyond the list
        QtSerialPort port;
        QVERIFY_THROWS_EXCEPTION(PortError, port.open());        // nothing selected yet
        QVERIFY_THROWS_EXCEPTION(PortError, port.selectPort(0)); // selecting fails at once
        // A listed path is named, present or not, in panel texts and in failures.
        QCOMPARE(port.portName(2), QStringLiteral("/dev/no-such-tty"));
        QCOMPARE(errorOf([&] { port.selectPort(2); }),
                 QStringLiteral("Port 2 (/dev/no-such-tty) does not exist"));
        port.selectPort(1);
        QVERIFY_THROWS_EXCEPTION(PortError, port.read()); // not open yet
        port.open();
        QVERIFY_THROWS_EXCEPTION(PortError, port.open());
        QVERIFY_THROWS_EXCEPTION(PortError, port.selectPort(4)); // not while port 1 is open
        port.close();
        port.selectPort(4);
        const QString error = errorOf([&] { port.open(); }); // a plain file is no serial port
        QVERIFY2(error.contains("port 4") && error.contains(plainFile), qPrintable(error));
        QVERIFY(!port.isOpen());
        usePorts({QString(), a.path}); // an empty item is an absent port that keeps its number
        QVERIFY(table.devicePath(1).isEmpty());
        QCOMPARE(table.devicePath(2), a.path);
        // Without REMLET_PORTS: USB and ACM adapters first, each group in path order.
        QCOMPARE(orderSerialPorts({"/dev/ttyS1", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM0",
                                   "/dev/ttyUSB0", "/dev/rfcomm0"}),
                 (QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/rfcomm0",
                              "/dev/ttyS0", "/dev/ttyS1"}));
    }

    // A pinned path is port 1 and the only port, unless REMLET_PORTS is set; the port list
    // numbers the ports as the port table does.
    void pinnedPathAndPortList() {
        Pty pty;
        QtSerialPort port;
        QtPortCatalog catalog(port);
        PortTable table;
        const QList<PortDescription> system = catalog.ports();
        for (const PortDescription &listed : system)
            QCOMPARE(table.devicePath(listed.number), listed.path);
        QCOMPARE(table.devicePath(int(system.size()) + 1), QString());

        catalog.pinPath(pty.path);
        QCOMPARE(catalog.pinnedPath(), pty.path);
        QCOMPARE(port.portName(1), pty.path);
        QCOMPARE(port.portName(2), QString());
        port.selectPort(1);
        port.open(); // the pinned device, whatever the system lists
        port.close();

        usePorts({QString(), "/dev/no-such-tty", pty.path}); // REMLET_PORTS wins
        QCOMPARE(catalog.environmentPorts(), ":/dev/no-such-tty:" + pty.path);
        QCOMPARE(port.portName(1), QString());
        QCOMPARE(port.portName(3), pty.path);
        const QList<PortDescription> listed = catalog.ports();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(std::tuple(listed[0].number, listed[0].path, listed[0].present),
                 std::tuple(2, QString("/dev/no-such-tty"), false));
        QCOMPARE(std::tuple(listed[1].number, listed[1].path, listed[1].present),
                 std::tuple(3, pty.path, true));
    }

    // The line settings, an exchange, a flush and a reopen; then the wait lasts its maximum or
    // ends at a character; a hang-up closes the port, and then nothing keeps waking the loop.
    void aPortsLifeOverPty() {
        Pty pty;
        termios before{};
        QCOMPARE(tcgetattr(pty.master, &before), 0);
        cfsetspeed(&before, B1200);
        before.c_cflag |= PARENB | CSTOPB | CRTSCTS;
        before.c_iflag |= IXON | IXOFF;
        QCOMPARE(tcsetattr(pty.master, TCSANOW, &before), 0);

        // Port 1 opened with the settings the programmer commands use.
        usePorts({pty.path});
        QtSerialPort port;
        port.selectPort(1);
        port.applySettings(QStringLiteral("9600"));
        port.setReadLength(1);
        port.open();
        termios now{};
        QCOMPARE(tcgetattr(pty.master, &now), 0);
        QCOMPARE(cfgetospeed(&now), speed_t(B9600));
        QCOMPARE(now.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(now.c_iflag & (IXON | IXOFF), tcflag_t(0));
        port.applySettings(QStringLiteral("4800")); // applies at once to an open port
        QCOMPARE(tcgetattr(pty.master, &now), 0);
        QCOMPARE(cfgetospeed(&now), speed_t(B4800));
        QVERIFY_THROWS_EXCEPTION(PortError, port.applySettings("9600x")); // a baud rate only

        port.write("P");
        port.write("\r");
        QCOMPARE(pty.receive(2), QByteArray("P\r"));
        pty.send("ZEPRO V1\r");
        QCOMPARE(collect(port, 9), QByteArray("ZEPRO V1\r"));

        pty.send("stale");
        QTest::qWait(100); // some reach the port's buffer, some may still wait in the terminal
        port.flushInput();
        QCOMPARE(collect(port, 1), QByteArray());
        port.setReadLength(0); // everything that waits
        pty.send("OK\r");
        QCOMPARE(collect(port, 3), QByteArray("OK\r"));

        port.close();
        port.open();       // the port opens again for the next command
        port.write("P\r"); // a write must not leave anything that keeps waking the loop
        QtEventLoop loop;
        loop.yield();
        QElapsedTimer timer;
        timer.start();
        loop.waitForEvents(0.3);
        QVERIFY2(timer.elapsed() >= 290, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(port.read().isEmpty());

        std::thread device([&pty] {
            QThread::msleep(100);
            pty.send("O");
        });
        timer.restart();
        QByteArray got;
        for (; got.isEmpty() && timer.elapsed() < 5000; got = port.read())
            loop.waitForEvents(5.0);
        device.join(); // the device thread ends right after its character
        QCOMPARE(got, QByteArray("O"));
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));

        pty.hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(!port.isOpen(), 2000);
        const QString error = errorOf([&] { port.read(); });
        QVERIFY2(error.contains(QStringLiteral("gone away")), qPrintable(error));
        QVERIFY_THROWS_EXCEPTION(PortError, port.write("P"));
        loop.yield();
        timer.restart();
        loop.waitForEvents(0.2);
        QVERIFY(timer.elapsed() >= 150);
        port.close();
        QVERIFY_THROWS_EXCEPTION(PortError, port.open()); // the device is still gone
    }

    // An untitled box carries the program's name; a failure shows the critical icon. The file
    // dialog starts in app.path; the name chosen is offered next time; a cancel leaves it.
    void dialogsAsShown() {
        QWidget window;
        QStringList shown;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            shown << box->windowTitle() << box->text() << QString::number(box->icon());
            QCOMPARE(box->parentWidget(), &window);
            box->button(QMessageBox::Ok)->click();
        });
        QtDialogs(&window).message("Failed to clear Tag", QString(), MessageIcon::Critical);
        QCOMPARE(shown, (QStringList{"RemletManager", "Failed to clear Tag",
                                     QString::number(QMessageBox::Critical)}));

        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()) && QDir(dir.path()).mkdir(QStringLiteral("app.path")));
        QtFileDialog files;
        QFileDialog open;
        files.configure(open, QtFileDialog::Mode::Open);
        QDir::setCurrent(previous);
        const auto canonical = [](const QString &p) { return QFileInfo(p).canonicalFilePath(); };
        QCOMPARE(canonical(open.directory().absolutePath()), canonical(dir.filePath("app.path")));

        const QString existing = dir.filePath(QStringLiteral("site.fxd"));
        QVERIFY(QFile(existing).open(QIODevice::WriteOnly));
        files.setFileName(existing);
        QString offered;
        const auto answer = [&](bool accept) {
            whenShown<QFileDialog>([&offered, accept](QFileDialog *dialog) {
                offered = dialog->selectedFiles().value(0);
                // QFileDialog::accept() checks the choice as a click on Open would.
                accept ? static_cast<QDialog *>(dialog)->accept() : dialog->reject();
            });
        };
        answer(true);
        QVERIFY(files.showOpen());
        QCOMPARE(canonical(offered), canonical(existing));
        QCOMPARE(canonical(files.fileName()), canonical(existing));
        answer(false);
        QVERIFY(!files.showSave());
        QCOMPARE(canonical(files.fileName()), canonical(existing));
    }

    // Every image draws, with transparency, and afresh for a screen scaled by 2 rather than
    // blown up from a smaller picture.
    void imagesAreBundled() {
        const QStringList names = QDir(QStringLiteral(":/icons")).entryList();
        QVERIFY(names.contains(QStringLiteral("product.svg")));
        for (const QString &name : names) {
            const QString path = QStringLiteral(":/icons/") + name;
            const QImage image(path);
            QVERIFY2(!image.isNull() && image.hasAlphaChannel(), qPrintable(name));
            QCOMPARE(QIcon(path).pixmap(image.size(), 2.0).size(), 2 * image.size());
        }
    }
};

QTEST_MAIN(PlatformQtTest)
#include "test_platform_qt.moc"
