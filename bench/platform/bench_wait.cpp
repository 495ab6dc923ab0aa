// Processor time that a silent wait for a reply costs: the port is open on a pseudo-terminal
// whose far end never answers, and the wait loop is the reply collector's (read; when nothing
// came, wait for events until the limit). Also the time that discovery spends selecting every
// port number from 1 to 255 in the system's port table.
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"

#include <QCoreApplication>
#include <cstdio>
#include <ctime>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Selects every number as discovery does; most of them do not exist.
double portScanSeconds() {
    platform::QtSerialPort port;
    platform::SteadyClock clock;
    const double start = clock.now();
    int found = 0;
    for (int number = 1; number <= 255; ++number) {
        try {
            port.selectPort(number);
            ++found;
        } catch (const platform::PortError &) {
        }
    }
    const double seconds = clock.now() - start;
    std::printf("port_scan_ports_found %d\n", found);
    return seconds;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    qunsetenv("REMLET_PORTS");
    std::printf("port_scan_255_seconds %.4f (target < 0.5)\n", portScanSeconds());

    int master = -1, slave = -1;
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    qputenv("REMLET_PORTS", name);

    platform::QtSerialPort port;
    platform::SteadyClock clock;
    platform::QtEventLoop loop;
    port.selectPort(1);
    port.applySettings(QStringLiteral("9600"));
    port.setReadLength(1);
    port.open();
    port.flushInput();
    port.write("P\r");

    constexpr double limit = 2.0;
    const double cpuStart = processCpuSeconds();
    const double mark = clock.now();
    int passes = 0;
    QByteArray reply;
    while (clock.now() - mark < limit) {
        ++passes;
        const QByteArray c = port.read();
        if (c.isEmpty()) {
            loop.waitForEvents(limit - (clock.now() - mark));
            continue;
        }
        reply += c;
    }
    const double wall = clock.now() - mark;
    const double cpu = processCpuSeconds() - cpuStart;

    std::printf("silent_wait_wall_seconds %.3f\n", wall);
    std::printf("silent_wait_passes %d\n", passes);
    std::printf("silent_wait_cpu_per_wall %.4f (target < 0.05)\n", cpu / wall);
    port.close();
    ::close(master);
    ::close(slave);
    return 0;
}
