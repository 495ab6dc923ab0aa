#include "cli/programmersession.h"

#include "cli/failure.h"
#include "platform/qt/portnames.h"

#include <QFileInfo>

namespace cli {

ProgrammerSession::ProgrammerSession(ConsoleView &view, ConsoleDialogs &dialogs,
                                     proglink::TrafficLog *log)
    : m_view(view)
    , m_dialogs(dialogs)
    , m_link({line(log), m_clock, m_loop, m_dialogs}, m_view) {}

platform::SerialPort &ProgrammerSession::line(proglink::TrafficLog *log) {
    if (!log)
        return m_serial;
    return m_logged.emplace(m_serial, *log);
}

void ProgrammerSession::connect(const QString &portPath, bool identify) {
    if (!portPath.isEmpty()) {
        // Port 1 is then the one device there is; a search finds it or nothing.
        if (!platform::PortTable::isPresent(portPath))
            throw Failure(QStringLiteral("%1: no such serial device").arg(portPath));
        // The serial port takes a bare name for one under /dev.
        m_serial.setFixedPaths({QFileInfo(portPath).absoluteFilePath()});
        if (!identify) {
            m_link.usePort(1);
            return;
        }
    }
    m_found = m_link.discover();
    if (!m_found.found) {
        const QString why = m_view.portText();
        throw Failure(why.isEmpty() ? QStringLiteral("Cannot Find Remlet Manager")
                                    : QStringLiteral("Cannot Find Remlet Manager (%1)").arg(why));
    }
}

void ProgrammerSession::applySize(proglink::Device device, int slotCount) {
    using enum proglink::MemorySize;
    const bool small = slotCount == 85;
    const proglink::MemorySize size = device == proglink::Device::Receiver
                                          ? (small ? Receiver85 : Receiver340)
                                          : (small ? Tag85 : Tag340);
    m_dialogs.takeFailure();
    // A port that cannot be used ends the size command silently; the next step meets the
    // same port and says why.
    m_link.applySize(size);
    if (const QString failure = m_dialogs.takeFailure(); !failure.isEmpty())
        throw Failure(failure);
}

void ProgrammerSession::fail(const QString &fallback) {
    const QString failure = m_dialogs.takeFailure();
    throw Failure(failure.isEmpty() ? fallback : failure);
}

} // namespace cli
