#pragma once

#include "link/linkcontext.h"
#include "link/replycollector.h"

namespace proglink {

// One one-letter command with its limits and the two messages it can end with.
struct ExchangeCommand {
    char letter;
    double limit; // inactivity limit
    QString successMessage;
    QString failureMessage;
    double overallLimit = AcknowledgementOverallLimit;
};

// Prepares port `port`, sends the letter and CR, waits for the acknowledgement, shows the
// success or failure message and closes the port. The wait ends at the inactivity limit or
// at the overall limit, whichever comes first. Returns whether the programmer acknowledged.
// A PortError while preparing the port reaches the caller; once the command has gone out, a
// vanished device counts as no acknowledgement.
bool runStandardExchange(LinkContext &context, int port, const ExchangeCommand &command);

} // namespace proglink
