// Runs the zepro-sim executable and talks to its pseudo-terminal as a serial program would,
// with plain POSIX calls.

#include "sim/simulatorprocess.h"

#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int ReplyTimeoutMs = 3000;

// The PC end of the port, opened raw.
struct Port {
    explicit Port(const QString &path) {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
        termios settings{};
        if (fd >= 0 && tcgetattr(fd, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(fd, TCSANOW, &settings);
        }
    }
    ~Port() { ::close(fd); }
    // Sends the command and CR, then reads until the reply ends with `end`.
    QByteArray exchange(const QByteArray &command, const QByteArray &end = "\r") {
        const QByteArray text = command + '\r';
        if (::write(fd, text.constData(), text.size()) != text.size())
            return "write failed";
        return readUntil(end);
    }
    QByteArray readUntil(const QByteArray &end) {
        QByteArray reply;
        char buffer[4096];
        pollfd pfd{fd, POLLIN, 0};
        for (ssize_t n = 0; !reply.endsWith(end) && ::poll(&pfd, 1, ReplyTimeoutMs) > 0;
             reply.append(buffer, n))
            if ((n = ::read(fd, buffer, sizeof buffer)) <= 0)
                break;
        return reply;
    }
    int fd = -1;
};

} // namespace

class TestSimPty : public QObject {
    Q_OBJECT
private slots:
    // Paced replies, a line typed at the simulator, and the port closed and opened again; the
    // memories and sizes persist in the state file, the link goes at exit, and a hang-up reaches
    // the PC as one.
    void sessionStateAndHangUp() {
        QTemporaryDir dir;
        const QString state = dir.filePath("memories.txt"), link = dir.filePath("ttyZEPRO");
        {
            sim::SimulatorProcess sim({"--version-text", "9.9", "--state", state, "--link", link});
            QCOMPARE(QFileInfo(link).symLinkTarget(), sim.path);
            QCOMPARE(Port(link).exchange("P\rF", "OK\r"), QByteArray("ZEPRO V9.9\rOK\r"));
            Port port(sim.path);
            QCOMPARE(port.exchange("W=085,12345678,0000"), QByteArray("OK\r"));
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(port.exchange("H"), QByteArray("OK\r"));
            QCOMPARE(port.exchange("C", "OK\r").size(), 85 * 18 + 3); // 1533 characters: 1.6 s
            QVERIFY(timer.elapsed() >= 1500);
            QCOMPARE(port.exchange("R\rP"), QByteArray("ZEPRO V9.9\r")); // R has been taken
            sim.process.write("RX 0000BEEF\n"); // a line typed at the simulator
            QVERIFY(sim.process.waitForBytesWritten(ReplyTimeoutMs));
            QCOMPARE(port.readUntil("\r"), QByteArray("RX 0000BEEF\r"));
            QCOMPARE(port.exchange("Q"), QByteArray("OK\r"));
        }
        QVERIFY(!QFileInfo(link).isSymLink());
        sim::SimulatorProcess sim({"--no-pacing", "--state", state, "--hang-up-after", "1"});
        Port port(sim.path);
        const QByteArray read = port.exchange("D", "OK\r");
        QCOMPARE(read.count('\r'), 86);
        QVERIFY(read.contains("\r085 12345678 0000\r"));
        pollfd pfd{port.fd, POLLIN, 0}; // after the first command the programmer hangs up
        QCOMPARE(::poll(&pfd, 1, ReplyTimeoutMs), 1);
        QVERIFY(pfd.revents & POLLHUP);
        QCOMPARE(::write(port.fd, "P\r", 2), -1);
        QCOMPARE(errno, EIO);
        QVERIFY(sim.process.waitForFinished(ReplyTimeoutMs));
        QCOMPARE(sim.process.exitCode(), 0);
    }

    void badCommandLineIsRefused() {
        QProcess process;
        const auto run = [&](const QStringList &arguments) { // the exit code; -1: still running
            process.start(qEnvironmentVariable("ZEPRO_SIM"), arguments);
            return process.waitForFinished(ReplyTimeoutMs) ? process.exitCode() : -1;
        };
        QCOMPARE(run({"--hang-up-after", "x"}), 2);
        QVERIFY(process.readAllStandardError().contains("--hang-up-after"));
        QCOMPARE(run({"--capture-lines", "/nonexistent"}), 2);
        QVERIFY(process.readAllStandardError().contains("cannot read /nonexistent"));
        QCOMPARE(run({"--version"}), 0);
        QCOMPARE(process.readAllStandardOutput(), "zepro-sim " PROJECT_VERSION_TEXT "\n");
    }
};

QTEST_GUILESS_MAIN(TestSimPty)
#include "test_sim_pty.moc"
