#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair for exercising the serial port: the port opens the device path, the
// test plays the device on the master side.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }
    int masterFd() const { return m_master; }

    void send(const QByteArray &bytes);
    // Everything the port has written, waiting up to `timeoutMs` for `expected` bytes.
    QByteArray receive(int expected, int timeoutMs = 2000);
    // The device vanishes: the master side closes.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1; // kept open so the device path lives as long as the test wants it
    QString m_path;
};
