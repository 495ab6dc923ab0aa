#pragma once

#include "link/trafficlog.h"
#include "platform/serialport.h"

namespace proglink {

// A serial port that records in a traffic log every character written and read, so that every
// command is logged without any of them knowing. Characters are logged once the port has
// taken (or given) them; what a flush throws away was never read and is not logged.
class LoggingSerialPort : public platform::SerialPort {
public:
    LoggingSerialPort(platform::SerialPort &port, TrafficLog &log)
        : m_port(port)
        , m_log(log) {}

    void selectPort(int number) override { m_port.selectPort(number); }
    void applySettings(const QString &settings) override { m_port.applySettings(settings); }
    void setReadLength(int length) override { m_port.setReadLength(length); }
    bool isOpen() const override { return m_port.isOpen(); }
    void open() override;
    void close() override;
    void flushInput() override;
    void write(const QByteArray &text) override;
    QByteArray read() override;
    QString portName(int number) override { return m_port.portName(number); }

private:
    platform::SerialPort &m_port;
    TrafficLog &m_log;
};

} // namespace proglink
