#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

namespace platform {

// Maps the program's port numbers (1, 2, 3 ...) to device paths.
//
// On Windows port n is "COMn". Elsewhere, when the environment variable REMLET_PORTS holds
// device paths separated by ":", port n is its n-th path; otherwise port n is the n-th serial
// port the system lists, in the order of their device paths.
class PortTable {
public:
    // The device path of port `number`; empty when the system has no such port (a listed
    // path that does not exist counts as absent).
    QString devicePath(int number);

private:
    QStringList systemPorts(int number);

    // Discovery asks for every number from 1 to 255 in a row: the system's list is taken
    // again when port 1 is asked for or when it is older than a second, so a scan costs one
    // listing and a device plugged in later is found by the next scan.
    QStringList m_systemPorts;
    QElapsedTimer m_listedAt;
};

} // namespace platform
