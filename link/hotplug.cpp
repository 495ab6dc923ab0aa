#include "link/hotplug.h"

namespace proglink {

namespace {
// The first discovery after a device appears, and the one retry.
constexpr int Attempts = 2;
} // namespace

HotPlugController::HotPlugController(platform::DeviceWatcher &watcher,
                                     platform::Scheduler &scheduler, HotPlugClient &client)
    : m_watcher(watcher)
    , m_scheduler(scheduler)
    , m_client(client) {}

QString HotPlugController::waitingText() {
    return QStringLiteral("Waiting for the programmer: plug it in or choose its port");
}

QString HotPlugController::goneText(const QString &path) {
    return QStringLiteral("The programmer on %1 has gone away. %2").arg(path, waitingText());
}

void HotPlugController::watch(const QStringList &paths) {
    m_watcher.watch(paths,
                    [this](const QString &path, bool present) { deviceChanged(path, present); });
}

void HotPlugController::programmerFound(const QString &path) {
    m_found = true;
    m_foundPath = path;
    m_attemptDue = false;
    ++m_generation; // nothing pending is needed any more
}

void HotPlugController::programmerNotFound(bool permissionHintShown) {
    m_found = false;
    if (!permissionHintShown)
        m_client.setPortText(waitingText());
}

void HotPlugController::setCommandRunning(bool running) {
    m_commandRunning = running;
    if (!running && m_attemptDue) {
        m_attemptDue = false;
        schedule(SettleSeconds);
    }
}

void HotPlugController::deviceChanged(const QString &path, bool present) {
    if (present) {
        if (m_found)
            return;
        // Each new device gets its own full round of attempts.
        m_attemptsLeft = Attempts;
        schedule(SettleSeconds);
        return;
    }
    if (!m_found || path != m_foundPath)
        return;
    m_found = false;
    m_client.programmerGone(path);
    m_client.setPortText(goneText(path));
}

void HotPlugController::schedule(double seconds) {
    const int generation = ++m_generation;
    m_scheduler.runAfter(seconds, [this, generation] { attempt(generation); });
}

void HotPlugController::attempt(int generation) {
    if (generation != m_generation || m_found || m_attemptsLeft <= 0)
        return;
    if (m_commandRunning) {
        m_attemptDue = true; // the command may be Find ZEPRO itself; look again after it
        return;
    }
    --m_attemptsLeft;
    m_client.discoverAutomatically(); // reports back through programmerFound/NotFound
    // A device that appeared meanwhile has scheduled its own round.
    if (!m_found && generation == m_generation && m_attemptsLeft > 0)
        schedule(RetrySeconds);
}

} // namespace proglink
