// What recording the traffic log costs a 340-slot transfer (program, then read back) against
// the simulated programmer at 9600 baud on the fake clock: the CPU time with and without the
// logging port, and that difference against the transfer's own length, which the wire sets.
// The log starts full, so every row also drops the oldest.
#include "link/download.h"
#include "link/loggingserialport.h"
#include "link/silentview.h"
#include "link/upload.h"
#include "platform/fakes/fakedialogs.h"
#include "sim/inprocessprogrammer.h"

#include <QCoreApplication>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Slots = 340;
constexpr int Rounds = 15;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Transfer {
    double cpu = 0;       // seconds of CPU
    double simulated = 0; // seconds on the fake clock: the wire's time
    bool ok = false;
};

// One program and read-back on `line`.
Transfer transfer(platform::SerialPort &line, platform::FakeTimeline &timeline,
                  const userdb::RecordStore &store) {
    platform::FakeDialogs dialogs;
    proglink::LinkContext context{line, timeline, timeline, dialogs};
    proglink::ReplyBuffer buffer;
    proglink::SilentView view;
    userdb::RecordStore read;
    const double startCpu = cpuSeconds();
    const double start = timeline.now();
    const bool programmed =
        bool(proglink::uploadMemory(context, view, 1, proglink::Device::Receiver, Slots, store));
    const bool readBack =
        proglink::downloadMemory(context, view, 1, proglink::Device::Receiver, buffer, read) ==
        proglink::DownloadOutcome::Complete;
    return {cpuSeconds() - startCpu, timeline.now() - start, programmed && readBack};
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    sim::InProcessProgrammer programmer(timeline);
    port.addPort(1, &programmer);
    proglink::TrafficLog log;
    proglink::LoggingSerialPort logged(port, log);
    for (int row = 0; row < proglink::TrafficLog::MaxRows; ++row)
        log.record(proglink::TrafficDirection::Received, "001 00000000 0000\r");

    userdb::RecordStore store;
    for (int slot = 1; slot <= Slots; ++slot)
        store.setCell(slot, userdb::SerialNumber,
                      QStringLiteral("%1").arg(0xA0000000u + slot, 8, 16).toUpper());

    double plainCpu = 0, loggedCpu = 0, wire = 0;
    bool ok = true;
    for (int round = 0; round < Rounds; ++round) { // alternated, so drift hits both alike
        const Transfer plain = transfer(port, timeline, store);
        const Transfer withLog = transfer(logged, timeline, store);
        plainCpu += plain.cpu;
        loggedCpu += withLog.cpu;
        wire = plain.simulated;
        ok = ok && plain.ok && withLog.ok;
    }
    plainCpu /= Rounds;
    loggedCpu /= Rounds;
    const double added = loggedCpu - plainCpu;
    std::printf("%-40s %10.3f\n", "transfer_340_wire_seconds", wire);
    std::printf("%-40s %10.4f\n", "transfer_cpu_seconds_without_log", plainCpu);
    std::printf("%-40s %10.4f\n", "transfer_cpu_seconds_with_log", loggedCpu);
    std::printf("%-40s %10.4f  (target 2.0: slowdown of the transfer)\n", "log_slowdown_percent",
                100.0 * added / wire);
    std::printf("%-40s %10.2f  (the link's own CPU work, wire time aside)\n",
                "log_cpu_overhead_percent", 100.0 * added / plainCpu);
    std::printf("%-40s %10lld\n", "log_rows_kept", static_cast<long long>(log.size()));
    if (!ok)
        std::fprintf(stderr, "a transfer failed\n");
    return ok ? 0 : 1;
}
