// A programmer that floods the line: zepro-sim answers "K" and then sends characters without
// end, as fast as the pseudo-terminal takes them. Clear Receiver runs again and again while the
// flood lasts 30 seconds; prints the peak resident memory of this process and the CPU it uses
// in the 5 seconds after the flood stops.
// Usage: bench_flood PATH-OF-ZEPRO-SIM
#include "benchsupport.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int FloodMs = 30000;
constexpr int AfterMs = 5000;

} // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_flood PATH-OF-ZEPRO-SIM\n");
        return 2;
    }
    BenchSimulator sim(argv[1], {QStringLiteral("--no-pacing"), QStringLiteral("--flood-after"),
                                 QStringLiteral("K")});
    if (!sim.started())
        return 1;

    BenchWindow bench;
    app::MainWindow &window = bench.window;
    platform::FakeDialogs &dialogs = bench.dialogs;
    window.startUp();
    if (window.Port() != 1) {
        std::fprintf(stderr, "the simulator was not found\n");
        return 1;
    }
    dialogs.clear();

    // The flood stops when the simulator does; the command facing it then ends on its own.
    bool flooding = true;
    double cpuAtStop = 0.0;
    QTimer::singleShot(FloodMs, [&] {
        sim.process().terminate();
        flooding = false;
        cpuAtStop = processCpuSeconds();
    });
    int commands = 0;
    while (flooding) {
        window.runCommand(app::Command::ClearReceiver);
        ++commands;
    }
    QEventLoop idle;
    QTimer::singleShot(AfterMs, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpuAfter = processCpuSeconds() - cpuAtStop;
    sim.stop();

    printFigure("peak_memory_during_flood_mb", peakResidentMegabytes(), "< 200");
    printFigure("cpu_seconds_5s_after_flood", cpuAfter, "< 0.1");
    printFigure("commands_during_30s_flood", commands, "");
    // The first clear is acknowledged before the flood starts; every later one faces it.
    const QStringList texts = dialogs.texts();
    const bool ok = texts.size() == commands &&
                    texts.value(0) == QStringLiteral("Receiver Cleared") &&
                    texts.count(QStringLiteral("Failed to clear Receiver")) == commands - 1;
    if (!ok)
        std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(texts.join(" | ")));
    return ok ? 0 : 1;
}
