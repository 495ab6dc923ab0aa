// What waiting for the programmer to be plugged in costs: the device watcher on the USB and ACM
// adapters under /dev and one on a path named as REMLET_PORTS would, each with its hot-plug
// controller, while nothing is plugged in. Prints the share of one core used over the idle
// time (default 10 s; the first argument sets it).
#include "link/hotplug.h"
#include "platform/qt/qtdevicewatcher.h"
#include "platform/qt/qtscheduler.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double wallSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

struct Session : proglink::HotPlugClient {
    void discoverAutomatically() override { ++discoveries; }
    void setPortText(const QString &) override {}
    void programmerGone(const QString &) override {}
    int discoveries = 0;
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const double idleSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 10.0;
    QTemporaryDir dir;
    platform::QtScheduler scheduler;
    platform::QtDeviceWatcher adapters, named;
    Session session;
    proglink::HotPlugController onAdapters(adapters, scheduler, session);
    proglink::HotPlugController onPath(named, scheduler, session);
    onAdapters.watch({});
    onPath.watch({dir.filePath(QStringLiteral("zepro"))});
    onAdapters.programmerNotFound(false);
    onPath.programmerNotFound(false);

    const double startCpu = processCpuSeconds();
    const double start = wallSeconds();
    QTimer::singleShot(int(idleSeconds * 1000), &application, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double cores = (processCpuSeconds() - startCpu) / (wallSeconds() - start);
    std::printf("%-40s %10.6f  (target 0.001)\n", "waiting_for_programmer_cores", cores);
    std::printf("%-40s %10d\n", "discoveries_started", session.discoveries);
    return 0;
}
