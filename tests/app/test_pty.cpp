// The window on the real Qt serial port and event loop, against the zepro-sim process on a
// pseudo-terminal: exactly as with hardware.
#include "appharness.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"
#include "tests/common/simprocess.h"

#include <QTemporaryDir>

class PtyTest : public QObject {
    Q_OBJECT

private slots:
    void startProgramCopyClearCopyBackAndRead() {
        QTemporaryDir workDir;
        QVERIFY(QDir::setCurrent(workDir.path()));
        SimulatorProcess sim({"--no-pacing"});
        QVERIFY(!sim.path.isEmpty());
        qputenv("REMLET_PORTS", sim.path.toLocal8Bit());
        platform::QtSerialPort port;
        platform::SteadyClock clock;
        platform::QtEventLoop loop;
        platform::FakeDialogs dialogs;
        platform::FakeFileDialog files;
        platform::FakeSystemInfo systemInfo;
        platform::FakeDocumentDialogs documents;
        app::MainWindow window(
            app::Services{port, clock, loop, dialogs, files, systemInfo, documents});

        window.startUp();
        QCOMPARE(window.statusText(), "Found Remlet Manager on Port 1");
        window.runCommand(app::Command::NewDatabase);
        for (int slot = 1; slot <= 4; ++slot) {
            window.database().setCell(slot, userdb::SerialNumber, QString("00C0FFE%1").arg(slot));
            window.database().setCell(slot, userdb::AuxiliaryWord, QString("A%1B%1").arg(slot));
        }
        const userdb::RecordStore programmed = window.records();
        window.runCommand(app::Command::ProgramReceiver);
        window.runCommand(app::Command::CopyReceiverToTag);
        window.runCommand(app::Command::ClearReceiver);
        window.runCommand(app::Command::CopyTagToReceiver);
        window.runCommand(app::Command::ReadReceiver);
        QCOMPARE(dialogs.texts(), (QStringList{"Receiver memory size set", "Backup tag size set",
                                               "Data downloaded OK", "Copied from Receiver to Tag",
                                               "Receiver Cleared", "Copied from Tag to Receiver"}));
        for (int slot = 1; slot <= 4; ++slot)
            QCOMPARE(window.records().record(slot), programmed.record(slot));
        QCOMPARE(window.Remlet_Count(), 4);
        QVERIFY(!port.isOpen());
    }
};

QTEST_MAIN(PtyTest)
#include "test_pty.moc"
