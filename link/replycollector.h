#pragma once

#include "link/linkcontext.h"

namespace proglink {

// Waits for the acknowledgement "OK" CR (any letter case) with an inactivity limit counted
// from now and from every character received. Anything else before it spoils the reply for
// the rest of the wait; after as many characters as the reply buffer holds the wait ends as a
// failure. Characters after the CR stay in the port. PortError reaches the caller.
bool collectAcknowledgement(LinkContext &context, double limitSeconds);

} // namespace proglink
