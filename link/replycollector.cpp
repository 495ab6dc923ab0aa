#include "link/replycollector.h"

#include "link/characterwait.h"

namespace proglink {

bool collectAcknowledgement(LinkContext &context, double limitSeconds) {
    static const QByteArray Acknowledgement = "OK\r";
    // Only the first three characters can ever match, so a chatty device cannot make the
    // reply grow without bound.
    QByteArray reply;
    bool spoiled = false;
    double mark = context.clock.now();
    while (const std::optional<char> code = waitForCharacter(context, mark, limitSeconds)) {
        mark = context.clock.now();
        if (spoiled)
            continue;
        reply.append(*code);
        if (reply.toUpper() == Acknowledgement)
            return true;
        spoiled = reply.size() >= Acknowledgement.size();
    }
    return false;
}

} // namespace proglink
