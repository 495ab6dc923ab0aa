#pragma once

#include "link/linkcontext.h"

#include <functional>
#include <limits>
#include <optional>

namespace proglink {

// A wait with no inactivity limit (capture mode's listening loop).
inline constexpr double NoLimit = std::numeric_limits<double>::infinity();

// How long a wait that the user may cancel blocks at most before it looks at the request
// again: a cancel then takes effect well within 0.2 s even if nothing wakes the event loop.
inline constexpr double CancelCheckSeconds = 0.1;

// Reads the next received character, one per read. Each turn yields to the event loop and
// then reads; when nothing came it blocks in the event loop until something happens or the
// limit is reached, so waiting never keeps a core busy. Returns nothing once limitSeconds have
// passed since `mark` (an inactivity limit: the caller moves the mark on every character), or
// as soon as keepWaiting, checked at the start of every turn, says no.
// An LF that directly follows an accepted line (context.lineEndMayFollow) is that line's end
// and is dropped here. PortError from the port reaches the caller.
std::optional<char> waitForCharacter(LinkContext &context, double mark, double limitSeconds,
                                     const std::function<bool()> &keepWaiting = {});

// The same wait in a command that the user may cancel: it also returns nothing once the
// context's cancellation is requested.
std::optional<char> waitForCharacterOrCancel(LinkContext &context, double mark,
                                             double limitSeconds);

// Whether the user has asked the running command to stop.
inline bool isCancelled(const LinkContext &context) {
    return context.cancellation && context.cancellation->isRequested();
}

// Lets at least `seconds` pass while the window keeps running its events.
void pauseFor(LinkContext &context, double seconds);

// Characters of the protocol.
inline constexpr char CarriageReturn = '\r';
inline constexpr char LineFeed = '\n';

} // namespace proglink
