#pragma once

#include "platform/serialport.h"

#include <QList>
#include <functional>
#include <map>

namespace platform {

// The far end of a fake serial line: a scripted device in a unit test, or the simulated
// programmer's device model in-process.
class FakeSerialDevice {
public:
    // Sends characters to the PC; they are dropped once the PC has closed the port.
    using Deliver = std::function<void(const QByteArray &)>;

    virtual ~FakeSerialDevice() = default;
    virtual void opened(Deliver deliver) = 0;
    virtual void closed() {}
    virtual void received(const QByteArray &bytes) = 0;
};

// A serial port whose port table the test sets up: numbers that exist (with or without a
// device), numbers held elsewhere, a device that hangs up. Records every operation.
class FakeSerialPort : public SerialPort {
public:
    struct Operation {
        enum Kind { Select, Settings, ReadLength, Open, Close, Flush, Write };
        Kind kind;
        int port;
        QByteArray data;
    };

    // Port `number` exists; `device` (may be null: nothing answers) sits at its other end.
    void addPort(int number, FakeSerialDevice *device = nullptr);
    // Port `number` exists but another program holds it: open() fails.
    void holdElsewhere(int number);
    // Port `number` exists but the system refuses to open it for lack of permission.
    void refusePermission(int number);
    // Port `number` opens, but every write on it fails and the port stays open.
    void failWrites(int number);
    // The device on the open port vanishes: the port closes itself and later operations on
    // it fail, as a USB adapter pulled out.
    void hangUp();
    // The PC receives characters on the open port (dropped when it is closed).
    void deliver(int number, const QByteArray &bytes);

    void selectPort(int number) override;
    void applySettings(const QString &settings) override;
    void setReadLength(int length) override;
    bool isOpen() const override { return m_open; }
    void open() override;
    void close() override;
    void flushInput() override;
    void write(const QByteArray &text) override;
    QByteArray read() override;
    // "COMn" for a port that exists; empty otherwise.
    QString portName(int number) override;

    QString settings() const { return m_settings; }
    const QList<Operation> &operations() const { return m_operations; }
    // Every write() on any port, in order, one entry per call.
    QList<QByteArray> writes() const;
    // Port numbers on which open() succeeded, in order.
    QList<int> openedPorts() const;
    int pendingInput() const { return int(m_input.size()); }
    void clearLog() { m_operations.clear(); }

private:
    struct PortEntry {
        FakeSerialDevice *device = nullptr;
        bool heldElsewhere = false;
        bool permissionRefused = false;
        bool writesFail = false;
        bool vanished = false;
    };
    PortEntry *selectedEntry();
    void requireOpen(const char *operation);
    void log(Operation::Kind kind, const QByteArray &data = {});

    std::map<int, PortEntry> m_ports;
    int m_selected = 0;
    bool m_open = false;
    QString m_settings;
    int m_readLength = 0;
    QByteArray m_input;
    QList<Operation> m_operations;
};

} // namespace platform
