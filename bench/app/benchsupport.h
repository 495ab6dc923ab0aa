#pragma once

#include "app/mainwindow.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/qt/hostsysteminfo.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"

#include <QElapsedTimer>
#include <cstdio>
#include <ctime>

// The main window on the real serial port, clock and event loop; boxes are recorded, not shown,
// so nothing waits for a person.
struct BenchWindow {
    platform::QtSerialPort port;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    platform::HostSystemInfo systemInfo;
    app::MainWindow window{app::Services{port, clock, loop, dialogs, files, systemInfo}};
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
