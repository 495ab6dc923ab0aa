#pragma once

#include "platform/qt/portnames.h"
#include "platform/serialport.h"

#include <QSerialPort>

namespace platform {

// The serial port on the system's serial devices. It sets no modem-control line and no flow
// control: the programmer needs none, and a pseudo-terminal refuses them.
//
// Received characters reach the port's buffer while the event loop runs; read() takes them
// from there without waiting. The buffer is bounded, so a device that floods the line cannot
// make it grow without end.
class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void selectPort(int number) override;
    void applySettings(const QString &settings) override;
    void setReadLength(int length) override;
    bool isOpen() const override;
    void open() override;
    void close() override;
    void flushInput() override;
    void write(const QByteArray &text) override;
    QByteArray read() override;
    // The path that port `number` stands for, present or not ("COMn" on Windows).
    QString portName(int number) override;

    // Port n is the n-th of `paths` from now on (PortTable::setFixedPaths).
    void setFixedPaths(const QStringList &paths) { m_table.setFixedPaths(paths); }
    // The device the user chose (PortTable::setPinnedPath); empty: back to the scan.
    void setPinnedPath(const QString &path) { m_table.setPinnedPath(path); }
    QString pinnedPath() const { return m_table.pinnedPath(); }

    // The device path of the selected port; empty before a port is selected.
    QString devicePath() const { return m_path; }

private:
    void deviceFailed(QSerialPort::SerialPortError error);
    void closeVanished();
    void requireOpen();
    void applyLineParameters();
    [[noreturn]] void fail(const QString &what,
                           PortError::Cause cause = PortError::Cause::Other) const;
    // "1 (/dev/ttyUSB0)", or "1" when the number stands for no path.
    static QString numberAndPath(int number, const QString &path);

    QSerialPort m_port;
    PortTable m_table;
    int m_number = 0;
    QString m_path;
    qint32 m_baudRate = 9600;
    qint64 m_readLength = 0; // 0: everything that waits
    bool m_vanished = false;
};

} // namespace platform
