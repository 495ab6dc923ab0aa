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
const QString IdentificationPrefix = QStringLiteral("ZEPRO V");

bool isIdentification(const ReplyBuffer &buffer, int count) {
    return buffer.at(count) == CarriageReturn &&
           buffer.text(1, std::min(count, int(IdentificationPrefix.size())))
                   .compare(IdentificationPrefix, Qt::CaseInsensitive) == 0;
}

// Asks the port's device who it is. Returns the length of the identification line (CR
// included) in the buffer, or 0 when the reply does not qualify. A device that never stops
// sending is cut off when the buffer is full.
int identify(LinkContext &context, int port, ReplyBuffer &buffer) {
    platform::SerialPort &serial = context.port;
    preparePort(serial, port);

    pauseFor(context, SettlingTime);
    context.loop.yield();

    serial.write("P");
    serial.write(QByteArray(1, CarriageReturn));

    int count = 0;
    double mark = context.clock.now();
    while (count < ReplyBuffer::Size) {
        const std::optional<char> code = waitForCharacter(context, mark, IdentifyLimit);
        if (!code)
            break;
        buffer.store(++count, *code);
        mark = context.clock.now();
        if (isIdentification(buffer, count))
            return count;
    }
    return 0;
}

} // namespace

DiscoveryResult discoverProgrammer(LinkContext &context, ProgrammerView &view,
                                   ReplyBuffer &buffer) {
    view.setStatusText(QStringLiteral("Searching for Remlet Manager"));
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
                closeQuietly(context.port);
                return {true, port, line};
            }
            context.port.close();
        } catch (const platform::PortError &) {
            // This number is abandoned. The port was closed when the number came up, so if
            // it is open now this attempt opened it: left open, it would make the scan skip
            // every later number and block every later command on another port.
            closeQuietly(context.port);
        }
    }
    view.setStatusText(QStringLiteral("Cannot Find Remlet Manager"));
    return {};
}

} // namespace proglink
