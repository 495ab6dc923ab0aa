#include "link/download.h"

#include "link/characterwait.h"
#include "link/portpreparation.h"
#include "link/slotlines.h"

#include <algorithm>

namespace proglink {

namespace {

constexpr double ReplyLimit = 2;
// A whole memory takes under 12 seconds at 9600 baud; a device that drips characters more
// often than the inactivity limit must not keep the read going for hours.
constexpr double OverallLimit = 60;
constexpr int ProgressEnd = 340;
// The reply size the progress bar is scaled to, and the part of the buffer blanked first.
constexpr int ExpectedReplySize = 11000;

enum class Reception { Received, Overflow, Overtime, Cancelled };

// Collects the reply until it has been silent for the inactivity limit. Returns Overflow when
// more than the buffer holds arrives, Overtime when the overall limit, counted from now (the
// command has just gone out), passes first, Cancelled when the user stops it. PortError reaches
// the caller.
Reception receiveReply(LinkContext &context, ProgrammerView &view, ReplyBuffer &buffer,
                       int &count) {
    count = 0;
    double mark = context.clock.now();
    const double deadline = mark + OverallLimit;
    for (;;) {
        const double limit = std::min(ReplyLimit, deadline - mark);
        const std::optional<char> code = waitForCharacterOrCancel(context, mark, limit);
        if (isCancelled(context))
            return Reception::Cancelled;
        if (!code)
            return limit < ReplyLimit ? Reception::Overtime : Reception::Received;
        if (count == ReplyBuffer::Size)
            return Reception::Overflow;
        buffer.store(++count, *code);
        mark = context.clock.now();
        view.setProgress(
            std::min(ProgressEnd, int(double(count) / ExpectedReplySize * ProgressEnd) + 1));
    }
}

QString readSummary(const SlotLinesResult &lines) {
    const int read = lines.slotsRead;
    const int skipped = lines.unreadableLines;
    return QStringLiteral("Read %1 %2; %3 %4 could not be read")
        .arg(read)
        .arg(read == 1 ? QStringLiteral("slot") : QStringLiteral("slots"))
        .arg(skipped)
        .arg(skipped == 1 ? QStringLiteral("line") : QStringLiteral("lines"));
}

QString emptyMemoryText(Device device) {
    return device == Device::Receiver ? QStringLiteral("The receiver holds no slots")
                                      : QStringLiteral("The tag holds no slots");
}

DownloadOutcome fail(LinkContext &context, ProgrammerView &view) {
    context.dialogs.message(QStringLiteral("Communications error with reciever, please try again"),
                            platform::ApplicationTitle, platform::MessageIcon::Critical);
    view.hideProgress();
    return DownloadOutcome::Failed;
}

} // namespace

DownloadOutcome downloadMemory(LinkContext &context, ProgrammerView &view, int port, Device device,
                               ReplyBuffer &buffer, userdb::RecordStore &store) {
    if (isCancelled(context))
        return DownloadOutcome::Cancelled; // nothing has been sent
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
    if (reception == Reception::Cancelled) {
        view.hideProgress();
        return DownloadOutcome::Cancelled;
    }
    if (reception != Reception::Received)
        return fail(context, view);
    view.setProgress(ProgressEnd);

    const SlotLinesResult lines = storeSlotLines(buffer, count, store);
    if (lines.outcome == SlotLinesOutcome::ReadError)
        return fail(context, view);
    if (lines.slotsRead == 0) {
        // An empty memory answers with its "OK" alone; silence or noise is no memory read.
        if (lines.unreadableLines > 0 || !lines.endsWithAcknowledgement)
            return fail(context, view);
        view.setStatusText(emptyMemoryText(device));
        return DownloadOutcome::Complete;
    }
    if (lines.unreadableLines > 0)
        view.setStatusText(readSummary(lines));
    return DownloadOutcome::Complete;
}

} // namespace proglink
