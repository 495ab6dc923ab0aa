#pragma once

#include "app/mainwindow.h"
#include "link/loggingserialport.h"
#include "link/trafficlog.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/qt/hostsysteminfo.h"
#include "platform/qt/qtdevicewatcher.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtportcatalog.h"
#include "platform/qt/qtscheduler.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"
#include "sim/simulatorprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

// The main window on the real serial port (logged, as in the program), clock and event loop;
// boxes are recorded, not shown, so nothing waits for a person.
struct BenchWindow {
    platform::QtSerialPort serial;
    proglink::TrafficLog trafficLog;
    proglink::LoggingSerialPort port{serial, trafficLog};
    platform::QtPortCatalog portCatalog{serial};
    platform::QtDeviceWatcher deviceWatcher;
    platform::QtScheduler scheduler;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    platform::HostSystemInfo systemInfo;
    platform::FakeDocumentDialogs documents;
    app::MainWindow window{app::Services{port, clock, loop, dialogs, files, systemInfo, documents,
                                         trafficLog, portCatalog, deviceWatcher, scheduler}};
};

// CPU seconds this process has used, all threads.
inline double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

inline void printFigure(const char *name, double value, const char *target) {
    std::printf("%-34s %10.4f  (target %s)\n", name, value, target);
    std::fflush(stdout);
}

// The high-water mark of this process's resident memory, in megabytes.
inline double peakResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1.0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1.0;
}

// The zepro-sim process on a link in a temporary working folder, made the app's port 1.
class BenchSimulator {
public:
    BenchSimulator(const char *simulatorPath, const QStringList &options)
        : m_simulator(QStringList{QStringLiteral("--link"), linkPath()} + options,
                      QFileInfo(QString::fromLocal8Bit(simulatorPath)).absoluteFilePath()) {
        QDir::setCurrent(m_dir.path()); // Untitled.fxd lands here, not in the checkout
        qputenv("REMLET_PORTS", linkPath().toLocal8Bit());
        if (!started())
            std::fprintf(stderr, "zepro-sim did not start\n");
    }
    bool started() const { return m_simulator.started(); }
    void stop() { m_simulator.stop(); }
    QProcess &process() { return m_simulator.process; }

private:
    QString linkPath() const { return m_dir.filePath(QStringLiteral("zepro")); }

    QTemporaryDir m_dir; // before the simulator, which makes its link in it
    sim::SimulatorProcess m_simulator;
};
