#include "link/characterwait.h"

#include <algorithm>
#include <utility>

namespace proglink {

namespace {

// Longest single block: an unlimited wait still re-checks keepWaiting at least this often.
constexpr double LongestBlock = 1.0;

std::optional<char> waitFor(LinkContext &context, double mark, double limitSeconds,
                            const std::function<bool()> &keepWaiting, double longestBlock) {
    // Compared as a deadline, so that blocking for exactly the remaining time lands on it.
    const double deadline = mark + limitSeconds;
    for (;;) {
        if (keepWaiting && !keepWaiting())
            return std::nullopt;
        if (context.clock.now() >= deadline)
            return std::nullopt;
        context.loop.yield();
        const QByteArray received = context.port.read();
        if (!received.isEmpty()) {
            const char code = received.at(0);
            if (std::exchange(context.lineEndMayFollow, false) && code == LineFeed)
                continue; // the end of the line accepted before: nothing of this reply
            return code;
        }
        const double remaining = deadline - context.clock.now();
        if (remaining > 0)
            context.loop.waitForEvents(std::min(remaining, longestBlock));
    }
}

} // namespace

std::optional<char> waitForCharacter(LinkContext &context, double mark, double limitSeconds,
                                     const std::function<bool()> &keepWaiting) {
    return waitFor(context, mark, limitSeconds, keepWaiting, LongestBlock);
}

std::optional<char> waitForCharacterOrCancel(LinkContext &context, double mark,
                                             double limitSeconds) {
    if (!context.cancellation)
        return waitFor(context, mark, limitSeconds, {}, LongestBlock);
    return waitFor(
        context, mark, limitSeconds, [&context] { return !isCancelled(context); },
        CancelCheckSeconds);
}

void pauseFor(LinkContext &context, double seconds) {
    const double deadline = context.clock.now() + seconds;
    while (context.clock.now() < deadline)
        context.loop.waitForEvents(deadline - context.clock.now());
}

} // namespace proglink
