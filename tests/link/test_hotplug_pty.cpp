// The hot-plug rules on the real device watcher, timers, serial port and event loop, against a
// zepro-sim that is started late and stopped: the programmer found without a click, its going
// noticed. (What the window's session does once it is found is tested with the window.)
#include "link/discovery.h"
#include "link/hotplug.h"
#include "link/silentview.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/qt/qtdevicewatcher.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtscheduler.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"
#include "sim/simulatorprocess.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// The window's programmer session as far as hot-plug goes.
struct Session : proglink::HotPlugClient, proglink::SilentView {
    void discoverAutomatically() override {
        discoveryStarted.append(clock.now());
        if (const auto found = discoverProgrammer(context, *this, buffer); found.found)
            controller.programmerFound(serial.portName(found.port));
        else
            controller.programmerNotFound(false);
    }
    void setPortText(const QString &) override {} // both bases have it
    void programmerGone(const QString &path) override { gone = path; }

    platform::QtSerialPort serial;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    platform::FakeDialogs dialogs;
    proglink::LinkContext context{serial, clock, loop, dialogs};
    proglink::ReplyBuffer buffer;
    platform::QtDeviceWatcher watcher;
    platform::QtScheduler scheduler;
    proglink::HotPlugController controller{watcher, scheduler, *this};
    QList<double> discoveryStarted;
    QString gone;
};

} // namespace

class TestHotPlugPty : public QObject {
    Q_OBJECT

private slots:
    void programmerComesAndGoes() {
        QTemporaryDir dir;
        const QString link = dir.filePath("zepro");
        qputenv("REMLET_PORTS", link.toLocal8Bit());
        Session session;
        session.controller.watch({link});
        session.controller.programmerNotFound(false); // as the start-up discovery left it

        QTest::qWait(300);
        sim::SimulatorProcess sim(QStringList{"--link", link});
        QVERIFY(sim.started());
        const double plugged = session.clock.now();
        QTRY_VERIFY_WITH_TIMEOUT(!session.controller.isWaiting(), 6000);
        // Noticed within 3 s, probed a second later.
        QCOMPARE(session.discoveryStarted.size(), 1);
        const double probed = session.discoveryStarted.first() - plugged;
        QVERIFY2(probed >= 1.0 && probed < 4.0, qPrintable(QString::number(probed)));

        sim.stop(); // the simulator removes its link as it ends
        QTRY_COMPARE_WITH_TIMEOUT(session.gone, link, 3000);
        qunsetenv("REMLET_PORTS");
    }

    // Without named paths, the USB and ACM adapters of the device folder are watched.
    void adaptersComeAndGo() {
        QTemporaryDir dev;
        QVERIFY(QFile(dev.filePath("ttyS0")).open(QIODevice::WriteOnly));
        platform::QtDeviceWatcher watcher(dev.path());
        QStringList changes;
        watcher.watch({}, [&](const QString &path, bool present) {
            changes << (present ? "+" : "-") + QFileInfo(path).fileName();
        });
        for (const char *name : {"ttyUSB0", "ttyACM1", "ttyS1"})
            QVERIFY(QFile(dev.filePath(name)).open(QIODevice::WriteOnly));
        QTRY_COMPARE_WITH_TIMEOUT(changes.size(), 2, 3000);
        QVERIFY(QFile::remove(dev.filePath("ttyUSB0")));
        QTRY_COMPARE_WITH_TIMEOUT(changes.size(), 3, 3000);
        changes.sort();
        QCOMPARE(changes, (QStringList{"+ttyACM1", "+ttyUSB0", "-ttyUSB0"}));
        QCOMPARE(watcher.presentDevices(), QStringList{dev.filePath("ttyACM1")});
    }
};

QTEST_GUILESS_MAIN(TestHotPlugPty)
#include "test_hotplug_pty.moc"
