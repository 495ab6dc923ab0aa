#include "platform/qt/qtportcatalog.h"

#include "platform/qt/portnames.h"
#include "platform/qt/qtserialport.h"

#include <QFileInfo>

namespace platform {

namespace {

PortDescription describe(int number, const QString &path, const QSerialPortInfo &info) {
    PortDescription port;
    port.number = number;
    port.path = path;
    port.present = PortTable::isPresent(path);
    port.description = info.description();
    port.manufacturer = info.manufacturer();
    port.serialNumber = info.serialNumber();
    if (info.hasVendorIdentifier())
        port.vendorId = info.vendorIdentifier();
    if (info.hasProductIdentifier())
        port.productId = info.productIdentifier();
    return port;
}

// What the system knows of a listed path, which may be a link to the device
// (/dev/serial/by-id/...); nothing for a path that is no serial port the system lists.
QSerialPortInfo infoFor(const QString &path, const QList<QSerialPortInfo> &system) {
    const QString device = QFileInfo(path).canonicalFilePath();
    for (const QSerialPortInfo &info : system)
        if (info.systemLocation() == path || info.systemLocation() == device)
            return info;
    return {};
}

} // namespace

QList<PortDescription> QtPortCatalog::ports() {
    const QList<QSerialPortInfo> system = systemSerialPorts();
    QList<PortDescription> ports;
    const QString configured = environmentPorts();
    if (configured.isEmpty()) {
        for (qsizetype i = 0; i < system.size(); ++i)
            ports.append(describe(int(i) + 1, system.at(i).systemLocation(), system.at(i)));
        return ports;
    }
    // An empty item is no port, but it keeps its number.
    const QStringList items = configured.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    for (qsizetype i = 0; i < items.size(); ++i)
        if (!items.at(i).isEmpty())
            ports.append(describe(int(i) + 1, items.at(i), infoFor(items.at(i), system)));
    return ports;
}

QString QtPortCatalog::environmentPorts() const {
    return qEnvironmentVariable("REMLET_PORTS");
}

void QtPortCatalog::pinPath(const QString &path) {
    m_port.setPinnedPath(path);
}

QString QtPortCatalog::pinnedPath() const {
    return m_port.pinnedPath();
}

} // namespace platform
