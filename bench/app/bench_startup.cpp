// Start-up to the window shown with no programmer, and discovery over 255 port numbers of
// which none exists, on the real serial port and event loop.
#include "benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>

int main(int argc, char *argv[]) {
    // Every port number is absent: the one listed path does not exist.
    qputenv("REMLET_PORTS", "/nonexistent/remlet-bench-port");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);

    BenchWindow bench;
    app::MainWindow &window = bench.window;
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
