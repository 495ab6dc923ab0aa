#pragma once

#include "link/linkcontext.h"

#include <functional>
#include <limits>
#include <optional>

namespace proglink {

// A wait with no inactivity limit (capture mode's listening loop).
inline constexpr double NoLimit = std::numeric_limits<double>::infinity();

// Reads the next received character, one per read. Each turn yields to the event loop and
// then reads; when nothing came it blocks in the event loop until something happens or the
// limit is reached, so waiting never keeps a core busy. Returns nothing once limitSeconds have
// passed since `mark` (an inactivity limit: the caller moves the mark on every character), or
// as soon as keepWaiting, checked at the start of every turn, says no.
// PortError from the port reaches the caller.
std::optional<char> waitForCharacter(LinkContext &context, double mark, double limitSeconds,
                                     const std::function<bool()> &keepWaiting = {});

// Lets at least `seconds` pass while the window keeps running its events.
void pauseFor(LinkContext &context, double seconds);

// Characters of the protocol.
inline constexpr char CarriageReturn = '\r';

} // namespace proglink
