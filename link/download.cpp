#include "link/download.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"
#include "link/slotlines.h"

#include <algorithm>

namespace proglink {

namespace {

constexpr double ReplyLimit = 2;
constexpr int ProgressEnd = 340;
// The reply size the progress bar is scaled to, and the part of the buffer blanked first.
constexpr int ExpectedReplySize = 11000;

enum class Reception { Received, Overflow };

// Collects the reply until it has been silent for the limit. Returns Overflow when more than
// the buffer holds arrives. PortError reaches the caller.
Reception receiveReply(LinkContext &context, ProgrammerView &view, ReplyBuffer &buffer,
                       int &count) {
    count = 0;
    double mark = context.clock.now();
    while (const std::optional<char> code = waitForCharacter(context, mark, ReplyLimit)) {
        if (count == ReplyBuffer::Size)
            return Reception::Overflow;
        buffer.store(++count, *code);
        mark = context.clock.now();
        view.setProgress(
            std::min(ProgressEnd, int(double(count) / ExpectedReplySize * ProgressEnd) + 1));
    }
    return Reception::Received;
}

DownloadOutcome fail(LinkContext &context, ProgrammerView &view) {
    context.dialogs.message(QStringLiteral("Communications error with reciever, please try again"),
                            ApplicationTitle, platform::MessageIcon::Critical);
    view.hideProgress();
    return DownloadOutcome::Failed;
}

} // namespace

DownloadOutcome downloadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                               ReplyBuffer &buffer, userdb::RecordStore &store) {
    view.showProgress(1, ProgressEnd);
    try {
        openPort(context.port, port);
        buffer.fill(1, ExpectedReplySize, ' ');
        context.port.flushInput();
        context.port.read(); // whatever slipped in after the flush
    } catch (const platform::PortError &) {
        view.hideProgress();
        throw;
    }

    int count = 0;
    Reception reception = Reception::Received;
    try {
        context.port.write(device == Device::Receiver ? "D" : "C");
        context.port.write(QByteArray(1, CarriageReturn));
        reception = receiveReply(context, view, buffer, count);
    } catch (const platform::PortError &) {
        // The device went away in the middle of its reply: what came is incomplete.
        closeQuietly(context.port);
        return fail(context, view);
    }
    closeQuietly(context.port);
    if (reception == Reception::Overflow)
        return fail(context, view);
    view.setProgress(ProgressEnd);

    if (storeSlotLines(buffer, count, store) == SlotLinesOutcome::ReadError)
        return fail(context, view);
    return DownloadOutcome::Complete;
}

} // namespace proglink
