// Start-up to the window shown with no programmer, and discovery over 255 port numbers of
// which none exists, on the real serial port and event loop.
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/qt/hostsysteminfo.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"

#include <QApplication>
#include <QElapsedTimer>

int main(int argc, char *argv[]) {
    // Every port number is absent: the one listed path does not exist.
    qputenv("REMLET_PORTS", "/nonexistent/remlet-bench-port");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);

    platform::QtSerialPort port;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    platform::FakeDialogs dialogs;
    platform::FakeFileDialog files;
    platform::HostSystemInfo systemInfo;
    app::MainWindow window({port, clock, loop, dialogs, files, systemInfo});
    window.startUp();
    window.show();
    QApplication::processEvents();
    printFigure("startup_to_window_shown_seconds", double(sinceStart.nsecsElapsed()) / 1e9,
                "< 0.5");

    const int runs = 20;
    QElapsedTimer discovery;
    discovery.start();
    for (int i = 0; i < runs; ++i)
        window.runCommand(app::Command::FindProgrammer);
    printFigure("discovery_255_absent_seconds", double(discovery.nsecsElapsed()) / 1e9 / runs,
                "< 0.5");
    return window.statusText() == QStringLiteral("Cannot Find Remlet Manager") ? 0 : 1;
}
