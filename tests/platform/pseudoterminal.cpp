#include "pseudoterminal.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>

PseudoTerminal::PseudoTerminal() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_path = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal() {
    hangUp();
    if (m_slave >= 0)
        ::close(m_slave);
}

void PseudoTerminal::send(const QByteArray &bytes) {
    if (::write(m_master, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qWarning("short write to the pseudo-terminal");
}

QByteArray PseudoTerminal::receive(int expected, int timeoutMs) {
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < expected && timer.elapsed() < timeoutMs) {
        pollfd fd{m_master, POLLIN, 0};
        if (poll(&fd, 1, 50) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, n);
    }
    return got;
}

void PseudoTerminal::hangUp() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
