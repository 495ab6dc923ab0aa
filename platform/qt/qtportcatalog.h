#pragma once

#include "platform/portcatalog.h"

namespace platform {

class QtSerialPort;

// The ports as the serial port numbers them, described by QSerialPortInfo; pinning a path goes
// to the serial port's port table, so that the scan and this list agree.
class QtPortCatalog : public PortCatalog {
public:
    explicit QtPortCatalog(QtSerialPort &port)
        : m_port(port) {}

    QList<PortDescription> ports() override;
    QString environmentPorts() const override;
    void pinPath(const QString &path) override;
    QString pinnedPath() const override;

private:
    QtSerialPort &m_port;
};

} // namespace platform
