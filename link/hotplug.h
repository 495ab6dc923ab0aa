#pragma once

#include "platform/devicewatcher.h"
#include "platform/scheduler.h"

#include <QString>

namespace proglink {

// What the hot-plug rules ask of the programmer session that owns them.
class HotPlugClient {
public:
    virtual ~HotPlugClient() = default;
    // Runs discovery as Find ZEPRO does, but nobody clicked: its size messages go to status
    // panel 1, not into boxes. It reports its outcome through
    // HotPlugController::programmerFound() or programmerNotFound(), as every discovery does.
    virtual void discoverAutomatically() = 0;
    // Status panel 2.
    virtual void setPortText(const QString &text) = 0;
    // The device of the programmer found has gone: its commands are no longer offered.
    virtual void programmerGone(const QString &path) = 0;
};

// Finds the programmer when it is plugged in later, and notices when it is pulled out.
//
// While no programmer is found and no command runs, a device that appears is probed 1 s later
// (a modem manager may probe it first), and once more 2 s after that if the first discovery
// fails. Meanwhile status panel 2 says "Waiting for the programmer: plug it in or choose its
// port", unless a discovery left the hint about a port it had no permission to open there.
// When the programmer's own device disappears, panel 2 says so and waiting starts again.
// Nothing runs between changes: the watcher and the scheduler wake it.
class HotPlugController {
public:
    static constexpr double SettleSeconds = 1;
    static constexpr double RetrySeconds = 2;

    HotPlugController(platform::DeviceWatcher &watcher, platform::Scheduler &scheduler,
                      HotPlugClient &client);

    // Watches `paths` (REMLET_PORTS's items, or the pinned path alone); none: the USB and ACM
    // adapters. Call again when the user's choice of port changes.
    void watch(const QStringList &paths);
    // The outcome of every discovery, whoever started it: found on the device `path`, or not
    // found, with or without the permission hint left in panel 2.
    void programmerFound(const QString &path);
    void programmerNotFound(bool permissionHintShown);
    // No discovery starts while a command runs; one that fell due meanwhile runs 1 s after it.
    void setCommandRunning(bool running);

    bool isWaiting() const { return !m_found; }
    QString foundPath() const { return m_found ? m_foundPath : QString(); }

    static QString waitingText();
    // "The programmer on /dev/ttyUSB0 has gone away. Waiting for the programmer: ..."
    static QString goneText(const QString &path);

private:
    void deviceChanged(const QString &path, bool present);
    void schedule(double seconds);
    void attempt(int generation);

    platform::DeviceWatcher &m_watcher;
    platform::Scheduler &m_scheduler;
    HotPlugClient &m_client;
    bool m_found = false;
    QString m_foundPath;
    bool m_commandRunning = false;
    bool m_attemptDue = false; // fell due while a command ran
    int m_attemptsLeft = 0;
    int m_generation = 0; // an attempt scheduled before the latest change does nothing
};

} // namespace proglink
