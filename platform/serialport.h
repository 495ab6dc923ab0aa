#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace platform {

// A failing serial-port operation: a port number the system does not have, a port held
// elsewhere, a device that vanished. Callers decide whether it abandons a port, ends a
// command silently or reaches the window's one error report.
class PortError : public std::runtime_error {
public:
    enum class Cause {
        Other,
        // The system refused to open the device for lack of permission: worth telling the
        // user how to get it.
        PermissionDenied,
    };

    explicit PortError(const std::string &what, Cause cause = Cause::Other)
        : std::runtime_error(what)
        , m_cause(cause) {}

    Cause cause() const { return m_cause; }
    bool isPermissionDenied() const { return m_cause == Cause::PermissionDenied; }

private:
    Cause m_cause;
};

// The serial port exactly as the programmer commands use it. Every operation but isOpen()
// and portName() may throw PortError.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Port numbers start at 1; which numbers exist is the port table's business.
    virtual void selectPort(int number) = 0;
    // Settings text such as "9600": the baud rate; 8 data bits, no parity, 1 stop bit.
    virtual void applySettings(const QString &settings) = 0;
    // Largest number of characters one read() returns.
    virtual void setReadLength(int length) = 0;
    virtual bool isOpen() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;
    // Throws away every received character not yet read.
    virtual void flushInput() = 0;
    // Sends the text as it stands, nothing added.
    virtual void write(const QByteArray &text) = 0;
    // The received characters not yet read, up to the read length; empty when none waits.
    virtual QByteArray read() = 0;
    // The device path or system name that port `number` stands for ("/dev/ttyUSB0", "COM3"),
    // so that the user can tell which adapter a number means; empty when it names nothing.
    virtual QString portName(int number) = 0;
};

} // namespace platform
