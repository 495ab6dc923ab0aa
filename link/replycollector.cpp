#include "link/replycollector.h"

#include "link/characterwait.h"
#include "link/replybuffer.h"

#include <algorithm>

namespace proglink {

AcknowledgementOutcome collectAcknowledgement(LinkContext &context,
                                              const AcknowledgementWait &wait) {
    static const QByteArray Acknowledgement = "OK\r";
    // Only the first three characters can ever match, so a chatty device cannot make the
    // reply grow without bound.
    QByteArray reply;
    bool spoiled = false;
    int received = 0;
    double mark = context.clock.now();
    const double deadline = mark + wait.overallLimit;
    for (;;) {
        const double limit = std::min(wait.inactivityLimit, deadline - mark);
        const std::optional<char> code = wait.cancellable
                                             ? waitForCharacterOrCancel(context, mark, limit)
                                             : waitForCharacter(context, mark, limit);
        if (!code)
            break;
        mark = context.clock.now();
        if (!spoiled) {
            reply.append(*code);
            if (reply.toUpper() == Acknowledgement) {
                context.lineEndMayFollow = true;
                return AcknowledgementOutcome::Acknowledged;
            }
            spoiled = reply.size() >= Acknowledgement.size();
        }
        // A device that never falls silent would keep the wait going for ever: once it has
        // sent as much as the reply buffer holds, the command has failed.
        if (++received == ReplyBuffer::Size)
            return AcknowledgementOutcome::NotAcknowledged;
    }
    return wait.cancellable && isCancelled(context) ? AcknowledgementOutcome::Cancelled
                                                    : AcknowledgementOutcome::NotAcknowledged;
}

} // namespace proglink
