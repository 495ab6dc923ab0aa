#pragma once

#include "cli/consoledialogs.h"
#include "cli/consoleview.h"
#include "link/device.h"
#include "link/loggingserialport.h"
#include "link/programmerlink.h"
#include "platform/qt/qteventloop.h"
#include "platform/qt/qtserialport.h"
#include "platform/qt/steadyclock.h"

#include <optional>

namespace cli {

// The programmer as one command of remletctl uses it: the real serial port, clock and event
// loop, the console's boxes and view, and the port number it was found on.
class ProgrammerSession {
public:
    // With a traffic log, every character that goes over the line is recorded in it.
    ProgrammerSession(ConsoleView &view, ConsoleDialogs &dialogs,
                      proglink::TrafficLog *log = nullptr);

    // Finds the programmer: on the device `portPath` when one is given (it must exist), else
    // by searching the ports as the window does. A given device is asked who it is only when
    // `identify` says so. Throws Failure.
    void connect(const QString &portPath, bool identify = false);
    // Tells the programmer the memory size of the device: 340 or 85 slots. Throws Failure
    // when it does not acknowledge.
    void applySize(proglink::Device device, int slotCount);

    int port() const { return m_link.port(); }
    const proglink::DiscoveryResult &found() const { return m_found; }
    QString devicePath() { return m_serial.portName(m_link.port()); }

    proglink::ProgrammerLink &link() { return m_link; }
    ConsoleView &view() { return m_view; }
    // Throws the failure the link has just shown, or `fallback` when it showed none.
    [[noreturn]] void fail(const QString &fallback);

private:
    platform::SerialPort &line(proglink::TrafficLog *log);

    platform::QtSerialPort m_serial;
    std::optional<proglink::LoggingSerialPort> m_logged;
    platform::SteadyClock m_clock;
    platform::QtEventLoop m_loop;
    ConsoleView &m_view;
    ConsoleDialogs &m_dialogs;
    proglink::ProgrammerLink m_link;
    proglink::DiscoveryResult m_found;
};

} // namespace cli
