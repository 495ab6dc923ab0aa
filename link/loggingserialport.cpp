#include "link/loggingserialport.h"

namespace proglink {

// A line half received when the port closes, opens or throws its input away is ended there:
// it must not run into the next reply's row.

void LoggingSerialPort::open() {
    m_log.endLines();
    m_port.open();
}

void LoggingSerialPort::close() {
    m_log.endLines();
    m_port.close();
}

void LoggingSerialPort::flushInput() {
    m_log.endLines();
    m_port.flushInput();
}

void LoggingSerialPort::write(const QByteArray &text) {
    m_port.write(text);
    m_log.record(TrafficDirection::Sent, text);
}

QByteArray LoggingSerialPort::read() {
    QByteArray received = m_port.read();
    if (!received.isEmpty())
        m_log.record(TrafficDirection::Received, received);
    return received;
}

} // namespace proglink
