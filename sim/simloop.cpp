#include "sim/simloop.h"

#include "sim/statefile.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <poll.h>
#include <unistd.h>

namespace sim {

namespace {
constexpr double Never = std::numeric_limits<double>::infinity();
// A PC that does not read fills the pty; past this much the programmer waits for it.
constexpr qsizetype MaxUnsent = qsizetype(64) * 1024;

void warn(const QString &text) {
    std::fprintf(stderr, "zepro-sim: %s\n", qPrintable(text));
}
} // namespace

SimLoop::SimLoop(const SimSettings &settings, PtyLine &line, ProgrammerModel &model,
                 QList<QByteArray> captureLines)
    : m_settings(settings)
    , m_line(line)
    , m_model(model)
    , m_inbound(settings.pacing ? WireCharSeconds : 0.0)
    , m_transmitter(replyCharSeconds(settings.programmer.dripSeconds, settings.pacing))
    , m_captureLines(std::move(captureLines))
    , m_scripted(!settings.captureLinesPath.isEmpty())
    , m_nextCapture(Never)
    , m_savedChanges(model.changeCount()) {}

double SimLoop::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool SimLoop::outputStalled() const {
    return m_output.size() >= MaxUnsent;
}

int SimLoop::pollTimeout() const {
    double due = m_nextCapture;
    if (!m_arrivals.empty())
        due = std::min(due, m_arrivals.front().time);
    if (!outputStalled())
        due = std::min(due, m_transmitter.nextDue());
    if (due == Never)
        return -1;
    const double ms = std::ceil((due - now()) * 1000.0);
    return int(std::clamp(ms, 0.0, 3600.0 * 1000.0));
}

int SimLoop::run(int signalFd) {
    while (!m_hungUp) {
        pollfd fds[3] = {
            {signalFd, POLLIN, 0},
            {m_line.masterFd(), short(POLLIN | (m_output.isEmpty() ? 0 : POLLOUT)), 0},
            {m_stdinOpen ? STDIN_FILENO : -1, POLLIN, 0},
        };
        if (poll(fds, 3, pollTimeout()) < 0) {
            if (errno == EINTR)
                continue;
            warn(QStringLiteral("poll failed"));
            return 1;
        }
        if (fds[0].revents)
            return 0;
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && !readMaster())
            return 1;
        deliverArrivals();
        if (fds[2].revents)
            readStdin();
        sendDueCaptures();
        if (!flushOutput())
            return 1;
    }
    warn(QStringLiteral("hung up"));
    return 0;
}

bool SimLoop::readMaster() {
    char buffer[4096];
    const ssize_t count = ::read(m_line.masterFd(), buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (count <= 0) {
        warn(QStringLiteral("the pseudo-terminal failed"));
        return false;
    }
    const QByteArray bytes(buffer, count);
    m_arrivals.push_back({m_inbound.arrival(now(), bytes.size()), bytes});
    return true;
}

void SimLoop::readStdin() {
    char buffer[1024];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) { // end of input (or a broken one): the programmer runs on without it
        m_stdinOpen = false;
        return;
    }
    m_typed.append(buffer, count);
    qsizetype newline;
    while ((newline = m_typed.indexOf('\n')) >= 0) {
        QByteArray line = m_typed.left(newline);
        m_typed.remove(0, newline + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!m_model.receiverOn())
            warn(QStringLiteral("the receiver is off; not sent: %1")
                     .arg(QString::fromLocal8Bit(line)));
        send(m_model.capture(line));
    }
}

void SimLoop::deliverArrivals() {
    const double time = now();
    while (!m_arrivals.empty() && m_arrivals.front().time <= time) {
        const QByteArray bytes = m_arrivals.front().bytes;
        m_arrivals.pop_front();
        send(m_model.receive(bytes));
        afterCommands();
    }
}

bool SimLoop::capturesLeft() const {
    return !m_scripted || m_nextLine < m_captureLines.size();
}

void SimLoop::afterCommands() {
    if (!m_model.receiverOn() || m_settings.captureEvery <= 0.0 || !capturesLeft())
        m_nextCapture = Never;
    else if (m_nextCapture == Never)
        m_nextCapture = now() + m_settings.captureEvery;
    if (m_model.changeCount() == m_savedChanges || m_settings.statePath.isEmpty())
        return;
    m_savedChanges = m_model.changeCount();
    const QString error = saveState(m_settings.statePath, m_model.receiver(), m_model.tag());
    if (!error.isEmpty())
        warn(error);
}

void SimLoop::sendDueCaptures() {
    const double time = now();
    if (m_nextCapture > time)
        return;
    send(m_scripted ? m_model.capture(m_captureLines.at(m_nextLine++)) : m_model.captureTick());
    m_nextCapture = capturesLeft() ? time + m_settings.captureEvery : Never;
}

void SimLoop::send(const Outputs &outputs) {
    m_transmitter.send(now(), outputs);
}

bool SimLoop::flushOutput() {
    if (!outputStalled()) {
        const Transmitter::Due due = m_transmitter.take(now());
        m_output += due.bytes;
        if (due.hangUp) {
            // Best effort: what the PC has not taken is lost with the line anyway.
            [[maybe_unused]] const ssize_t sent =
                ::write(m_line.masterFd(), m_output.constData(), m_output.size());
            m_line.hangUp();
            m_hungUp = true;
            return true;
        }
    }
    while (!m_output.isEmpty()) {
        const ssize_t count = ::write(m_line.masterFd(), m_output.constData(), m_output.size());
        if (count < 0) {
            if (errno == EAGAIN || errno == EINTR)
                return true;
            warn(QStringLiteral("cannot write to the pseudo-terminal"));
            return false;
        }
        m_output.remove(0, count);
    }
    return true;
}

} // namespace sim
