#include "platform/fakes/fakeserialport.h"

namespace platform {

void FakeSerialPort::addPort(int number, FakeSerialDevice *device) {
    m_ports[number] = PortEntry{device};
}

void FakeSerialPort::holdElsewhere(int number) {
    m_ports[number].heldElsewhere = true;
}

void FakeSerialPort::refusePermission(int number) {
    m_ports[number].permissionRefused = true;
}

void FakeSerialPort::failWrites(int number) {
    m_ports[number].writesFail = true;
}

void FakeSerialPort::hangUp() {
    if (PortEntry *entry = selectedEntry())
        entry->vanished = true;
    if (m_open) {
        m_open = false;
        m_input.clear();
    }
}

void FakeSerialPort::deliver(int number, const QByteArray &bytes) {
    if (m_open && number == m_selected)
        m_input.append(bytes);
}

FakeSerialPort::PortEntry *FakeSerialPort::selectedEntry() {
    auto it = m_ports.find(m_selected);
    return it == m_ports.end() ? nullptr : &it->second;
}

void FakeSerialPort::log(Operation::Kind kind, const QByteArray &data) {
    m_operations.append({kind, m_selected, data});
}

void FakeSerialPort::requireOpen(const char *operation) {
    if (!m_open)
        throw PortError(QStringLiteral("Port %1 is not open (%2)")
                            .arg(m_selected)
                            .arg(QLatin1String(operation))
                            .toStdString());
}

void FakeSerialPort::selectPort(int number) {
    if (m_open && number != m_selected)
        throw PortError("Cannot change the port number while the port is open");
    if (number < 1 || number > 255)
        throw PortError(QStringLiteral("Invalid port number %1").arg(number).toStdString());
    m_selected = number;
    log(Operation::Select);
}

void FakeSerialPort::applySettings(const QString &settings) {
    m_settings = settings;
    log(Operation::Settings, settings.toLatin1());
}

void FakeSerialPort::setReadLength(int length) {
    m_readLength = length;
    log(Operation::ReadLength, QByteArray::number(length));
}

void FakeSerialPort::open() {
    if (m_open)
        throw PortError("Port already open");
    PortEntry *entry = selectedEntry();
    if (!entry || entry->vanished)
        throw PortError(QStringLiteral("COM%1 does not exist").arg(m_selected).toStdString());
    if (entry->heldElsewhere)
        throw PortError(QStringLiteral("COM%1 is in use").arg(m_selected).toStdString());
    if (entry->permissionRefused)
        throw PortError(QStringLiteral("No permission to open COM%1").arg(m_selected).toStdString(),
                        PortError::Cause::PermissionDenied);
    m_open = true;
    m_input.clear();
    log(Operation::Open);
    if (entry->device) {
        const int number = m_selected;
        entry->device->opened([this, number](const QByteArray &bytes) { deliver(number, bytes); });
    }
}

void FakeSerialPort::close() {
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    log(Operation::Close);
    if (PortEntry *entry = selectedEntry(); entry && entry->device)
        entry->device->closed();
}

void FakeSerialPort::flushInput() {
    requireOpen("flush");
    m_input.clear();
    log(Operation::Flush);
}

void FakeSerialPort::write(const QByteArray &text) {
    requireOpen("write");
    PortEntry *entry = selectedEntry();
    if (entry && entry->writesFail)
        throw PortError(QStringLiteral("Cannot write to COM%1").arg(m_selected).toStdString());
    log(Operation::Write, text);
    if (entry && entry->device)
        entry->device->received(text);
}

QByteArray FakeSerialPort::read() {
    requireOpen("read");
    const int length = m_readLength > 0 ? m_readLength : int(m_input.size());
    QByteArray chunk = m_input.left(length);
    m_input.remove(0, chunk.size());
    return chunk;
}

QString FakeSerialPort::portName(int number) {
    return m_ports.count(number) ? QStringLiteral("COM%1").arg(number) : QString();
}

QList<QByteArray> FakeSerialPort::writes() const {
    QList<QByteArray> result;
    for (const Operation &op : m_operations)
        if (op.kind == Operation::Write)
            result.append(op.data);
    return result;
}

QList<int> FakeSerialPort::openedPorts() const {
    QList<int> result;
    for (const Operation &op : m_operations)
        if (op.kind == Operation::Open)
            result.append(op.port);
    return result;
}

} // namespace platform
