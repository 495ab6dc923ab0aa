// A full 340-slot Read Receiver and Program Receiver against zepro-sim pacing its line at
// 9600 baud, timed against the wire time, with the CPU this process used meanwhile.
// Usage: bench_transfer PATH-OF-ZEPRO-SIM
#include "benchsupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {
constexpr double CharSeconds = 10.0 / 9600.0; // start bit, 8 data bits, stop bit
constexpr int Slots = 340;

struct Measured {
    double wall;
    double cpu;
};

template <typename Run> Measured measure(Run run) {
    QElapsedTimer wall;
    const double cpu = processCpuSeconds();
    wall.start();
    run();
    return {double(wall.nsecsElapsed()) / 1e9, processCpuSeconds() - cpu};
}
} // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_transfer PATH-OF-ZEPRO-SIM\n");
        return 2;
    }
    BenchSimulator sim(argv[1], {});
    if (!sim.started())
        return 1;

    BenchWindow bench;
    app::MainWindow &window = bench.window;
    platform::FakeDialogs &dialogs = bench.dialogs;
    window.startUp();
    window.runCommand(app::Command::NewDatabase);
    for (int slot = 1; slot <= Slots; ++slot) {
        window.database().setCell(slot, userdb::SerialNumber,
                                  QStringLiteral("%1").arg(0xA0000000u + slot, 8, 16).toUpper());
        window.database().setCell(slot, userdb::AuxiliaryWord, QStringLiteral("0001"));
    }
    dialogs.clear();

    // "W=001,SSSSSSSS,AAAA" CR out, "OK" CR back, per slot.
    const double programWire = Slots * (20 + 3) * CharSeconds;
    const Measured program = measure([&] { window.runCommand(app::Command::ProgramReceiver); });
    // One line "001 SSSSSSSS AAAA" CR per slot, then "OK" CR, then 2 s of silence.
    const double readWire = (Slots * 18 + 3) * CharSeconds + 2.0;
    dialogs.queueAnswer(platform::Answer::Discard); // the typed records were never saved
    const Measured read = measure([&] { window.runCommand(app::Command::ReadReceiver); });

    printFigure("program_340_wall_seconds", program.wall, "");
    printFigure("program_340_ratio_to_wire", program.wall / programWire, "< 1.10");
    printFigure("program_340_cpu_per_wall", program.cpu / program.wall, "< 0.10");
    printFigure("read_340_wall_seconds", read.wall, "");
    printFigure("read_340_ratio_to_wire_plus_2s", read.wall / readWire, "< 1.05");
    printFigure("read_340_cpu_per_wall", read.cpu / read.wall, "< 0.10");

    sim.stop();
    const bool ok = dialogs.texts() == QStringList{QStringLiteral("Data downloaded OK")} &&
                    dialogs.unexpectedQuestions() == 0 && window.Remlet_Count() == Slots &&
                    !window.isWindowModified(); // read and saved
    if (!ok)
        std::fprintf(stderr, "transfer failed: %s\n", qPrintable(dialogs.texts().join(" | ")));
    return ok ? 0 : 1;
}
