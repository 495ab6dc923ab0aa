#include "link/characterwait.h"

#include <algorithm>

namespace proglink {

namespace {
// Longest single block: an unlimited wait still re-checks keepWaiting at least this often.
constexpr double LongestBlock = 1.0;
} // namespace

std::optional<char> waitForCharacter(LinkContext &context, double mark, double limitSeconds,
                                     const std::function<bool()> &keepWaiting) {
    // Compared as a deadline, so that blocking for exactly the remaining time lands on it.
    const double deadline = mark + limitSeconds;
    for (;;) {
        if (keepWaiting && !keepWaiting())
            return std::nullopt;
        if (context.clock.now() >= deadline)
            return std::nullopt;
        context.loop.yield();
        const QByteArray received = context.port.read();
        if (!received.isEmpty())
            return received.at(0);
        const double remaining = deadline - context.clock.now();
        if (remaining > 0)
            context.loop.waitForEvents(std::min(remaining, LongestBlock));
    }
}

void pauseFor(LinkContext &context, double seconds) {
    const double deadline = context.clock.now() + seconds;
    while (context.clock.now() < deadline)
        context.loop.waitForEvents(deadline - context.clock.now());
}

} // namespace proglink
