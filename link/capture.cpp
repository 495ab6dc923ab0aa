#include "link/capture.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"

#include <algorithm>

namespace proglink {

namespace {

constexpr double SettlingTime = 0.01;
constexpr double SwitchOffLimit = 2;
// A device that drips characters without a CR must not hold the switch-off for hours.
constexpr double SwitchOffOverallLimit = 30;

// A line that does not fit the reply buffer: the mode ends as on a port failure.
struct LineTooLong {};

void sendCommand(platform::SerialPort &serial, char letter) {
    serial.write(QByteArray(1, letter));
    serial.write(QByteArray(1, CarriageReturn));
}

// Receives one line into the buffer from position 1. Returns the line's length (CR included)
// once its CR has come, or 0 when the wait ended first: after limitSeconds of silence, or
// overallSeconds after it began.
int receiveLine(LinkContext &context, ReplyBuffer &buffer, double limitSeconds,
                const std::function<bool()> &keepWaiting = {}, double overallSeconds = NoLimit) {
    int count = 0;
    double mark = context.clock.now();
    const double deadline = mark + overallSeconds;
    while (const std::optional<char> code = waitForCharacter(
               context, mark, std::min(limitSeconds, deadline - mark), keepWaiting)) {
        if (count == ReplyBuffer::Size)
            throw LineTooLong{};
        buffer.store(++count, *code);
        if (*code == CarriageReturn)
            return count;
        mark = context.clock.now();
    }
    return 0;
}

} // namespace

CaptureEnd InternalReceiverCapture::run(LinkContext &context, ProgrammerView &view, int port,
                                        ReplyBuffer &buffer) {
    if (m_running)
        return CaptureEnd::Refused;
    m_running = true;
    const CaptureEnd end = runOnPort(context, view, port, buffer);
    closeQuietly(context.port);
    m_running = false;
    return end;
}

CaptureEnd InternalReceiverCapture::runOnPort(LinkContext &context, ProgrammerView &view, int port,
                                              ReplyBuffer &buffer) {
    try {
        preparePort(context.port, port);
    } catch (const platform::PortError &) {
        view.setStatusText(QStringLiteral("Communications Error"));
        return CaptureEnd::NotOpened;
    }
    try {
        listenAndSwitchOff(context, view, buffer);
        return CaptureEnd::Stopped;
    } catch (const platform::PortError &) {
    } catch (const LineTooLong &) {
    }
    view.setStatusText(QStringLiteral("Communications Error"));
    // A failure after the user's stop changes nothing for the commands: they are back.
    if (EnableRX != 1)
        return CaptureEnd::Stopped;
    EnableRX = 0; // nobody listens any more, as after Disable
    return CaptureEnd::Lost;
}

void InternalReceiverCapture::listenAndSwitchOff(LinkContext &context, ProgrammerView &view,
                                                 ReplyBuffer &buffer) {
    EnableRX = 1;
    pauseFor(context, SettlingTime);
    context.loop.yield();
    sendCommand(context.port, 'R');

    const auto listening = [this] { return EnableRX == 1; };
    for (;;) {
        const int length = receiveLine(context, buffer, NoLimit, listening);
        view.setReplyText(QString());
        // A line completed in the same turn as the user's stop is dropped.
        if (EnableRX != 1)
            break;
        if (length > 0) {
            view.setReplyText(buffer.text(1, length - 1));
            view.setStatusText(QStringLiteral("Communications OK"));
        }
    }

    sendCommand(context.port, 'Q');
    const bool answered =
        receiveLine(context, buffer, SwitchOffLimit, {}, SwitchOffOverallLimit) > 0;
    context.lineEndMayFollow = answered;
    view.setStatusText(answered ? QStringLiteral("Communications OK")
                                : QStringLiteral("Communications Error"));
}

} // namespace proglink
