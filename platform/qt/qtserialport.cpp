#include "platform/qt/qtserialport.h"

#include <QFile>
#include <QMetaObject>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace platform {

namespace {

// Far more than a healthy programmer sends before it is read (a whole memory is about 6 KB),
// yet a device that floods the line cannot make the program hold more than this: once the
// buffer is full the port stops taking characters until some are read.
constexpr qint64 ReadBufferBytes = qint64(256) * 1024;

// QSerialPort reports a lock held by another program as a permission error too; only a device
// file the user may not read and write is a permission problem the user can fix.
bool lacksPermission(const QString &path) {
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0 && errno == EACCES;
#else
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace

QtSerialPort::QtSerialPort() {
    m_port.setReadBufferSize(ReadBufferBytes);
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { deviceFailed(error); });
}

QtSerialPort::~QtSerialPort() {
    m_port.close();
}

void QtSerialPort::fail(const QString &what, PortError::Cause cause) const {
    throw PortError(what.toStdString(), cause);
}

QString QtSerialPort::numberAndPath(int number, const QString &path) {
    return path.isEmpty() ? QString::number(number)
                          : QStringLiteral("%1 (%2)").arg(number).arg(path);
}

QString QtSerialPort::portName(int number) {
    return m_table.listedPath(number);
}

void QtSerialPort::selectPort(int number) {
    if (isOpen() && number == m_number)
        return;
    if (isOpen())
        fail(QStringLiteral("Cannot select port %1 while port %2 is open")
                 .arg(number)
                 .arg(numberAndPath(m_number, m_path)));
    const QString path = m_table.listedPath(number);
    if (!PortTable::isPresent(path))
        fail(QStringLiteral("Port %1 does not exist").arg(numberAndPath(number, path)));
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
                 .arg(m_path, m_port.errorString()),
             m_port.error() == QSerialPort::PermissionError && lacksPermission(m_path)
                 ? PortError::Cause::PermissionDenied
                 : PortError::Cause::Other);
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
        fail(QStringLiteral("The device on port %1 has gone away")
                 .arg(numberAndPath(m_number, m_path)));
    }
    if (!m_port.isOpen())
        fail(QStringLiteral("Port %1 is not open").arg(numberAndPath(m_number, m_path)));
}

void QtSerialPort::flushInput() {
    requireOpen();
    // Empties the port's own buffer and the driver's in one step; nothing is copied, so even
    // a full buffer under a flood costs nothing.
    m_port.clear(QSerialPort::Input);
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
