#pragma once

#include "link/linkcontext.h"

namespace proglink {

// Overall limit of an acknowledgement wait, counted from the command: a device that drips a
// character just within every inactivity limit must not hold a command for hours.
inline constexpr double AcknowledgementOverallLimit = 30;

// How long to wait for "OK" CR after a command.
struct AcknowledgementWait {
    double inactivityLimit;                            // from the command and every character
    double overallLimit = AcknowledgementOverallLimit; // from the command
    bool cancellable = false;                          // the user may stop it (Program)
};

enum class AcknowledgementOutcome { Acknowledged, NotAcknowledged, Cancelled };

// Waits for the acknowledgement "OK" CR (any letter case), counting the limits from now.
// Anything else before it spoils the reply for the rest of the wait; after as many characters
// as the reply buffer holds the wait ends as a failure. Characters after the CR stay in the
// port; an LF right after it is taken as that line's end by the next wait. PortError reaches
// the caller.
AcknowledgementOutcome collectAcknowledgement(LinkContext &context,
                                              const AcknowledgementWait &wait);

} // namespace proglink
