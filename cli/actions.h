#pragma once

#include "cli/commandline.h"

#include <cstdio>

namespace cli {

class ProgrammerSession;

// Runs the request's command on the programmer and returns the exit status; results go to
// `out`. Failures are thrown as Failure (or platform::PortError).
int runAction(const Request &request, ProgrammerSession &session, std::FILE *out);

} // namespace cli
