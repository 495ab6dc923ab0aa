#pragma once

#include "cli/commandline.h"

#include <cstdio>

namespace cli {

class ProgrammerSession;

// remletctl enrol: switches the programmer's receiver on and puts each new fob presented to it
// into the next free slot of the database file, saving the file after each one. Prints
// "slot<TAB>serial" to `out` per fob enrolled and a line to `err` per fob the file holds
// already. Keeps the file as it was as NAME.old.fxd. Ends after request.count fobs, on SIGINT or
// SIGTERM (the receiver is switched off and the port closed first), or when no slot is free.
// Failures are thrown as Failure.
int enrolFobs(const Request &request, ProgrammerSession &session, std::FILE *out, std::FILE *err);

} // namespace cli
