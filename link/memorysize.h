#pragma once

#include "link/linkcontext.h"

namespace proglink {

enum class MemorySize { Receiver340, Receiver85, Tag340, Tag85 };

// Tells the programmer on `port` the memory size of the receiver or the tag, with its message
// box. Port 0 (no programmer found yet) sends nothing. A failing port operation ends the
// command silently.
void runMemorySizeCommand(LinkContext &context, int port, MemorySize size);

} // namespace proglink
