#include "platform/qt/portnames.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

namespace platform {

namespace {

constexpr qint64 listLifetimeMs = 1000;

bool isUsbAdapter(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

QStringList listSystemPorts() {
    QStringList paths;
    for (const QSerialPortInfo &info : systemSerialPorts())
        paths.append(info.systemLocation());
    return paths;
}

} // namespace

QList<QSerialPortInfo> systemSerialPorts() {
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    QStringList paths;
    for (const QSerialPortInfo &info : ports)
        paths.append(info.systemLocation());
    paths = orderSerialPorts(paths);
    // The same order as the paths alone, so that the numbers match the port table's.
    std::sort(ports.begin(), ports.end(),
              [&paths](const QSerialPortInfo &a, const QSerialPortInfo &b) {
                  return paths.indexOf(a.systemLocation()) < paths.indexOf(b.systemLocation());
              });
    return ports;
}

QStringList orderSerialPorts(QStringList paths) {
    std::sort(paths.begin(), paths.end(), [](const QString &a, const QString &b) {
        const bool usbA = isUsbAdapter(a);
        const bool usbB = isUsbAdapter(b);
        return usbA != usbB ? usbA : a < b;
    });
    return paths;
}

QString PortTable::listedPath(int number) {
    if (number < 1)
        return {};
    if (m_fixedPaths)
        return number <= m_fixedPaths->size() ? m_fixedPaths->at(number - 1) : QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString configured = qEnvironmentVariable("REMLET_PORTS");
    // A pinned path acts as if REMLET_PORTS held only it; REMLET_PORTS itself wins.
    if (configured.isEmpty() && !m_pinnedPath.isEmpty())
        return number == 1 ? m_pinnedPath : QString();
    // An empty item keeps its number, so the ports after it keep theirs.
    const QStringList paths = configured.isEmpty()
                                  ? systemPorts(number)
                                  : configured.split(QLatin1Char(':'), Qt::KeepEmptyParts);
    return number <= paths.size() ? paths.at(number - 1) : QString();
#endif
}

QString PortTable::devicePath(int number) {
    const QString path = listedPath(number);
    return isPresent(path) ? path : QString();
}

bool PortTable::isPresent(const QString &path) {
#ifdef Q_OS_WIN
    return !path.isEmpty(); // COMn: only opening it tells
#else
    return !path.isEmpty() && QFileInfo::exists(path);
#endif
}

QStringList PortTable::systemPorts(int number) {
    if (number == 1 || !m_listedAt.isValid() || m_listedAt.elapsed() > listLifetimeMs) {
        m_systemPorts = listSystemPorts();
        m_listedAt.start();
    }
    return m_systemPorts;
}

} // namespace platform
