#include "cli/stopsignals.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

int wakePipe[2] = {-1, -1};

// Only what is safe inside a signal handler: one write, which never blocks.
void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakePipe[1], &byte, 1);
}

} // namespace

StopSignals::StopSignals(QObject *parent)
    : QObject(parent) {
    if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGINT, &action, &m_oldInt) != 0 ||
        sigaction(SIGTERM, &action, &m_oldTerm) != 0) {
        sigaction(SIGINT, &m_oldInt, nullptr);
        return;
    }
    m_notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::readPipe);
}

StopSignals::~StopSignals() {
    if (m_notifier) {
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
        delete m_notifier; // before its descriptor closes
    }
    for (int &fd : wakePipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void StopSignals::readPipe() {
    char bytes[64];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
    m_requested = true;
    emit stopRequested();
}

} // namespace cli
