// The window on the real Qt serial port and event loop, against the zepro-sim process on a
// pseudo-terminal: exactly as with hardware.
#include "app/mainwindow.h"
#include "appharness.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// One zepro-sim process, linked into a temporary folder, stopped when it goes out of scope.
class SimulatorProcess {
public:
    explicit SimulatorProcess(const QStringList &options) {
        m_link = m_dir.filePath(QStringLiteral("zepro"));
        m_process.start(qEnvironmentVariable("ZEPRO_SIM"),
                        QStringList{QStringLiteral("--link"), m_link} + options);
        m_started = m_process.waitForStarted() && m_process.waitForReadyRead(5000);
    }
    ~SimulatorProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    bool started() const { return m_started && QFile::exists(m_link); }
    QString link() const { return m_link; }

private:
    QTemporaryDir m_dir;
    QString m_link;
    QProcess m_process;
    bool m_started = false;
};

struct RealPortHarness {
    platform::QtSerialPort port;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    FakeSystemInfo systemInfo;
    platform::FakeDocumentDialogs documents;
    app::MainWindow window{app::Services{port, clock, loop, dialogs, files, systemInfo, documents}};
};

} // namespace

class PtyTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_workDir;

private slots:
    void initTestCase() {
        QVERIFY(!qEnvironmentVariable("ZEPRO_SIM").isEmpty());
        QVERIFY(QDir::setCurrent(m_workDir.path()));
    }

    void startUpFindsTheSimulatorAndSendsBothSizes() {
        SimulatorProcess sim({QStringLiteral("--no-pacing")});
        QVERIFY(sim.started());
        qputenv("REMLET_PORTS", sim.link().toLocal8Bit());
        RealPortHarness h;
        h.window.startUp();
        QCOMPARE(h.dialogs.texts(), (QStringList{QStringLiteral("Receiver memory size set"),
                                                 QStringLiteral("Backup tag size set")}));
        QCOMPARE(h.window.statusText(), QStringLiteral("Found Remlet Manager on Port 1"));
        QVERIFY(!h.port.isOpen());
    }

    void programCopyClearCopyBackAndReadOverTheLine() {
        SimulatorProcess sim({QStringLiteral("--no-pacing")});
        QVERIFY(sim.started());
        qputenv("REMLET_PORTS", sim.link().toLocal8Bit());
        RealPortHarness h;
        h.window.startUp();
        h.window.runCommand(app::Command::NewDatabase);
        for (int slot = 1; slot <= 4; ++slot) {
            h.window.database().setCell(slot, userdb::SerialNumber,
                                        QStringLiteral("00C0FFE%1").arg(slot));
            h.window.database().setCell(slot, userdb::AuxiliaryWord,
                                        QStringLiteral("A%1B%1").arg(slot));
        }
        h.window.runCommand(app::Command::ProgramReceiver);
        h.window.runCommand(app::Command::CopyReceiverToTag);
        h.window.runCommand(app::Command::ClearReceiver);
        h.window.runCommand(app::Command::CopyTagToReceiver);
        h.window.runCommand(app::Command::ReadReceiver);
        QCOMPARE(h.dialogs.texts().mid(2),
                 (QStringList{"Data downloaded OK", "Copied from Receiver to Tag",
                              "Receiver Cleared", "Copied from Tag to Receiver"}));
        for (int slot = 1; slot <= 4; ++slot) {
            QCOMPARE(h.window.records().cell(slot, userdb::SerialNumber),
                     QStringLiteral("00C0FFE%1").arg(slot));
            QCOMPARE(h.window.records().cell(slot, userdb::AuxiliaryWord),
                     QStringLiteral("A%1B%1").arg(slot));
        }
        QCOMPARE(h.window.Remlet_Count(), 4);
    }

    void programmerHangingUpDuringARead() {
        SimulatorProcess sim(
            {QStringLiteral("--no-pacing"), QStringLiteral("--hang-up-on"), QStringLiteral("D")});
        QVERIFY(sim.started());
        qputenv("REMLET_PORTS", sim.link().toLocal8Bit());
        RealPortHarness h;
        h.window.startUp();
        h.window.runCommand(app::Command::ReadReceiver);
        QCOMPARE(h.dialogs.messages().size(), 3);
        QCOMPARE(h.dialogs.messages().last().icon, platform::MessageIcon::Critical);
        QVERIFY(!h.port.isOpen());
        h.window.runCommand(app::Command::NewDatabase);
        QVERIFY(h.window.isDatabaseOpen());
    }
};

QTEST_MAIN(PtyTest)
#include "test_pty.moc"
