#include "link/discovery.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"

#include <algorithm>

namespace proglink {

namespace {

constexpr int FirstPort = 1;
constexpr int LastPort = 255;
constexpr double SettlingTime = 0.01;
constexpr double IdentifyLimit = 1;
// A device that keeps sending without ever finishing a line must not hold up the scan.
constexpr double ProbeLimit = 3;
const QString IdentificationPrefix = QStringLiteral("ZEPRO V");

bool isIdentification(const ReplyBuffer &buffer, int count) {
    return buffer.at(count) == CarriageReturn &&
           buffer.text(1, std::min(count, int(IdentificationPrefix.size())))
                   .compare(IdentificationPrefix, Qt::CaseInsensitive) == 0;
}

// Asks the port's device who it is. Returns the length of the identification line (CR
// included) in the buffer, or 0 when the reply does not qualify. A device that never stops
// sending is cut off when the buffer is full or the probe has lasted its overall limit.
int identify(LinkContext &context, int port, ReplyBuffer &buffer) {
    platform::SerialPort &serial = context.port;
    preparePort(serial, port);

    pauseFor(context, SettlingTime);
    context.loop.yield();

    serial.write("P");
    serial.write(QByteArray(1, CarriageReturn));

    int count = 0;
    double mark = context.clock.now();
    const double deadline = mark + ProbeLimit;
    while (count < ReplyBuffer::Size) {
        const std::optional<char> code =
            waitForCharacter(context, mark, std::min(IdentifyLimit, deadline - mark));
        if (!code)
            break;
        buffer.store(++count, *code);
        mark = context.clock.now();
        if (isIdentification(buffer, count)) {
            context.lineEndMayFollow = true; // a CR LF device's LF is no part of what follows
            return count;
        }
    }
    return 0;
}

QString foundPortText(platform::SerialPort &serial, int port) {
    const QString name = serial.portName(port);
    return name.isEmpty() ? QStringLiteral("Port %1").arg(port)
                          : QStringLiteral("Port %1: %2").arg(port).arg(name);
}

QString permissionText(const QString &name) {
    return QStringLiteral("No permission to open %1: add your user to the dialout group").arg(name);
}

} // namespace

DiscoveryResult discoverProgrammer(LinkContext &context, ProgrammerView &view,
                                   ReplyBuffer &buffer) {
    view.setStatusText(QStringLiteral("Searching for Remlet Manager"));
    // The first port the system would not let us open: if nothing answers, that is most likely
    // where the programmer is.
    QString deniedPort;
    for (int port = FirstPort; port <= LastPort; ++port) {
        // An open port belongs to another command (capture mode, say): leave it alone.
        if (context.port.isOpen())
            continue;
        try {
            const int length = identify(context, port, buffer);
            if (length > 0) {
                const QString line = buffer.text(1, length - 1);
                view.setReplyText(line);
                view.setStatusText(QStringLiteral("Found Remlet Manager on Port %1").arg(port));
                view.setPortText(foundPortText(context.port, port));
                closeQuietly(context.port);
                return {true, port, line};
            }
            context.port.close();
        } catch (const platform::PortError &error) {
            if (error.isPermissionDenied() && deniedPort.isEmpty())
                deniedPort = context.port.portName(port);
            // This number is abandoned. The port was closed when the number came up, so if
            // it is open now this attempt opened it: left open, it would make the scan skip
            // every later number and block every later command on another port.
            closeQuietly(context.port);
        }
    }
    view.setStatusText(QStringLiteral("Cannot Find Remlet Manager"));
    view.setPortText(deniedPort.isEmpty() ? QString() : permissionText(deniedPort));
    return {};
}

} // namespace proglink
