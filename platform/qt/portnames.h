#pragma once

#include <QElapsedTimer>
#include <QSerialPortInfo>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Puts the system's serial ports in numbering order: USB and ACM adapters (ttyUSB*, ttyACM*)
// first, since that is where a programmer is nearly always connected, then every other port;
// each group in the order of its device paths. Discovery then reaches the adapter without
// first waiting a second of silence on each legacy port.
QStringList orderSerialPorts(QStringList paths);

// The system's serial ports in numbering order (orderSerialPorts), with what the system knows
// of each.
QList<QSerialPortInfo> systemSerialPorts();

// Maps the program's port numbers (1, 2, 3 ...) to device paths.
//
// On Windows port n is "COMn". Elsewhere, when the environment variable REMLET_PORTS holds
// device paths separated by ":", port n is its n-th item (an empty item or a path that does
// not exist is an absent port); otherwise, when the user has pinned a device path, it is port 1
// and the only port; otherwise port n is the n-th serial port the system lists, in the order
// of orderSerialPorts().
class PortTable {
public:
    // The path that port `number` stands for, whether or not it exists at the moment; empty
    // when the number stands for nothing.
    QString listedPath(int number);
    // The device path of port `number`; empty when the system has no such port (a listed path
    // that does not exist counts as absent).
    QString devicePath(int number);
    // Whether a listed path names a device that is there now.
    static bool isPresent(const QString &path);
    // From now on port n is the n-th of `paths`, whatever REMLET_PORTS or the system list
    // say: for a program that has been told which device to use.
    void setFixedPaths(QStringList paths) { m_fixedPaths = std::move(paths); }
    // The device the user chose: port 1 alone, unless REMLET_PORTS is set. Empty: the scan.
    void setPinnedPath(const QString &path) { m_pinnedPath = path; }
    QString pinnedPath() const { return m_pinnedPath; }

private:
    QStringList systemPorts(int number);

    // Discovery asks for every number from 1 to 255 in a row: the system's list is taken
    // again when port 1 is asked for or when it is older than a second, so a scan costs one
    // listing and a device plugged in later is found by the next scan.
    QStringList m_systemPorts;
    QElapsedTimer m_listedAt;
    std::optional<QStringList> m_fixedPaths;
    QString m_pinnedPath;
};

} // namespace platform
