#pragma once

#include "link/linkcontext.h"
#include "link/replybuffer.h"

namespace proglink {

struct DiscoveryResult {
    bool found = false;
    int port = 0;
    QString identification; // the identification line without its CR
};

// Tries port numbers 1 to 255 in turn with the identify command and takes the first whose
// reply is a line beginning "ZEPRO V". Reports progress and outcome in the status text and
// shows the identification line in the reply label. Leaves the port closed.
DiscoveryResult discoverProgrammer(LinkContext &context, ProgrammerView &view, ReplyBuffer &buffer);

} // namespace proglink
