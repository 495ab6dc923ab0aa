#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace platform {

// A port the program may scan, as the user sees it when choosing the programmer's port.
struct PortDescription {
    int number = 0;      // the program's port number: "Port 1: /dev/ttyUSB0"
    QString path;        // the device path (or a REMLET_PORTS item)
    bool present = true; // a listed path that does not exist now is absent
    QString description; // what the system knows of the device, each possibly empty
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId; // USB vendor and product id, for USB devices
    std::optional<quint16> productId;
};

// The ports the program scans for the programmer, and the user's choice of one device path.
// Precedence: REMLET_PORTS, then the pinned path, then the system's list.
class PortCatalog {
public:
    virtual ~PortCatalog() = default;
    // The ports as the scan numbers them without a pinned path: the items of REMLET_PORTS
    // when it is set (absent ones included, so that the numbers match), else the system's
    // serial ports, USB and ACM adapters first.
    virtual QList<PortDescription> ports() = 0;
    // REMLET_PORTS as set; empty when it is not. When set, it wins over a pinned path.
    virtual QString environmentPorts() const = 0;
    // From now on port 1 is `path` alone, as if REMLET_PORTS held only it; empty text goes
    // back to the scan of the system's ports.
    virtual void pinPath(const QString &path) = 0;
    virtual QString pinnedPath() const = 0;
};

} // namespace platform
