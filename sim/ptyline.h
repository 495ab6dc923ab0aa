#pragma once

#include <QString>

namespace sim {

// The programmer's end of a pseudo-terminal. The slave end, set raw at 9600 baud, is the
// serial port the PC program opens. We hold a slave descriptor of our own, so the PC program
// may close and reopen the port without the master seeing a hang-up.
class PtyLine {
public:
    PtyLine() = default;
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;
    ~PtyLine();

    // An error text on failure, empty on success.
    QString open();
    QString slavePath() const { return m_slavePath; }
    // Non-blocking; -1 once hung up.
    int masterFd() const { return m_master; }
    // Drops off the line: the PC program's reads fail (EIO) and its polls report POLLHUP, and
    // the slave device disappears once the PC program closes it.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};

} // namespace sim
