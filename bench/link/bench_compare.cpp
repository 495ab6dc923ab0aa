// How long a 340-slot compare takes against the simulated programmer pacing its line at 9600
// baud, in simulated seconds on the fake clock, beside the wire time it cannot beat; and the
// program-and-verify that the window runs when verifying is on.
#include "link/compare.h"
#include "link/silentview.h"
#include "link/upload.h"
#include "link/verify.h"
#include "platform/fakes/fakedialogs.h"
#include "sim/inprocessprogrammer.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr int Slots = 340;

void printFigure(const char *name, double value, const char *note) {
    std::printf("%-36s %10.3f  %s\n", name, value, note);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    sim::InProcessProgrammer programmer(timeline);
    port.addPort(1, &programmer);
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    proglink::ReplyBuffer buffer;
    proglink::SilentView view;

    userdb::RecordStore store;
    for (int slot = 1; slot <= Slots; ++slot) {
        store.setCell(slot, userdb::SerialNumber,
                      QStringLiteral("%1").arg(0xA0000000u + slot, 8, 16).toUpper());
        store.setCell(slot, userdb::AuxiliaryWord, QStringLiteral("0001"));
    }

    double start = timeline.now();
    const bool programmed =
        proglink::uploadMemory(context, view, 1, proglink::Device::Receiver, Slots, store);
    const double program = timeline.now() - start;

    start = timeline.now();
    const proglink::Comparison comparison = proglink::readAndCompare(
        context, view, 1, proglink::Device::Receiver, Slots, buffer, store);
    const double compare = timeline.now() - start;

    // "D" CR out; 340 lines of 18 characters and "OK" CR back; then 2 s of silence.
    const double wire = (2 + Slots * 18 + 3) * sim::WireCharSeconds + 2.0;
    printFigure("program_340_simulated_seconds", program, "");
    printFigure("compare_340_simulated_seconds", compare, "");
    printFigure("compare_340_wire_seconds", wire, "(the line's own time, 2 s silence included)");
    printFigure("program_and_verify_340_seconds", program + compare, "");

    const bool ok = programmed && comparison.outcome == proglink::ComparisonOutcome::Matches;
    if (!ok)
        std::fprintf(stderr, "compare failed: %s\n", qPrintable(dialogs.texts().join(" | ")));
    return ok ? 0 : 1;
}
