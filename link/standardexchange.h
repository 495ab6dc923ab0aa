#pragma once

#include "link/linkcontext.h"

namespace proglink {

// One one-letter command with its inactivity limit and the two messages it can end with.
struct ExchangeCommand {
    char letter;
    double limit;
    QString successMessage;
    QString failureMessage;
};

// Prepares port `port`, sends the letter and CR, waits for the acknowledgement, shows the
// success or failure message and closes the port. Returns whether the programmer acknowledged.
// A PortError while preparing the port reaches the caller; once the command has gone out, a
// vanished device counts as no acknowledgement.
bool runStandardExchange(LinkContext &context, int port, const ExchangeCommand &command);

} // namespace proglink
