#include "platform/qt/qtserialport.h"

#include <QMetaObject>

namespace platform {

QtSerialPort::QtSerialPort() {
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { deviceFailed(error); });
}

QtSerialPort::~QtSerialPort() {
    m_port.close();
}

void QtSerialPort::fail(const QString &what) const {
    throw PortError(what.toStdString());
}

void QtSerialPort::selectPort(int number) {
    if (isOpen() && number == m_number)
        return;
    if (isOpen())
        fail(QStringLiteral("Cannot select port %1 while port %2 is open")
                 .arg(number)
                 .arg(m_number));
    const QString path = m_table.devicePath(number);
    if (path.isEmpty())
        fail(QStringLiteral("Port %1 does not exist").arg(number));
    closeVanished();
    m_vanished = false;
    m_number = number;
    m_path = path;
}

void QtSerialPort::applySettings(const QString &settings) {
    bool isNumber = false;
    const int baudRate = settings.trimmed().toInt(&isNumber);
    if (!isNumber || baudRate <= 0)
        fail(QStringLiteral("Invalid port settings \"%1\": a baud rate is expected").arg(settings));
    m_baudRate = baudRate;
    if (isOpen())
        applyLineParameters();
}

void QtSerialPort::setReadLength(int length) {
    if (length < 0)
        fail(QStringLiteral("Invalid read length %1").arg(length));
    m_readLength = length;
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen() && !m_vanished;
}

void QtSerialPort::open() {
    if (m_path.isEmpty())
        fail(QStringLiteral("No port selected"));
    if (isOpen())
        fail(QStringLiteral("Port %1 (%2) is already open").arg(m_number).arg(m_path));
    closeVanished();
    m_vanished = false;
    m_port.setPortName(m_path);
    if (!m_port.open(QIODevice::ReadWrite))
        fail(QStringLiteral("Cannot open port %1 (%2): %3")
                 .arg(m_number)
                 .arg(m_path, m_port.errorString()));
    try {
        applyLineParameters();
    } catch (const PortError &) {
        m_port.close();
        throw;
    }
}

void QtSerialPort::applyLineParameters() {
    const bool applied = m_port.setBaudRate(m_baudRate) && m_port.setDataBits(QSerialPort::Data8) &&
                         m_port.setParity(QSerialPort::NoParity) &&
                         m_port.setStopBits(QSerialPort::OneStop) &&
                         m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!applied)
        fail(QStringLiteral("Cannot set %1 baud, 8 data bits, no parity, 1 stop bit on port %2 "
                            "(%3): %4")
                 .arg(m_baudRate)
                 .arg(m_number)
                 .arg(m_path, m_port.errorString()));
}

void QtSerialPort::close() {
    m_vanished = false;
    m_port.close();
}

void QtSerialPort::requireOpen() {
    if (m_vanished) {
        closeVanished();
        fail(QStringLiteral("The device on port %1 has gone away").arg(m_number));
    }
    if (!m_port.isOpen())
        fail(QStringLiteral("Port %1 is not open").arg(m_number));
}

void QtSerialPort::flushInput() {
    requireOpen();
    m_port.clear(QSerialPort::Input);
    m_port.readAll(); // whatever the port had already taken into its buffer
}

void QtSerialPort::write(const QByteArray &text) {
    requireOpen();
    if (text.isEmpty())
        return;
    if (m_port.write(text) != text.size())
        fail(QStringLiteral("Cannot write to port %1 (%2): %3")
                 .arg(m_number)
                 .arg(m_path, m_port.errorString()));
    m_port.flush();
    requireOpen(); // the device may have vanished during the write
}

QByteArray QtSerialPort::read() {
    requireOpen();
    return m_readLength > 0 ? m_port.read(m_readLength) : m_port.readAll();
}

void QtSerialPort::deviceFailed(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (!m_port.isOpen() || m_vanished)
        return;
    // A vanished device keeps reporting the same error at full speed while the port stays
    // open. The port is closed once the signal has returned, not inside it.
    m_vanished = true;
    QMetaObject::invokeMethod(
        &m_port, [this] { closeVanished(); }, Qt::QueuedConnection);
}

void QtSerialPort::closeVanished() {
    if (m_vanished && m_port.isOpen())
        m_port.close();
}

} // namespace platform
