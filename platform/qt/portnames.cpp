#include "platform/qt/portnames.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

namespace platform {

namespace {

constexpr qint64 listLifetimeMs = 1000;

QStringList listSystemPorts() {
    QStringList paths;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        paths.append(info.systemLocation());
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

QString PortTable::devicePath(int number) {
    if (number < 1)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString configured = qEnvironmentVariable("REMLET_PORTS");
    if (!configured.isEmpty()) {
        const QStringList paths = configured.split(QLatin1Char(':'), Qt::SkipEmptyParts);
        if (number > paths.size() || !QFileInfo::exists(paths.at(number - 1)))
            return {};
        return paths.at(number - 1);
    }
    const QStringList paths = systemPorts(number);
    return number <= paths.size() ? paths.at(number - 1) : QString();
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
