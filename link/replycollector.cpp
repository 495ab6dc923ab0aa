#include "link/replycollector.h"

#include "link/characterwait.h"
#include "link/replybuffer.h"

namespace proglink {

bool collectAcknowledgement(LinkContext &context, double limitSeconds) {
    static const QByteArray Acknowledgement = "OK\r";
    // Only the first three characters can ever match, so a chatty device cannot make the
    // reply grow without bound.
    QByteArray reply;
    bool spoiled = false;
    int received = 0;
    double mark = context.clock.now();
    while (const std::optional<char> code = waitForCharacter(context, mark, limitSeconds)) {
        mark = context.clock.now();
        if (!spoiled) {
            reply.append(*code);
            if (reply.toUpper() == Acknowledgement)
                return true;
            spoiled = reply.size() >= Acknowledgement.size();
        }
        // A device that never falls silent would keep the wait going for ever: once it has
        // sent as much as the reply buffer holds, the command has failed.
        if (++received == ReplyBuffer::Size)
            return false;
    }
    return false;
}

} // namespace proglink
